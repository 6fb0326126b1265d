// remove-block-lines: run by the Debian package's removal to take the program's block lines out
// of /etc/hosts, since once the program is gone nothing would. It takes no arguments; it says on
// the standard error what it did, and ends with 1, changing nothing, when it could not.
#include "blocking/HostsBlocker.h"
#include "blocking/HostsCleanup.h"
#include "blocking/HostsPaths.h"
#include "linux/system/FolderLock.h"
#include "linux/system/PosixFileSystem.h"
#include "linux/system/PosixSystemInfo.h"
#include "platform/FileHelpers.h"

#include <cstdio>
#include <thread>

namespace {

using namespace palisade;

// Waiting for the lock has no window events to run: it only sleeps.
class SleepingEventPump : public EventPump {
public:
    void doEvents() override {}
    void waitEvents(std::chrono::milliseconds timeout) override {
        std::this_thread::sleep_for(timeout);
    }
};

} // namespace

int main() {
    PosixSystemInfo system;
    PosixFileSystem fs;
    FolderLock folderLock;
    SleepingEventPump pump;
    SteadyClock clock;

    // The data folder as the program works it out at start.
    const std::string hostsFile = LinuxHostsFile();
    const std::string dataFolder = ProgramDataFolder(system);
    const std::string snapshot = JoinPath(system, dataFolder, std::string(SnapshotName));

    const CleanupResult result =
        TakeOutBlockLines(fs, folderLock, pump, clock, hostsFile, dataFolder, snapshot);
    switch (result.outcome) {
    case CleanupResult::TakenOut:
        std::fprintf(stderr, "palisade: the blocked sites were taken out of %s\n",
                     hostsFile.c_str());
        return 0;
    case CleanupResult::NothingToTakeOut:
        return 0;
    case CleanupResult::NoSnapshot:
        std::fprintf(
            stderr,
            "palisade: no line was taken out of %s: without the copy that Palisade makes "
            "when it starts blocking (%s), its lines cannot be told from your own. "
            "Lines \"127.0.0.1          <site>\" that it may have added are still there.\n",
            hostsFile.c_str(), snapshot.c_str());
        return 0;
    case CleanupResult::Failed:
        break;
    }
    std::fprintf(stderr,
                 "palisade: the blocked sites could not be taken out of %s: %s. Palisade stays "
                 "installed, so that it can still stop blocking them.\n",
                 hostsFile.c_str(), result.problem.c_str());
    return 1;
}
