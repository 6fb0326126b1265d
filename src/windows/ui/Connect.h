#pragma once

#include "common/Signal.h"

#include <utility>
#include <vector>

namespace palisade::win32 {

// A view's connections to its models: the models outlive the views, and a signal raised after a
// view has gone must not reach it, so each goes with the view.
using Connections = std::vector<ScopedConnection>;

template <typename... Args, typename Slot>
void Connect(Signal<Args...>& signal, Connections& connections, Slot slot) {
    connections.emplace_back(signal.connect(std::move(slot)));
}

} // namespace palisade::win32
