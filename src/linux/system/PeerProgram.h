#pragma once

#include <sys/types.h>

namespace palisade {

// Whether the process pid runs this very program: the same executable file, or, once that file
// has been replaced by an upgrade, one at the same path. False when that cannot be told.
bool RunsThisProgram(pid_t pid);

// Whether the process at the other end of a connected local socket is a copy of this program.
// A process of root's counts as one: no user can make it, and root can do as it likes anyway.
bool PeerRunsThisProgram(int socketFd);

} // namespace palisade
