#pragma once

namespace palisade {

// Lets one of a group of handlers run at a time. The event pump runs pending events inside long
// handlers, so without this a second click on a button could start a second start or stop in the
// middle of the first; such an event is dropped instead.
class OneAtATime {
public:
    // Runs handler unless a handler of this group is running already. True when it ran.
    template <typename Handler> bool run(Handler&& handler) {
        if (busy_)
            return false;
        busy_ = true;
        const Reset reset{busy_};
        handler();
        return true;
    }

    bool busy() const { return busy_; }

private:
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    };
    bool busy_ = false;
};

} // namespace palisade
