#include "blocking/HostsCleanup.h"

#include "blocking/BlockingFiles.h"
#include "blocking/HostsText.h"
#include "platform/HostsLockHold.h"

namespace palisade {

namespace {

CleanupResult Failure(std::string problem) {
    return {CleanupResult::Failed, std::move(problem)};
}

} // namespace

CleanupResult TakeOutBlockLines(FileSystem& fs, HostsLock& lock, EventPump& pump, Clock& clock,
                                const std::string& hostsPath, const std::string& dataFolder,
                                const std::string& snapshotPath,
                                std::chrono::milliseconds patience) {
    HostsLockHold hold(lock, pump, clock);
    try {
        if (fs.find(dataFolder, EntryFilter::FilesAndFolders) &&
            !hold.acquire(dataFolder, patience))
            return Failure("another copy of Palisade is changing " + hostsPath +
                           "; close it and try again");
        const std::string journal = JournalPathFor(snapshotPath);
        // A change that a kill cut short is settled first.
        if (hold.held())
            fs.finishJournal(journal);
        if (!fs.find(snapshotPath, EntryFilter::OrdinaryFiles))
            return {CleanupResult::NoSnapshot, {}};
        const std::string snapshot = fs.readFile(snapshotPath);
        if (!fs.find(hostsPath, EntryFilter::OrdinaryFiles))
            return {};
        const std::string current = fs.readFile(hostsPath);
        const std::string kept = UnblockedHosts(current, snapshot);
        if (kept == current)
            return {};
        fs.replaceFileJournaled(hostsPath, kept, journal);
        return {CleanupResult::TakenOut, {}};
    } catch (const RuntimeError& error) {
        return Failure(std::string(error.what()));
    }
}

} // namespace palisade
