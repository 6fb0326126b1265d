#include "ui/RestoreMainWindow.h"

namespace palisade {

void RestoreMainWindow(Window& window, AppState& state, TrayControl& tray) {
    tray.setInTray(false);
    state.HiddenInTray = false;
    window.show();
    if (state.OnTaskBar) {
        state.OnTaskBar = false;
        window.setState(WindowState::Normal);
    }
}

} // namespace palisade
