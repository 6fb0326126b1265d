#pragma once

#include "platform/Clock.h"
#include "platform/EventPump.h"
#include "platform/FileSystem.h"
#include "platform/HostsLock.h"

#include <chrono>
#include <string>

namespace palisade {

// How long the clean-up waits for a copy of the program that is changing the hosts file.
inline constexpr std::chrono::milliseconds CleanupLockPatience{30000};

struct CleanupResult {
    enum Outcome {
        NothingToTakeOut, // the hosts file holds no block line (or is not there)
        TakenOut,         // the block lines were taken out
        NoSnapshot,       // nothing shows which lines are ours, so none was taken out
        Failed,           // nothing was changed; problem says why
    } outcome = NothingToTakeOut;
    std::string problem;
};

// Takes the program's block lines out of the hosts file for good, with the rules the program's
// own stop follows, so that no site stays blocked once the program is gone: the lines that the
// snapshot holds stay, and so does every other byte. Without a snapshot nothing tells our lines
// from an administrator's own, and nothing is taken out. Works under the hosts lock when the data
// folder is there (no copy of the program can hold the lock without it), waiting for it through
// pump and clock, and gives the lock back before it returns. First it settles a change that a kill
// cut short (the journal beside the snapshot). Leaves the snapshot in the data folder alone.
CleanupResult TakeOutBlockLines(FileSystem& fs, HostsLock& lock, EventPump& pump, Clock& clock,
                                const std::string& hostsPath, const std::string& dataFolder,
                                const std::string& snapshotPath,
                                std::chrono::milliseconds patience = CleanupLockPatience);

} // namespace palisade
