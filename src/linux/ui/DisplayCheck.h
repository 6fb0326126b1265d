#pragma once

#include <optional>
#include <string>

namespace palisade::qt {

// The window system Qt is to use: the user's QT_QPA_PLATFORM when set, else X11 (xcb), which on a
// Wayland desktop runs through XWayland, where a window can be centred and seen minimised.
// Sets the variable for Qt and returns the choice.
std::string ChooseWindowSystem();

// One clear line when there is plainly no display for that window system; nothing otherwise.
std::optional<std::string> MissingDisplay(const std::string& windowSystem,
                                          const std::optional<std::string>& display);

// While the application object is being made, Qt's own complaints about the window system are
// held back and a fatal one is replaced by one line on standard error, then the program ends
// with status 1. Call with true before making it and with false after.
void OneLineStartFailures(bool on);

// The line for a window system that could not be started.
std::string StartFailureLine(const std::string& windowSystem,
                             const std::optional<std::string>& display);

} // namespace palisade::qt
