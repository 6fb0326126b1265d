#include "settings/Form2.h"

#include "platform/FileHelpers.h"
#include "ui/ErrorTrap.h"
#include "ui/LookAndFeel.h"
#include "ui/RestoreMainWindow.h"

namespace palisade {

std::string TrimSpaces(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}

Form2::Form2(Ports& ports, Form2Controls& controls, Form1Controls& main, AppState& state,
             TrayControl& tray)
    : ports_(ports), c_(controls), main_(main), state_(state), tray_(tray),
      settings_(ports.settings) {
    c_.PushButton2.click.connect([this] { state_.Handlers.run([this] { PushButton2_Click(); }); });
    c_.PushButton1.click.connect([this] { state_.Handlers.run([this] { PushButton1_Click(); }); });
    // Any other way of closing the window is Cancel.
    c_.window.closeRequested.connect(
        [this] { state_.Handlers.run([this] { PushButton1_Click(); }); });
    ConnectHoverPointers(c_.window, HoverTable(c_));
}

void Form2::Show() {
    const bool opening = !c_.window.loaded();
    if (opening) {
        c_.window.load();
        Form_Load();
    }
    c_.window.show();
    if (opening)
        c_.txtPassword.setFocus();
    c_.window.activate();
}

void Form2::Unload() {
    c_.discard();
}

void Form2::Form_Load() {
    ErrorTrap trap(ports_.dialogs, "Form2", "Form_Load");
    std::string path;

    trap(100, [&] { SetBackColors(c_.window, c_.controls()); });
    trap(102, [&] { c_.window.setIcon(WindowIcon::Program); });
    if (trap.when(104, [&] {
            path = HandPointerPath(ports_.system);
            return PathExists(ports_.fs, path);
        }))
        trap(106, [&] { c_.window.setMouseIcon(path); });
}

void Form2::PushButton2_Click() {
    ErrorTrap trap(ports_.dialogs, "Form2", "PushButton2_Click");
    std::string typed;
    std::string stored;

    trap(100, [&] { typed = TrimSpaces(c_.txtPassword.text()); });
    // A stored password with a space at either end could never be matched otherwise, and a
    // program hidden in the tray could not be brought back.
    trap(102, [&] { stored = TrimSpaces(settings_.read(keys::Password)); });
    if (trap.when(104, [&] { return typed == stored; })) {
        trap(106, [&] { RestoreMainWindow(main_.window, state_, tray_); });
        trap(108, [&] { Unload(); });
    } else {
        trap(110, [&] {
            ports_.dialogs.messageBox(std::string(InvalidPasswordText), state_.AppTitle,
                                      MessageIcon::None);
        });
        if (!c_.window.loaded()) // the session ended while the message was up
            return;
        trap(112, [&] { c_.txtPassword.setFocus(); });
        trap(114, [&] { c_.txtPassword.select(0, c_.txtPassword.text().size()); });
    }
}

void Form2::PushButton1_Click() {
    ErrorTrap trap(ports_.dialogs, "Form2", "PushButton1_Click");
    trap(100, [&] { Unload(); });
}

} // namespace palisade
