#pragma once

#include <chrono>
#include <functional>

namespace palisade {

// Work for later, run by the event loop: never from inside the call that asks for it, so the
// caller returns first and the handler that asked is off the stack when the work runs.
class Timer {
public:
    virtual ~Timer() = default;

    // Runs work once, when delay has passed. Work still waiting when the timer goes is dropped.
    virtual void singleShot(std::chrono::milliseconds delay, std::function<void()> work) = 0;
};

} // namespace palisade
