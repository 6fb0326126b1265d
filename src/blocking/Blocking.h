#pragma once

namespace palisade {

// Who asks for a stop. The block button asks to unblock the list's sites; the close handler,
// with blocking off, only undoes what an earlier start left behind (its snapshot).
enum class StopRequest { BlockButton, Close };

// The hosts-file blocker as the window's handlers call it.
class Blocking {
public:
    virtual ~Blocking() = default;
    virtual void StartBlocking(bool reapply) = 0;
    virtual void StopBlocking(bool quiet, StopRequest request) = 0;
    // Settles a change of the hosts file that a kill cut short, when this user may write it, so
    // that the file is whole from the start of a run whether or not blocking is re-applied.
    virtual void SettleInterruptedChange() = 0;
};

} // namespace palisade
