#pragma once

#include "platform/Clock.h"
#include "platform/Dialogs.h"

namespace palisade {

// The dialogs as the program uses them: once the session is ending, no box waits for an
// answer: a message returns as after OK, an input box and the open-file dialog as cancelled.
class SessionDialogs : public Dialogs {
public:
    SessionDialogs(Dialogs& inner, const bool& ending) : inner_(inner), ending_(ending) {}

    void messageBox(const std::string& text, const std::string& title, MessageIcon icon) override;
    std::string inputBox(const std::string& prompt, const std::string& title,
                         const std::string& defaultText) override;
    std::string openFile(const OpenFileRequest& request) override;
    void cancelAll() override { inner_.cancelAll(); }

private:
    Dialogs& inner_;
    const bool& ending_;
};

// The clock that waits are measured against; once the session is ending, every wait has run
// out, so none outlasts the program (the wait for the hosts lock ends at its next look at the
// time).
class SessionClock : public Clock {
public:
    SessionClock(Clock& inner, const bool& ending) : inner_(inner), ending_(ending) {}
    TimePoint now() override;

private:
    Clock& inner_;
    const bool& ending_;
};

} // namespace palisade
