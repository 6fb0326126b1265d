#pragma once

#include "platform/PrivilegedHosts.h"

#include <string>
#include <vector>

namespace palisade::test {

// The privileged helper: notes each request and gives the answer set for it.
struct FakePrivilegedHosts : PrivilegedHosts {
    struct Call {
        std::string request; // "start button", "stop close", "autostart on", ...
        std::vector<std::string> entries;
    };
    std::vector<Call> calls;
    HelperAnswer answer;

    HelperAnswer start(const std::vector<std::string>& entries, bool reapply) override {
        calls.push_back({reapply ? "start reapply" : "start button", entries});
        return answer;
    }
    HelperAnswer stop(const std::vector<std::string>& entries, bool atClose) override {
        calls.push_back({atClose ? "stop close" : "stop button", entries});
        return answer;
    }
    HelperAnswer autostart(bool on) override {
        calls.push_back({on ? "autostart on" : "autostart off", {}});
        return answer;
    }
};

} // namespace palisade::test
