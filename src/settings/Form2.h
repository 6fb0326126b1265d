#pragma once

#include "common/AppState.h"
#include "platform/Ports.h"
#include "platform/TrayControl.h"
#include "settings/Settings.h"
#include "ui/model/Form1Controls.h"
#include "ui/model/Form2Controls.h"

#include <string>
#include <string_view>

namespace palisade {

inline constexpr std::string_view InvalidPasswordText = "Invalid password entered.";

// The text without its leading and trailing spaces; other white space stays.
std::string TrimSpaces(std::string_view text);

// The password window's controller. One instance for the program: loaded on first use, shown
// without waiting, and emptied when unloaded. Closing it by its close box or Escape is Cancel,
// Enter is OK.
class Form2 {
public:
    Form2(Ports& ports, Form2Controls& controls, Form1Controls& main, AppState& state,
          TrayControl& tray);
    Form2(const Form2&) = delete;
    Form2& operator=(const Form2&) = delete;

    // Loads the window when it is not loaded, shows it and brings it to the front. Showing it
    // while it is open opens no second one.
    void Show();
    // Discards the window's controls: the next showing starts with an empty box.
    void Unload();
    bool isOpen() const { return c_.window.loaded(); }

    void Form_Load();
    void PushButton2_Click(); // OK
    void PushButton1_Click(); // Cancel

private:
    Ports& ports_;
    Form2Controls& c_;
    Form1Controls& main_;
    AppState& state_;
    TrayControl& tray_;
    Settings settings_;
};

} // namespace palisade
