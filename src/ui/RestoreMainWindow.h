#pragma once

#include "common/AppState.h"
#include "platform/TrayControl.h"
#include "ui/model/Window.h"

namespace palisade {

// Brings the main window back from the notification area: the icon leaves it, HiddenInTray is
// cleared and the window is shown. The same steps follow a tray click without a password and a
// password accepted by the password window. A window that waited minimised on the task bar
// (no notification area) is set back to its normal state.
void RestoreMainWindow(Window& window, AppState& state, TrayControl& tray);

} // namespace palisade
