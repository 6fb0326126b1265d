#pragma once

#include "common/HandlerDepth.h"
#include "common/OneAtATime.h"
#include "common/PlatformTexts.h"

#include <string>

namespace palisade {

// Process-wide state owned by the main window.
struct AppState {
    explicit AppState(Platform platformOfThisBuild = Platform::Windows)
        : platform(platformOfThisBuild) {}
    AppState(const AppState&) = delete;
    AppState& operator=(const AppState&) = delete;

    // Which platform's texts the program shows.
    Platform platform;
    // True from the start of loading until the options and the administrator test are done.
    bool Loading = false;
    // Holds the hosts snapshot and the startup marker; shared by all users.
    std::string DataFolder;
    // The administrator test's answer, set once at start-up.
    bool UserIsAdmin = false;
    // The block button's caption just before it was switched to "Stop Blocking".
    std::string SavedBlockCaption;
    // True while the main window is hidden in the notification area, or minimised on the task
    // bar where there is none: either way it comes back only through the tray click's handling.
    bool HiddenInTray = false;
    // True while the main window waits minimised on the task bar because the desktop offered no
    // notification area when it was minimised.
    bool OnTaskBar = false;
    // Set once the close handler has begun: the window is going away.
    bool Closing = false;
    // Set when the program ends without its user (the session's end): no box is to wait for an
    // answer.
    bool Ending = false;
    // The title of every message box that passes none of its own.
    std::string AppTitle = "Palisade";
    // Every handler of the program's windows runs counted here.
    HandlerDepth Handlers;
    // The push buttons of the main window: a click while one of their handlers runs waits for it.
    OneAtATime Form1Buttons{&Handlers, &Closing};

    const PlatformTexts& texts() const { return TextsFor(platform); }
};

} // namespace palisade
