#include "app/SessionPorts.h"

#include <chrono>

namespace palisade {

void SessionDialogs::messageBox(const std::string& text, const std::string& title,
                                MessageIcon icon) {
    if (!ending_)
        inner_.messageBox(text, title, icon);
}

std::string SessionDialogs::inputBox(const std::string& prompt, const std::string& title,
                                     const std::string& defaultText) {
    if (ending_)
        return {};
    return inner_.inputBox(prompt, title, defaultText);
}

std::string SessionDialogs::openFile(const OpenFileRequest& request) {
    if (ending_)
        return {};
    return inner_.openFile(request);
}

Clock::TimePoint SessionClock::now() {
    // Far beyond any wait the program makes, yet far from overflowing the time point.
    constexpr auto beyondEveryWait = std::chrono::hours(24 * 365);
    return ending_ ? inner_.now() + beyondEveryWait : inner_.now();
}

} // namespace palisade
