#pragma once

#include <functional>
#include <utility>
#include <vector>

namespace palisade {

// Counts the program's event handlers that are running, nested ones included: message boxes
// and the event pump let other handlers run inside a handler. Work that must not happen while
// any of them is still on the stack (ending the program) waits until the outermost has returned.
class HandlerDepth {
public:
    HandlerDepth() = default;
    HandlerDepth(const HandlerDepth&) = delete;
    HandlerDepth& operator=(const HandlerDepth&) = delete;

    template <typename Handler> void run(Handler&& handler) {
        ++depth_;
        const Leave leave{*this};
        handler();
    }

    bool running() const { return depth_ > 0; }

    // Runs work now when no handler is running, otherwise as soon as the outermost returns.
    void whenIdle(std::function<void()> work) {
        if (depth_ == 0) {
            work();
            return;
        }
        deferred_.push_back(std::move(work));
    }

private:
    struct Leave {
        HandlerDepth& self;
        ~Leave() { self.leave(); }
    };
    void leave() {
        if (--depth_ != 0)
            return;
        auto deferred = std::move(deferred_);
        deferred_.clear();
        for (auto& work : deferred)
            work();
    }

    int depth_ = 0;
    std::vector<std::function<void()>> deferred_;
};

} // namespace palisade
