#pragma once

#include <functional>
#include <utility>
#include <vector>

namespace palisade {

// A list of callbacks. Controllers connect event handlers, front ends connect view updates.
template <typename... Args> class Signal {
public:
    using Slot = std::function<void(Args...)>;

    void connect(Slot slot) { slots_.push_back(std::move(slot)); }

    void operator()(Args... args) const {
        // A slot may connect further slots while running; iterate over a copy.
        auto slots = slots_;
        for (const auto& slot : slots)
            slot(args...);
    }

private:
    std::vector<Slot> slots_;
};

} // namespace palisade
