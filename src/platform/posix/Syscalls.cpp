#include "platform/posix/Syscalls.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace palisade {

int Syscalls::open(const char* path, int flags, mode_t mode) {
    return ::open(path, flags | O_CLOEXEC, mode);
}

int Syscalls::close(int fd) {
    return ::close(fd);
}

ssize_t Syscalls::read(int fd, void* buffer, size_t size) {
    return ::read(fd, buffer, size);
}

ssize_t Syscalls::write(int fd, const void* buffer, size_t size) {
    return ::write(fd, buffer, size);
}

int Syscalls::fsync(int fd) {
    return ::fsync(fd);
}

int Syscalls::fstat(int fd, struct stat* st) {
    return ::fstat(fd, st);
}

int Syscalls::fchmod(int fd, mode_t mode) {
    return ::fchmod(fd, mode);
}

int Syscalls::fchown(int fd, uid_t owner, gid_t group) {
    return ::fchown(fd, owner, group);
}

int Syscalls::stat(const char* path, struct stat* st) {
    return ::stat(path, st);
}

int Syscalls::lstat(const char* path, struct stat* st) {
    return ::lstat(path, st);
}

int Syscalls::chmod(const char* path, mode_t mode) {
    return ::chmod(path, mode);
}

int Syscalls::mkdir(const char* path, mode_t mode) {
    return ::mkdir(path, mode);
}

int Syscalls::rename(const char* from, const char* to) {
    return ::rename(from, to);
}

int Syscalls::unlink(const char* path) {
    return ::unlink(path);
}

int Syscalls::mkstemp(char* pathTemplate) {
    return ::mkostemp(pathTemplate, O_CLOEXEC);
}

int Syscalls::ftruncate(int fd, off_t length) {
    return ::ftruncate(fd, length);
}

ssize_t Syscalls::readlink(const char* path, char* buffer, size_t size) {
    return ::readlink(path, buffer, size);
}

Syscalls& realSyscalls() {
    static Syscalls real;
    return real;
}

} // namespace palisade
