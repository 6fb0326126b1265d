#pragma once

namespace palisade {

// The hosts-file blocker as the window's handlers call it.
class Blocking {
public:
    virtual ~Blocking() = default;
    virtual void StartBlocking(bool reapply) = 0;
    virtual void StopBlocking(bool quiet) = 0;
};

} // namespace palisade
