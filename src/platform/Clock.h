#pragma once

#include <chrono>

namespace palisade {

// The time that waits are measured against.
class Clock {
public:
    using TimePoint = std::chrono::steady_clock::time_point;
    virtual ~Clock() = default;
    virtual TimePoint now() = 0;
};

// The system's monotonic clock: a change of the wall-clock time does not stretch a wait.
class SteadyClock : public Clock {
public:
    TimePoint now() override { return std::chrono::steady_clock::now(); }
};

} // namespace palisade
