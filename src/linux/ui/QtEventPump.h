#pragma once

#include "platform/EventPump.h"

namespace palisade::qt {

// Pending events run through Qt's event dispatcher of the calling (window) thread.
class QtEventPump : public EventPump {
public:
    void doEvents() override;
    // Sleeps in the dispatcher until an event arrives; a timer wakes it at the timeout.
    void waitEvents(std::chrono::milliseconds timeout) override;
};

} // namespace palisade::qt
