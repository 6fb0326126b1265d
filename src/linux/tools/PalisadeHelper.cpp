// palisade-helper: the few writes that need root, for a Palisade window that runs as its user.
// pkexec starts it, having asked for an administrator's password:
//
//   palisade-helper start button|reapply    the entries, one a line, on the standard input
//   palisade-helper stop button|close       the same (a stop without a snapshot needs them)
//   palisade-helper autostart on|off
//
// It decides every path itself and trusts nothing of its caller's: not the environment, not a
// link in its data folder. It answers with one line on the standard output (empty on success)
// and its exit status: 0 done, 1 failed (the line says why), 2 a request it does not take, 3 not
// started as root.
#include "app/Form1.h"
#include "app/HostsHelper.h"
#include "blocking/HostsBlocker.h"
#include "blocking/HostsPaths.h"
#include "linux/system/FolderLock.h"
#include "linux/system/HelperPath.h"
#include "linux/system/PosixFileSystem.h"
#include "linux/system/PosixSystemInfo.h"
#include "linux/system/XdgAutostartRegistry.h"
#include "platform/RegStuff.h"
#include "platform/StartUp.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

using namespace palisade;

// The same places the window uses, from the system's fixed folders: nothing the caller's
// environment could point elsewhere.
std::string DataRoot() {
    PosixSystemInfo system;
    return VendorDataFolder(system);
}
std::string DataFolder() {
    PosixSystemInfo system;
    return ProgramDataFolder(system);
}

int Answer(int status, const std::string& line) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
    return status;
}

// The program the autostart entry starts is the window beside this helper, wherever the caller
// says it is.
class HelperSystemInfo : public PosixSystemInfo {
public:
    std::string executablePath() override {
        return ProgramPathFor(PosixSystemInfo::executablePath());
    }
    std::string programFolder() override {
        const std::string path = executablePath();
        return path.substr(0, path.rfind('/'));
    }
    std::string environmentVariable(const std::string&) override { return {}; }
};

class SleepingEventPump : public EventPump {
public:
    void doEvents() override {}
    void waitEvents(std::chrono::milliseconds timeout) override {
        std::this_thread::sleep_for(timeout);
    }
};

// A folder of root's that nobody else may write, so that nobody else can put a link or a file
// in it; made when missing.
bool SafeFolder(const std::string& path) {
    if (::mkdir(path.c_str(), 0755) != 0 && errno != EEXIST)
        return false;
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == 0 &&
           (st.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

// The files the helper reads or writes in the data folder: each a regular file or missing.
std::optional<std::string> OddFileInDataFolder() {
    for (const std::string& name :
         {std::string(SnapshotName), std::string(SnapshotName) + "-journal",
          std::string(StartupMarkerName), std::string(HostsLockFileName)}) {
        const std::string path = DataFolder() + "/" + name;
        struct stat st {};
        if (::lstat(path.c_str(), &st) == 0 ? !S_ISREG(st.st_mode) : errno != ENOENT)
            return path;
    }
    return std::nullopt;
}

std::string FailedText(const HelperRequest& request) {
    switch (request.operation) {
    case HelperRequest::Start:
        return std::string(StartFailedText);
    case HelperRequest::Stop:
        return std::string(RestoreFailedText);
    default:
        return std::string(StartupNotChangedText);
    }
}

} // namespace

int main(int argc, char** argv) {
    // Nothing of the caller's environment reaches what this does as root.
    ::clearenv();
    ::setenv("PATH", "/usr/sbin:/usr/bin:/sbin:/bin", 1);
    ::umask(022);

    if (::geteuid() != 0)
        return Answer(3, "Not authorised: the hosts file is changed only by an administrator, "
                         "through pkexec.");
    const auto request = ParseHelperRequest(std::vector<std::string>(argv + 1, argv + argc));
    if (!request)
        return Answer(2, "Refused: the request must be \"start button|reapply\", \"stop "
                         "button|close\" or \"autostart on|off\".");

    std::vector<std::string> entries;
    if (request->takesEntries()) {
        const auto verdict = ReadHelperEntries(
            [](char* buffer, std::size_t size) -> std::optional<std::size_t> {
                for (;;) {
                    const ssize_t n = ::read(STDIN_FILENO, buffer, size);
                    if (n >= 0)
                        return static_cast<std::size_t>(n);
                    if (errno != EINTR)
                        return std::nullopt;
                }
            },
            entries);
        const std::string failed = FailedText(*request);
        switch (verdict) {
        case EntriesVerdict::Taken:
            break;
        case EntriesVerdict::TooMany:
            return Answer(2, failed + " The list is too long: at most 1,000,000 sites are taken.");
        case EntriesVerdict::TooLarge:
            return Answer(2, failed + " The list is too large: at most 64 MiB are taken.");
        case EntriesVerdict::NotText:
            return Answer(2, failed + " The list holds a line that names no site: a control "
                                      "character, or more than 1,024 bytes.");
        case EntriesVerdict::Unreadable:
            return Answer(2, failed + " The list could not be read.");
        }
    }

    if (!SafeFolder(DataRoot()) || !SafeFolder(DataFolder()))
        return Answer(1, FailedText(*request) + " " + DataFolder() +
                             " is not a folder of root's that only root may write.");
    if (const auto odd = OddFileInDataFolder())
        return Answer(1, FailedText(*request) + " " + *odd +
                             " is not a regular file; nothing was changed.");

    HelperSystemInfo system;
    PosixFileSystem fs;
    SleepingEventPump pump;
    XdgAutostartRegistry registry;
    RegStuff regStuff(registry, system);
    mStartUp autostart(regStuff, system);
    SteadyClock clock;
    FolderLock hostsLock;

    const HelperAnswer answer =
        RunHelperRequest({fs, pump, autostart, system, clock, hostsLock},
                         {LinuxHostsFile(), DataFolder()}, *request, entries);
    return Answer(answer.status, answer.line);
}
