#include "blocking/BlockCommand.h"

#include "ui/ErrorTrap.h"

namespace palisade {

BlockCommand::BlockCommand(Ports& ports, Form1Controls& controls, AppState& state,
                           Blocking& blocking)
    : ports_(ports), c_(controls), state_(state), blocking_(blocking) {
    c_.PushButton2.click.connect(
        [this] { state_.Form1Buttons.run([this] { PushButton2_Click(); }); });
    c_.PushButton1.click.connect(
        [this] { state_.Form1Buttons.run([this] { PushButton1_Click(); }); });
}

void BlockCommand::ShowMessage(std::string_view text) {
    ports_.dialogs.messageBox(std::string(text), state_.AppTitle, MessageIcon::None);
}

void BlockCommand::PushButton2_Click() {
    ErrorTrap trap(ports_.dialogs, "Form1", "PushButton2_Click");
    std::string caption;

    trap(100, [&] { caption = c_.PushButton2.caption(); });
    if (trap.when(102, [&] { return caption != StopBlockingCaption; })) {
        if (trap.when(104, [&] { return c_.ListView1.count() == 0; })) {
            trap(106, [&] { ShowMessage(EmptyListText); });
            return;
        }
        trap(108, [&] { state_.SavedBlockCaption = c_.PushButton2.caption(); });
        trap(110, [&] { c_.PushButton2.setCaption(std::string(StopBlockingCaption)); });
        if (trap.when(112, [&] { return state_.UserIsAdmin; })) {
            trap(114, [&] { blocking_.StartBlocking(false); });
        } else {
            trap(116, [&] { c_.PushButton2.setCaption(state_.SavedBlockCaption); });
            trap(118, [&] { ShowMessage(state_.texts().startRefused); });
        }
    } else {
        trap(120, [&] { blocking_.StopBlocking(false, StopRequest::BlockButton); });
    }
}

void BlockCommand::PushButton1_Click() {
    ErrorTrap trap(ports_.dialogs, "Form1", "PushButton1_Click");
    trap(100, [&] { ShowMessage(state_.texts().help); });
}

} // namespace palisade
