#pragma once

#include "blocking/Blocking.h"
#include "common/AppState.h"
#include "common/ProductNames.h"
#include "platform/Ports.h"
#include "platform/TrayControl.h"
#include "settings/Form2.h"
#include "settings/Settings.h"
#include "ui/LookAndFeel.h"
#include "ui/Skin.h"
#include "ui/model/Form1Controls.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace palisade {

inline constexpr std::string_view StartupMarkerName = "iStart";
// The balloon of the first minimise of a run; title and text read as one sentence.
inline constexpr std::string_view MinimizeBalloonText =
    "has been minimized to the system tray.\r\nClick on the blue 'Q' icon (Q for Quillmoor) to "
    "bring the software back.";
inline constexpr std::int32_t MinimizeBalloonSeconds = 5;
// Said when the startup registration or its marker could not be written or removed.
inline constexpr std::string_view StartupNotChangedText = "Could not change the startup setting.";

// The main window's controller: start-up, the startup options, the window states, the tray
// click and closing.
class Form1 {
public:
    // Connects itself to the window's resize and close request, the tray's mouse-up, the option
    // check boxes, the password box and the hover events.
    Form1(Ports& ports, Form1Controls& controls, AppState& state, Blocking& blocking,
          TrayControl& tray, Skin& skin, Form2& form2);
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
    void Form_Resize();
    void cSysTray1_MouseUp(int button, std::int32_t id);
    void Form_QueryUnload();

    // What a close request does: the close handler, once, then the window unloads and closed
    // is raised. A close that arrives while the handler runs, or after it, is dropped; one that
    // arrives while a button's handler runs waits for it.
    void Close();
    // The session may still be cancelled: the list and "BlockOnStart" are written as at close,
    // and nothing else happens.
    void SessionEnding();
    // Brings the program forward as a tray click does, then activates the window that the user
    // is to see: the password window when it is open, otherwise the main window.
    void BringForward();

    // Raised once, when the close handler has run and the window has unloaded.
    Signal<> closed;

    // The path of the startup marker in the data folder.
    std::string StartupMarkerPath() const;

private:
    void CloseNow();
    // Creates a folder of the data folder's path. On Linux an ordinary user cannot create it
    // under /var/lib (the package does): that refusal is expected and not reported, and so is
    // the failure of the folder inside the one that was refused.
    void CreateDataFolder(const std::string& path);
    void WriteBlockOnStart();
    void SaveSiteList();
    // Registers the program and writes the startup marker (on), or the reverse; whether both
    // took effect. When only the first did, it is undone: the option stays wholly as it was.
    bool ChangeStartup(bool on);
    // Sets Check1 from code without its click handling doing anything.
    void SetCheck1Quietly(int value);

    Ports& ports_;
    Form1Controls& c_;
    AppState& state_;
    Blocking& blocking_;
    TrayControl& tray_;
    Skin& skin_;
    Form2& form2_;
    Settings settings_;
    bool dataFolderRefused_ = false;
    // While Check1 is set from code and its click handling is to do nothing.
    bool check1Quiet_ = false;
    // While the start-up sequence ticks Check1 on its own: nobody asked, so a registration that
    // fails is not reported and the option is forced on all the same.
    bool check1Forced_ = false;
};

// The product name cut before its last space, repeatedly while longer than 40 characters.
std::string AppTitleFrom(std::string_view productName);

} // namespace palisade
