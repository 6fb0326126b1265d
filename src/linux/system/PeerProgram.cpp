#include "linux/system/PeerProgram.h"

#include <string>
#include <string_view>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace palisade {

namespace {

// The executable's path as the kernel gives it, without the mark of a file deleted meanwhile.
std::string ExecutablePath(const std::string& link) {
    char buffer[4096];
    const ssize_t n = ::readlink(link.c_str(), buffer, sizeof buffer);
    if (n <= 0 || static_cast<size_t>(n) >= sizeof buffer)
        return {};
    std::string path(buffer, static_cast<size_t>(n));
    constexpr std::string_view Deleted = " (deleted)";
    if (path.size() > Deleted.size() && path.ends_with(Deleted))
        path.resize(path.size() - Deleted.size());
    return path;
}

} // namespace

bool RunsThisProgram(pid_t pid) {
    if (pid <= 0)
        return false;
    const std::string theirs = "/proc/" + std::to_string(pid) + "/exe";
    struct stat other {};
    struct stat own {};
    if (::stat(theirs.c_str(), &other) == 0 && ::stat("/proc/self/exe", &own) == 0 &&
        other.st_dev == own.st_dev && other.st_ino == own.st_ino)
        return true;
    const std::string path = ExecutablePath(theirs);
    return !path.empty() && path == ExecutablePath("/proc/self/exe");
}

bool PeerRunsThisProgram(int socketFd) {
    ucred peer{};
    socklen_t size = sizeof peer;
    if (::getsockopt(socketFd, SOL_SOCKET, SO_PEERCRED, &peer, &size) != 0 || size != sizeof peer)
        return false;
    return peer.uid == 0 || RunsThisProgram(peer.pid);
}

} // namespace palisade
