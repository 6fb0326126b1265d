#pragma once

#include "ui/model/CheckBox.h"
#include "ui/model/ListView.h"
#include "ui/model/PushButton.h"
#include "ui/model/TextBox.h"
#include "ui/model/Window.h"

#include <string_view>
#include <vector>

namespace palisade {

// The block button's two captions; exactly "Stop Blocking" means blocking is on.
inline constexpr std::string_view StartBlockingCaption = "Start Blocking";
inline constexpr std::string_view StopBlockingCaption = "Stop Blocking";

// The main window's controls with their designed values.
struct Form1Controls {
    Form1Controls();
    Form1Controls(const Form1Controls&) = delete;
    Form1Controls& operator=(const Form1Controls&) = delete;

    Window window{"Form1", "Form1", {0, 0, 8040, 6435}};
    PushButton PushButton1{"PushButton1", "Help", {120, 120, 7800, 405}, 12};
    Frame Frame2{"Frame2", "Password", {120, 4215, 7800, 825}, 10};
    TextBox txtPassword{"txtPassword", {240, 300, 7320, 345}, 11, '*'};
    Frame Frame1{"Frame1", "Startup Options", {120, 5070, 7800, 735}, 7};
    CheckBox Check8{"Check8", "Start in system tray", {4200, 300, 2220, 255}, 9};
    // Its caption differs between the platforms; the controller sets it.
    CheckBox Check1{"Check1", "", {240, 300, 3930, 255}, 8};
    ListView ListView1{"ListView1", {120, 630, 7800, 2535}, 0};
    CheckBox Check9{"Check9", "Block Administrator User", {120, 7050, 2580, 330}, 2};
    PushButton PushButton6{"PushButton6", "Add URL/IP Address", {120, 3255, 3840, 405}, 3};
    PushButton PushButton4{
        "PushButton4", "Load URL/IP Address From File", {4080, 3255, 3840, 405}, 4};
    PushButton PushButton3{"PushButton3", "Clear List", {120, 3765, 3840, 405}, 5};
    PushButton PushButton2{
        "PushButton2", std::string(StartBlockingCaption), {120, 5940, 7800, 405}, 6};
    PushButton PushButton5{"PushButton5", "Load Sample/Example Data", {4080, 3765, 3840, 405}, 13};
    Label Label2{"Label2", "Status", {120, 6750, 6960, 270}, 1};

    // Every control except the window, in stored order.
    std::vector<Control*> controls();
    // The controls that Tab moves the keyboard focus through, in that order.
    std::vector<Control*> tabOrder() { return FocusOrder(controls()); }
};

} // namespace palisade
