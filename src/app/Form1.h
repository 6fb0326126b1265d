#pragma once

#include "blocking/Blocking.h"
#include "common/AppState.h"
#include "platform/Ports.h"
#include "platform/TrayControl.h"
#include "settings/Settings.h"
#include "ui/Skin.h"
#include "ui/model/Form1Controls.h"

#include <string>
#include <string_view>

namespace palisade {

inline constexpr std::string_view ProductName = "Palisade Software";
inline constexpr std::string_view StartupMarkerName = "iStart";
inline constexpr std::string_view HandPointerName = "HAND-M.CUR";

// The main window's controller: start-up and the startup options.
class Form1 {
public:
    Form1(Ports& ports, Form1Controls& controls, AppState& state, Blocking& blocking,
          TrayControl& tray, Skin& skin);
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    // Loads the window, then shows it; a window minimised while loading goes through the
    // minimise handling first and is never seen before it is hidden.
    void Start();

    void Form_Load();
    void Check1_Click();
    void Check8_Click();
    void Check9_Click();
    void txtPassword_Change();

    // The path of the startup marker in the data folder.
    std::string StartupMarkerPath() const;

private:
    Ports& ports_;
    Form1Controls& c_;
    AppState& state_;
    Blocking& blocking_;
    TrayControl& tray_;
    Skin& skin_;
    Settings settings_;
};

// The product name cut before its last space, repeatedly while longer than 40 characters.
std::string AppTitleFrom(std::string_view productName);

} // namespace palisade
