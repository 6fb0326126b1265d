#pragma once

#include "ui/model/Control.h"
#include "ui/model/PushButton.h"
#include "ui/model/TextBox.h"
#include "ui/model/Window.h"

#include <vector>

namespace palisade {

// The password dialog's controls with their designed values.
struct Form2Controls {
    Form2Controls();
    Form2Controls(const Form2Controls&) = delete;
    Form2Controls& operator=(const Form2Controls&) = delete;

    Window window{"Form2", "Enter Password", {0, 0, 8040, 1545}};
    Frame Frame2{"Frame2", "Password", {120, 120, 7800, 800}, 3};
    TextBox txtPassword{"txtPassword", {240, 300, 7320, 345}, 0, '*'};
    PushButton PushButton2{"PushButton2", "OK", {120, 1020, 3840, 405}, 1};
    PushButton PushButton1{"PushButton1", "Cancel", {4080, 1020, 3840, 405}, 2};

    std::vector<Control*> controls();
    std::vector<Control*> tabOrder() { return FocusOrder(controls()); }

    // Puts every control back as designed: the window is unloaded, nothing of the last showing
    // is kept.
    void discard();
};

} // namespace palisade
