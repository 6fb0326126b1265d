#pragma once

#include <dirent.h>
#include <sys/stat.h>
#include <sys/types.h>

namespace palisade {

// The system calls the file system layer makes, behind one seam so that tests can make any of
// them fail. Each method behaves like the call of the same name: -1 and errno on failure.
// The defaults make the real calls; a test derives and overrides only what it needs.
class Syscalls {
public:
    virtual ~Syscalls() = default;

    virtual int open(const char* path, int flags, mode_t mode);
    virtual int close(int fd);
    virtual ssize_t read(int fd, void* buffer, size_t size);
    virtual ssize_t write(int fd, const void* buffer, size_t size);
    virtual int fsync(int fd);
    virtual int fstat(int fd, struct stat* st);
    virtual int fchmod(int fd, mode_t mode);
    virtual int fchown(int fd, uid_t owner, gid_t group);
    virtual int stat(const char* path, struct stat* st);
    virtual int lstat(const char* path, struct stat* st);
    virtual int chmod(const char* path, mode_t mode);
    virtual int mkdir(const char* path, mode_t mode);
    virtual int rename(const char* from, const char* to);
    virtual int unlink(const char* path);
    // Creates a new file from a template ending in "XXXXXX", opened read-write with mode 0600.
    virtual int mkstemp(char* pathTemplate);
    virtual int ftruncate(int fd, off_t length);
    virtual ssize_t readlink(const char* path, char* buffer, size_t size);
    virtual int flock(int fd, int operation);
    virtual ssize_t listxattr(const char* path, char* list, size_t size);
    virtual ssize_t getxattr(const char* path, const char* name, void* value, size_t size);
    virtual int fsetxattr(int fd, const char* name, const void* value, size_t size, int flags);
    // Null and errno on failure.
    virtual DIR* opendir(const char* path);
    // Null at the end of the folder.
    virtual struct dirent* readdir(DIR* dir);
    virtual int closedir(DIR* dir);
};

// The real calls, shared by every user of the default.
Syscalls& RealSyscalls();

} // namespace palisade
