#include "app/Program.h"

#include "app/Form1.h"
#include "app/PrivilegedAutostart.h"
#include "app/SessionPorts.h"
#include "blocking/BlockCommand.h"
#include "blocking/HostsBlocker.h"
#include "blocking/PrivilegedBlocker.h"
#include "platform/cSysTray.h"
#include "settings/Form2.h"
#include "sitelist/ListCommands.h"
#include "ui/LookAndFeel.h"

namespace palisade {

struct Program::Parts {
    Parts(Ports& outer, Platform platform, HostsPaths paths, PrivilegedHosts* helper)
        : state(platform), dialogs(outer.dialogs, state.Ending), clock(outer.clock, state.Ending),
          autostart(outer.autostart, helper, state), ports{outer.fs,     outer.settings,
                                                           dialogs,      outer.pump,
                                                           outer.admin,  autostart,
                                                           outer.system, outer.shell,
                                                           clock,        outer.hostsLock,
                                                           outer.timer},
          tray(ports.shell, ports.timer), skin(ports.fs, ports.system, form1, skinFramework),
          inProcess(ports, form1, state, std::move(paths)),
          blocker(ports, form1, state, helper, inProcess), command(ports, form1, state, blocker),
          lists(ports, form1, state), password(ports, form2, form1, state, tray),
          main(ports, form1, state, blocker, tray, skin, password) {}

    AppState state;
    SessionDialogs dialogs;
    SessionClock clock;
    PrivilegedAutostart autostart;
    Ports ports;
    Form1Controls form1;
    Form2Controls form2;
    cSysTray tray;
    NoSkinFramework skinFramework;
    MainWindowSkin skin;
    HostsBlocker inProcess;
    PrivilegedBlocker blocker;
    BlockCommand command;
    ListCommands lists;
    Form2 password;
    Form1 main;
    bool canWriteHosts = false;
};

Program::Program(Ports& ports, Platform platform, HostsPaths paths, bool canWriteHosts,
                 PrivilegedHosts* helper)
    : parts_(std::make_unique<Parts>(ports, platform, std::move(paths),
                                     canWriteHosts ? nullptr : helper)) {
    parts_->canWriteHosts = canWriteHosts;
    parts_->main.closed.connect([this] { RequestQuit(); });
}

Program::~Program() = default;

Form1Controls& Program::form1() {
    return parts_->form1;
}

Form2Controls& Program::form2() {
    return parts_->form2;
}

const AppState& Program::state() const {
    return parts_->state;
}

void Program::RequestQuit() {
    if (quitRequested_)
        return;
    quitRequested_ = true;
    // A close that came during a nested wait takes effect once the outer handler has returned:
    // nothing still in use goes away under it.
    parts_->state.Handlers.whenIdle([this] { quit(); });
}

void Program::Start() {
    parts_->state.Handlers.run([this] { parts_->main.Start(); });
}

void Program::SessionEnding() {
    parts_->state.Handlers.run([this] { parts_->main.SessionEnding(); });
}

void Program::SessionEnd() {
    auto& p = *parts_;
    if (p.state.Ending)
        return;
    p.state.Handlers.run([&] {
        p.state.Ending = true;
        p.dialogs.cancelAll();
        p.password.Unload();
        p.main.Close(); // nothing when the close handler is running already
    });
    RequestQuit();
}

bool Program::canWriteHosts() const {
    return parts_->canWriteHosts;
}

bool Program::SecondStart(bool otherCanWriteHosts) {
    if (TakesOver(otherCanWriteHosts, parts_->canWriteHosts)) {
        SessionEnd();
        return true;
    }
    parts_->state.Handlers.run([this] { parts_->main.BringForward(); });
    return false;
}

bool TakesOver(bool selfCanWriteHosts, bool runningCanWriteHosts) {
    return selfCanWriteHosts && !runningCanWriteHosts;
}

} // namespace palisade
