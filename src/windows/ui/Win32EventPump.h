#pragma once

#include "platform/EventPump.h"
#include "windows/ui/WinApi.h"

#include <functional>
#include <optional>

namespace palisade::win32 {

// Runs the thread's window messages from inside a handler. A quit posted while a handler waits
// here is held, not acted on: the main loop posts it again once the handler has returned, so
// nothing still in use is destroyed under it.
class Win32EventPump final : public EventPump {
public:
    // Keyboard navigation of the program's windows (IsDialogMessage); true when it took the
    // message.
    using DialogFilter = std::function<bool(MSG&)>;

    void setDialogFilter(DialogFilter filter) { filter_ = std::move(filter); }

    void doEvents() override;
    void waitEvents(std::chrono::milliseconds timeout) override;

    // Translates and dispatches one message the way every loop of the program does.
    void dispatch(MSG& message);
    // The exit code of a quit that arrived during a nested wait, taken once.
    std::optional<int> takeHeldQuit();

private:
    DialogFilter filter_;
    std::optional<int> heldQuit_;
};

} // namespace palisade::win32
