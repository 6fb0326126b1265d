#pragma once

#include <chrono>

namespace palisade {

// Lets pending window events run, as long operations do at fixed points.
class EventPump {
public:
    virtual ~EventPump() = default;

    // Runs the events already waiting, then returns.
    virtual void doEvents() = 0;

    // Sleeps until an event arrives or timeout has passed, then runs what has arrived. Never
    // spins: a caller that loops on this until a deadline costs nothing while nothing happens.
    virtual void waitEvents(std::chrono::milliseconds timeout) = 0;
};

} // namespace palisade
