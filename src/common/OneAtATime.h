#pragma once

#include "common/HandlerDepth.h"

namespace palisade {

// Lets one of a group of handlers run at a time. The event pump runs pending events inside long
// handlers, so without this a second click on a button could start a second start or stop in the
// middle of the first; such an event is dropped instead. A handler that runs is counted in depth,
// when one is given.
class OneAtATime {
public:
    OneAtATime() = default;
    explicit OneAtATime(HandlerDepth* depth) : depth_(depth) {}
    OneAtATime(const OneAtATime&) = delete;
    OneAtATime& operator=(const OneAtATime&) = delete;

    // Runs handler unless a handler of this group is running already. True when it ran.
    template <typename Handler> bool run(Handler&& handler) {
        if (busy_)
            return false;
        busy_ = true;
        const Reset reset{busy_};
        if (depth_)
            depth_->run(handler);
        else
            handler();
        return true;
    }

    bool busy() const { return busy_; }

private:
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    };
    HandlerDepth* depth_ = nullptr;
    bool busy_ = false;
};

} // namespace palisade
