#include "app/Program.h"

#include "app/Form1.h"
#include "blocking/BlockCommand.h"
#include "blocking/HostsBlocker.h"
#include "common/AppState.h"

namespace palisade {

namespace {

// Stands in for the tray control until it is built: no icon, no balloon.
class NoTray : public TrayControl {
public:
    void setTrayTip(const std::string&) override {}
    bool inTray() const override { return inTray_; }
    void setInTray(bool inTray) override { inTray_ = inTray; }
    void ShowBalloon(const std::string&, const std::string&, std::int32_t, std::int16_t) override {}
    bool available() override { return false; }

private:
    bool inTray_ = false;
};

class NoSkin : public Skin {
public:
    void ApplySkin() override {}
};

} // namespace

struct Program::Parts {
    Parts(Ports& ports, HostsPaths paths)
        : blocker(ports, form1, state, std::move(paths)), command(ports, form1, state, blocker),
          main(ports, form1, state, blocker, tray, skin) {}

    Form1Controls form1;
    Form2Controls form2;
    AppState state;
    NoTray tray;
    NoSkin skin;
    HostsBlocker blocker;
    BlockCommand command;
    Form1 main;
    bool canWriteHosts = false;
};

Program::Program(Ports& ports, Platform, HostsPaths paths, bool canWriteHosts)
    : parts_(std::make_unique<Parts>(ports, std::move(paths))) {
    parts_->canWriteHosts = canWriteHosts;
}

Program::~Program() = default;

Form1Controls& Program::form1() {
    return parts_->form1;
}

Form2Controls& Program::form2() {
    return parts_->form2;
}

void Program::Start() {
    parts_->main.Start();
}

void Program::SessionEnding() {}

void Program::SessionEnd() {
    quit();
}

bool Program::canWriteHosts() const {
    return parts_->canWriteHosts;
}

bool Program::SecondStart(bool otherCanWriteHosts) {
    return TakesOver(otherCanWriteHosts, parts_->canWriteHosts);
}

bool TakesOver(bool selfCanWriteHosts, bool runningCanWriteHosts) {
    return selfCanWriteHosts && !runningCanWriteHosts;
}

} // namespace palisade
