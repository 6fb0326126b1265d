#pragma once

#include "blocking/Blocking.h"
#include "common/AppState.h"
#include "platform/Ports.h"
#include "ui/model/Form1Controls.h"

#include <string_view>

namespace palisade {

inline constexpr std::string_view EmptyListText = "Please add site to block.";

// The block button, which starts and stops blocking, and the "Help" button.
class BlockCommand {
public:
    // Connects itself to the clicks of both buttons.
    BlockCommand(Ports& ports, Form1Controls& controls, AppState& state, Blocking& blocking);
    BlockCommand(const BlockCommand&) = delete;
    BlockCommand& operator=(const BlockCommand&) = delete;

    void PushButton2_Click();
    void PushButton1_Click();

private:
    void ShowMessage(std::string_view text);

    Ports& ports_;
    Form1Controls& c_;
    AppState& state_;
    Blocking& blocking_;
};

} // namespace palisade
