#pragma once

#include <string>
#include <vector>

namespace palisade::test {

// One ordered record of what the fakes were asked to do, to check the order of effects.
struct CallLog {
    std::vector<std::string> calls;
    void add(std::string call) { calls.push_back(std::move(call)); }
};

} // namespace palisade::test
