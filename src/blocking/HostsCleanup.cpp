#include "blocking/HostsCleanup.h"

#include "blocking/HostsText.h"
#include "platform/HostsLockHold.h"

#include <optional>

namespace palisade {

namespace {

CleanupResult Failure(std::string problem) {
    return {CleanupResult::Failed, std::move(problem)};
}

// The snapshot's bytes, or nothing when it is not there or cannot be read: it only tells whether
// the hosts file ended without a line end, and without it a line end may be left over, no more.
std::optional<std::string> SnapshotBytes(FileSystem& fs, const std::string& path) {
    try {
        if (fs.find(path, EntryFilter::OrdinaryFiles))
            return fs.readFile(path);
    } catch (const RuntimeError&) {
    }
    return std::nullopt;
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
        if (!fs.find(hostsPath, EntryFilter::OrdinaryFiles))
            return {};
        const std::string current = fs.readFile(hostsPath);
        const std::optional<std::string> snapshot = SnapshotBytes(fs, snapshotPath);
        const std::string kept = UnblockedHosts(
            current, snapshot ? std::optional<std::string_view>(*snapshot) : std::nullopt);
        if (kept == current)
            return {};
        fs.replaceFile(hostsPath, kept);
        return {CleanupResult::TakenOut, {}};
    } catch (const RuntimeError& error) {
        return Failure(std::string(error.what()));
    }
}

} // namespace palisade
