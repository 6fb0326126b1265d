#pragma once

#include "platform/RuntimeError.h"

#include <string>

namespace palisade::test {

// The description of the RuntimeError that action throws, or "no error".
template <typename Action> std::string ErrorOf(Action action) {
    try {
        action();
    } catch (const RuntimeError& e) {
        return e.what();
    }
    return "no error";
}

} // namespace palisade::test
