#include "linux/system/Syscalls.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/xattr.h>
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

int Syscalls::flock(int fd, int operation) {
    return ::flock(fd, operation);
}

ssize_t Syscalls::listxattr(const char* path, char* list, size_t size) {
    return ::listxattr(path, list, size);
}

ssize_t Syscalls::getxattr(const char* path, const char* name, void* value, size_t size) {
    return ::getxattr(path, name, value, size);
}

int Syscalls::fsetxattr(int fd, const char* name, const void* value, size_t size, int flags) {
    return ::fsetxattr(fd, name, value, size, flags);
}

DIR* Syscalls::opendir(const char* path) {
    return ::opendir(path);
}

struct dirent* Syscalls::readdir(DIR* dir) {
    return ::readdir(dir);
}

int Syscalls::closedir(DIR* dir) {
    return ::closedir(dir);
}

Syscalls& RealSyscalls() {
    static Syscalls real;
    return real;
}

} // namespace palisade
