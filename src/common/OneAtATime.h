#pragma once

#include "common/HandlerDepth.h"

#include <deque>
#include <functional>
#include <utility>

namespace palisade {

// Runs the handlers of a group one at a time. The event pump and message boxes let events run
// inside a long handler (a wait for the hosts lock, a message box); a click that arrives then
// must neither start a second start or stop in the middle of the first nor be lost, so it waits
// and runs as soon as the running handler has returned, in the order the clicks came. Handlers
// run counted in depth, when one is given. Once *closing is true (the window is going away),
// nothing more runs: the list and the settings have been saved for the last time.
class OneAtATime {
public:
    OneAtATime() = default;
    OneAtATime(HandlerDepth* depth, const bool* closing) : depth_(depth), closing_(closing) {}
    OneAtATime(const OneAtATime&) = delete;
    OneAtATime& operator=(const OneAtATime&) = delete;

    // Runs handler now, or once the handlers running and waiting before it have run.
    void run(std::function<void()> handler) {
        waiting_.push_back(std::move(handler));
        if (busy_)
            return;
        busy_ = true;
        const Reset reset{*this};
        if (depth_)
            depth_->run([this] { runWaiting(); });
        else
            runWaiting();
    }

    bool busy() const { return busy_; }

private:
    void runWaiting() {
        while (!waiting_.empty() && !(closing_ && *closing_)) {
            auto next = std::move(waiting_.front());
            waiting_.pop_front();
            next();
        }
    }

    struct Reset {
        OneAtATime& self;
        ~Reset() {
            self.busy_ = false;
            self.waiting_.clear();
        }
    };
    HandlerDepth* depth_ = nullptr;
    const bool* closing_ = nullptr;
    bool busy_ = false;
    std::deque<std::function<void()>> waiting_;
};

} // namespace palisade
