#pragma once

#include <chrono>
#include <string>

namespace palisade::win32 {

// How long the uninstall gives running copies of the program to save and end, as the end of
// the session gives them.
inline constexpr std::chrono::milliseconds EndCopiesLimit{10000};

// What the uninstall's own step did; problem says why it stopped.
struct UninstallOutcome {
    bool done = false;
    std::string problem;
    // What was done, one line each, for the installer's log.
    std::string report;
};

// Ends every running copy of the program as the end of the session does: it saves, shows
// nothing and ends. A copy still running when limit has passed is ended as Windows ends it
// then. Copies of every folder go: they all share the data folder the uninstall removes.
void EndRunningCopies(std::chrono::milliseconds limit = EndCopiesLimit);

// Whether a Run value's data starts program: the same path, quoted or not, in any letter case.
bool RunValueNamesProgram(const std::string& data, const std::string& program);

// Deletes the machine-wide Run value named after program's file, when it starts that program.
// Whether a value was deleted.
bool RemoveRunValueOf(const std::string& program);

// Deletes folder with everything in it, read-only files too. Whether nothing is left.
bool RemoveFolderTree(const std::string& folder);

// Undoes what the program of the install in installFolder left on the computer, in this order:
// ends running copies, takes the block lines out of the hosts file under the hosts lock with
// the program's own stop rule, deletes the Run value that starts this install's program and
// removes the data folder. When the block lines cannot be taken out it stops there, changing
// nothing more, so the program stays to stop blocking.
UninstallOutcome RemoveWhatTheProgramLeft(const std::string& installFolder);

} // namespace palisade::win32
