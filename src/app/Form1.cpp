#include "app/Form1.h"

#include "blocking/HostsPaths.h"
#include "platform/FileHelpers.h"
#include "platform/StartupRegistration.h"
#include "sitelist/SiteList.h"
#include "ui/ErrorTrap.h"
#include "ui/RestoreMainWindow.h"

namespace palisade {

namespace {
const char* OnOff(bool on) {
    return on ? "On" : "Off";
}
int CheckValue(bool on) {
    return on ? CheckBox::Checked : CheckBox::Unchecked;
}
// Clears a flag set for the length of a call, whatever way the call ends.
struct Flag {
    bool& flag;
    ~Flag() { flag = false; }
};
} // namespace

Form1::Form1(Ports& ports, Form1Controls& controls, AppState& state, Blocking& blocking,
             TrayControl& tray, Skin& skin, Form2& form2)
    : ports_(ports), c_(controls), state_(state), blocking_(blocking), tray_(tray), skin_(skin),
      form2_(form2), settings_(ports.settings) {
    c_.Check1.setCaption(std::string(state_.texts().startupOption));

    auto counted = [this](void (Form1::*handler)()) {
        return [this, handler] { state_.Handlers.run([this, handler] { (this->*handler)(); }); };
    };
    c_.Check1.click.connect(counted(&Form1::Check1_Click));
    c_.Check8.click.connect(counted(&Form1::Check8_Click));
    c_.Check9.click.connect(counted(&Form1::Check9_Click));
    c_.txtPassword.change.connect(counted(&Form1::txtPassword_Change));
    c_.window.resize.connect(counted(&Form1::Form_Resize));
    c_.window.closeRequested.connect(counted(&Form1::Close));
    tray_.mouseUp.connect([this](int button, std::int32_t id) {
        state_.Handlers.run([&] { cSysTray1_MouseUp(button, id); });
    });
    ConnectHoverPointers(c_.window, HoverTable(c_));
}

void Form1::Start() {
    Form_Load();
    blocking_.SettleInterruptedChange();
    if (!state_.Closing) // a close that came while loading has ended the program
        c_.window.show();
}

std::string Form1::StartupMarkerPath() const {
    return JoinPath(ports_.system, state_.DataFolder, std::string(StartupMarkerName));
}

std::string AppTitleFrom(std::string_view productName) {
    std::string title(productName);
    do {
        const auto space = title.rfind(' ');
        if (space == std::string::npos)
            break;
        title.erase(space);
    } while (title.size() > 40);
    return title;
}

void Form1::Form_Load() {
    ErrorTrap trap(ports_.dialogs, "Form1", "Form_Load");
    auto& sys = ports_.system;
    std::string stored;
    std::string path;

    trap(100, [&] { state_.Loading = true; });
    trap(102, [&] { skin_.ApplySkin(); });
    trap(104, [&] { c_.window.setCaption(std::string(ProductName)); });
    trap(106, [&] { c_.window.setIcon(WindowIcon::Program); });
    trap(108, [&] { state_.AppTitle = AppTitleFrom(ProductName); });
    if (trap.when(110, [&] {
            path = HandPointerPath(sys);
            return PathExists(ports_.fs, path);
        }))
        trap(112, [&] { c_.window.setMouseIcon(path); });
    trap(114, [&] { c_.ListView1.addColumn(std::string(ListColumnHeader)); });
    trap(116, [&] { c_.ListView1.setColumnWidth(1, ListColumnWidth); });
    trap(118, [&] { stored = settings_.read(keys::BlockedWebsites); });
    if (trap.when(120, [&] { return !stored.empty(); }))
        trap(122, [&] { RestoreSiteList(c_.ListView1, stored); });

    trap(124, [&] { path = VendorDataFolder(sys); });
    if (trap.when(126, [&] { return !ports_.fs.find(path, EntryFilter::FilesAndFolders); }))
        trap(128, [&] { CreateDataFolder(path); });
    trap(130, [&] { state_.DataFolder = ProgramDataFolder(sys); });
    if (trap.when(132,
                  [&] { return !ports_.fs.find(state_.DataFolder, EntryFilter::FilesAndFolders); }))
        trap(134, [&] { CreateDataFolder(state_.DataFolder); });

    trap(136, [&] { tray_.setTrayTip(std::string(ProductName)); });
    trap(138, [&] { c_.window.setIcon(WindowIcon::Program); });
    trap(140, [&] { tray_.setInTray(true); });

    trap(142, [&] { c_.Check1.setValue(CheckValue(settings_.isOn(keys::WindowsStartup))); });
    trap(144, [&] { c_.Check8.setValue(CheckValue(settings_.isOn(keys::Minimized))); });
    if (trap.when(146, [&] { return c_.Check8.checked(); }))
        trap(148, [&] { c_.window.setState(WindowState::Minimized); });
    trap(150, [&] { c_.Check9.setValue(CheckValue(settings_.isOn(keys::BlockAdministrator))); });

    trap(152, [&] { state_.UserIsAdmin = ports_.admin.IsAdministrator() != 0; });
    trap(154, [&] {
        c_.Label2.setCaption(state_.UserIsAdmin
                                 ? "Current user is member of the Administrator's group"
                                 : "User is not a member of the Administrator's group");
    });
    trap(156, [&] { state_.Loading = false; });
    trap(158, [&] { c_.Label2.setBackColor(colors::White); });

    if (trap.when(160, [&] { return ToNumber(settings_.read(keys::BlockOnStart)) != 0; })) {
        trap(162, [&] { state_.SavedBlockCaption = c_.PushButton2.caption(); });
        trap(164, [&] { c_.PushButton2.setCaption(std::string(StopBlockingCaption)); });
        trap(166, [&] { blocking_.StartBlocking(true); });
    } else if (trap.when(168, [&] {
                   return ports_.fs.find(StartupMarkerPath(), EntryFilter::OrdinaryFiles) &&
                          !state_.UserIsAdmin;
               })) {
        trap(170, [&] {
            check1Forced_ = true;
            const Flag forced{check1Forced_};
            c_.Check1.setValue(CheckBox::Checked);
        });
        trap(172, [&] { c_.Check8.setValue(CheckBox::Checked); });
        trap(174, [&] { c_.Check8.setVisible(true); });
        trap(176, [&] { settings_.write(keys::WindowsStartup, On); });
        trap(178, [&] { settings_.write(keys::Minimized, On); });
        trap(180, [&] { settings_.write(keys::BlockOnStart, "1"); });
        trap(182, [&] { state_.SavedBlockCaption = c_.PushButton2.caption(); });
        trap(184, [&] { c_.PushButton2.setCaption(std::string(StopBlockingCaption)); });
        trap(186, [&] { blocking_.StartBlocking(true); });
    }

    trap(188, [&] { c_.txtPassword.setText(settings_.read(keys::Password)); });
}

void Form1::Check1_Click() {
    ErrorTrap trap(ports_.dialogs, "Form1", "Check1_Click");
    if (state_.Loading || check1Quiet_) // statement 100; reading flags cannot fail
        return;
    bool on = true;
    bool changed = false;
    trap(102, [&] { on = c_.Check1.checked(); });
    // The registration first: a user who may not register finds the option as it was.
    trap(104, [&] { changed = ChangeStartup(on); });
    if (!changed && !check1Forced_) {
        trap(106, [&] {
            const std::string text = ports_.autostart.failureMessage().value_or(
                std::string(StartupNotChangedText) + "\r\n" +
                std::string(state_.texts().adminAdvice));
            if (!text.empty())
                ports_.dialogs.messageBox(text, state_.AppTitle, MessageIcon::None);
        });
        trap(108, [&] { SetCheck1Quietly(CheckValue(!on)); });
        return;
    }
    if (on) {
        trap(110, [&] { c_.Check8.setVisible(true); });
        trap(112, [&] { settings_.write(keys::WindowsStartup, On); });
    } else {
        trap(114, [&] { c_.Check8.setValue(CheckBox::Unchecked); });
        trap(116, [&] { c_.Check8.setVisible(false); });
        trap(118, [&] { settings_.write(keys::WindowsStartup, Off); });
    }
}

bool Form1::ChangeStartup(bool on) {
    return palisade::ChangeStartup(ports_.autostart, ports_.fs, ports_.system, ports_.pump,
                                   StartupMarkerPath(), on);
}

void Form1::SetCheck1Quietly(int value) {
    check1Quiet_ = true;
    const Flag quiet{check1Quiet_};
    c_.Check1.setValue(value);
}

void Form1::Check8_Click() {
    ErrorTrap trap(ports_.dialogs, "Form1", "Check8_Click");
    trap(100, [&] { settings_.write(keys::Minimized, OnOff(c_.Check8.checked())); });
}

void Form1::Check9_Click() {
    ErrorTrap trap(ports_.dialogs, "Form1", "Check9_Click");
    trap(100, [&] { settings_.write(keys::BlockAdministrator, OnOff(c_.Check9.checked())); });
}

void Form1::txtPassword_Change() {
    ErrorTrap trap(ports_.dialogs, "Form1", "txtPassword_Change");
    trap(100, [&] { settings_.write(keys::Password, c_.txtPassword.text()); });
}

void Form1::CreateDataFolder(const std::string& path) {
    try {
        ports_.fs.createFolder(path);
    } catch (const RuntimeError& e) {
        const std::string_view what(e.what());
        if (state_.platform == Platform::Linux &&
            (what == PermissionDenied || (what == PathNotFound && dataFolderRefused_))) {
            dataFolderRefused_ = true;
            return;
        }
        throw;
    }
}

void Form1::Form_Resize() {
    ErrorTrap trap(ports_.dialogs, "Form1", "Form_Resize");
    if (state_.Closing) // the window is going away; reading a flag cannot fail
        return;
    if (trap.when(100, [&] {
            return c_.window.state() == WindowState::Minimized && !state_.HiddenInTray;
        })) {
        // Asked at every minimise: a program started with the session can come up before the
        // panel that holds the notification area.
        if (trap.when(102, [&] { return tray_.available(); })) {
            trap(104, [&] { c_.window.hide(); });
            trap(106, [&] { c_.window.setState(WindowState::Normal); });
            trap(108, [&] { state_.HiddenInTray = true; });
            trap(110, [&] { tray_.setInTray(true); });
            trap(112, [&] {
                tray_.ShowBalloon(std::string(MinimizeBalloonText), std::string(ProductName),
                                  MinimizeBalloonSeconds, -1);
            });
        } else {
            // Hidden, the window could not be brought back: it waits on the task bar, and
            // coming back from there passes the tray click's gate.
            trap(114, [&] { state_.HiddenInTray = true; });
            trap(116, [&] { state_.OnTaskBar = true; });
        }
    } else if (trap.when(118, [&] {
                   return state_.OnTaskBar && c_.window.state() != WindowState::Minimized;
               })) {
        trap(120, [&] { cSysTray1_MouseUp(1, 0); });
    }
}

void Form1::cSysTray1_MouseUp(int, std::int32_t) {
    ErrorTrap trap(ports_.dialogs, "Form1", "cSysTray1_MouseUp");
    std::string password;
    if (state_.Closing)
        return;
    trap(100, [&] { password = settings_.read(keys::Password); });
    if (trap.when(102, [&] { return !password.empty(); })) {
        // On the task bar the window stays minimised until the password is accepted.
        if (trap.when(104, [&] {
                return state_.OnTaskBar && c_.window.state() != WindowState::Minimized;
            }))
            trap(106, [&] { c_.window.setState(WindowState::Minimized); });
        trap(108, [&] { form2_.Show(); });
        return;
    }
    trap(110, [&] { RestoreMainWindow(c_.window, state_, tray_); });
}

void Form1::WriteBlockOnStart() {
    settings_.write(keys::BlockOnStart,
                    c_.PushButton2.caption() == StopBlockingCaption ? "1" : "0");
}

void Form1::SaveSiteList() {
    settings_.write(keys::BlockedWebsites, SerializeSiteList(c_.ListView1));
}

void Form1::Form_QueryUnload() {
    ErrorTrap trap(ports_.dialogs, "Form1", "Form_QueryUnload");

    if (trap.when(100, [&] { return c_.PushButton2.caption() != StopBlockingCaption; })) {
        trap(102, [&] { blocking_.StopBlocking(false, StopRequest::Close); });
        trap(104, [&] { settings_.write(keys::BlockOnStart, "0"); });
    } else {
        trap(106, [&] { settings_.write(keys::BlockOnStart, "1"); });
        trap(108, [&] { c_.Check8.setValue(CheckBox::Checked); });
        trap(110, [&] { settings_.write(keys::Minimized, On); });
    }
    trap(112, [&] { tray_.setInTray(false); });
    trap(114, [&] { ports_.pump.doEvents(); });
    trap(116, [&] { ports_.pump.doEvents(); });
    trap(118, [&] { SaveSiteList(); });
    trap(120, [&] { ports_.pump.doEvents(); });
    trap(122, [&] { form2_.Unload(); });
}

void Form1::Close() {
    if (state_.Closing)
        return;
    // The close decides from the block button's caption what to store for the next start; a
    // button's handler that lets events run (a stop before its caption goes back) has not set it
    // yet, so the close waits for that handler and runs once it has returned.
    if (state_.Form1Buttons.busy()) {
        state_.Form1Buttons.run([this] { CloseNow(); });
        return;
    }
    CloseNow();
}

void Form1::CloseNow() {
    if (state_.Closing)
        return;
    state_.Closing = true;
    Form_QueryUnload();
    c_.window.unload();
    closed();
}

void Form1::SessionEnding() {
    ErrorTrap trap(ports_.dialogs, "Form1", "SessionEnding");
    trap(100, [&] { SaveSiteList(); });
    trap(102, [&] { WriteBlockOnStart(); });
}

void Form1::BringForward() {
    if (state_.Closing)
        return;
    cSysTray1_MouseUp(1, 0);
    if (!form2_.isOpen()) // an opened password window has come to the front already
        c_.window.activate();
}

} // namespace palisade
