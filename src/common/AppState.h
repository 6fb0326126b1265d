#pragma once

#include "common/OneAtATime.h"

#include <string>

namespace palisade {

// Process-wide state owned by the main window.
struct AppState {
    // True from the start of loading until the options and the administrator test are done.
    bool Loading = false;
    // Holds the hosts snapshot and the startup marker; shared by all users.
    std::string DataFolder;
    // The administrator test's answer, set once at start-up.
    bool UserIsAdmin = false;
    // The block button's caption just before it was switched to "Stop Blocking".
    std::string SavedBlockCaption;
    // True while the main window is hidden in the notification area.
    bool HiddenInTray = false;
    // The title of every message box that passes none of its own.
    std::string AppTitle = "Palisade";
    // The push buttons of the main window: a click while one of their handlers runs is dropped.
    OneAtATime Form1Buttons;
};

} // namespace palisade
