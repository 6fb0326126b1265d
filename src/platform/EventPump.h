#pragma once

namespace palisade {

// Lets pending window events run, as long operations do at fixed points.
class EventPump {
public:
    virtual ~EventPump() = default;
    virtual void doEvents() = 0;
};

} // namespace palisade
