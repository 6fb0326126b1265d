#pragma once

#include "common/Signal.h"

#include <memory>
#include <utility>

namespace palisade::win32 {

// Connects a view's slot to a model signal for as long as the view lives: the models outlive
// the views, and a signal raised after a view has gone must not reach it.
template <typename... Args, typename Slot>
void Connect(Signal<Args...>& signal, const std::shared_ptr<bool>& alive, Slot slot) {
    signal.connect([weak = std::weak_ptr<bool>(alive), slot = std::move(slot)](Args... args) {
        if (!weak.expired())
            slot(args...);
    });
}

} // namespace palisade::win32
