#pragma once

#include "windows/system/Handles.h"
#include "windows/ui/WinApi.h"

#include <functional>

namespace palisade::win32 {

// One program per user session: a named mutex in the session's namespace says whether a copy
// runs, and a registered message to that copy's main window carries the hand-over.
class SingleInstance {
public:
    enum class Outcome {
        First,      // no other copy: this one runs
        TookOver,   // the running copy was asked to end; this one runs
        HandedOver, // the running copy carries on; this one ends at once
    };
    // Whether this copy takes over from a running one, given what each can do.
    using Decision = std::function<bool(bool selfCanWriteHosts, bool runningCanWriteHosts)>;

    explicit SingleInstance(bool canWriteHosts);

    Outcome claim(const Decision& takesOver);

    // The message the running copy's main window answers (see WindowNames.h).
    static UINT SecondStartMessage();

private:
    bool openMutex();
    HWND findRunningWindow();
    void waitForRunningCopy(HWND running);

    bool canWriteHosts_;
    UniqueHandle mutex_;
};

} // namespace palisade::win32
