#include "ui/LookAndFeel.h"

#include "support/FakePorts.h"

#include <gtest/gtest.h>

namespace palisade::test {
namespace {

struct RecordingSkinFramework : SkinFramework {
    std::vector<std::string> calls;
    void LoadSkin(const std::string& path, const std::string& section) override {
        calls.push_back(path + "|" + section);
    }
    std::int32_t Options() override { return 0x40; }
    void SetOptions(std::int32_t value) override { calls.push_back(std::to_string(value)); }
    void SetFlag(int id, bool on) override { calls.push_back(std::to_string(id * on)); }
    void ApplyWindow(Window& window) override { calls.push_back(window.name()); }
};

TEST(ApplySkin, OnlyASkinFileGivesButtonFaceColoursAndThenTheComponentsCalls) {
    const std::string file = "C:\\Program Files\\Palisade\\x\\o.cjs";
    for (bool present : {false, true}) {
        FakePorts ports;
        Form1Controls c;
        RecordingSkinFramework framework;
        if (present)
            ports.fs.files[file] = "skin";
        MainWindowSkin(ports.fs, ports.system, c, framework).ApplySkin();

        // Coloured: the button face with the button text on it.
        const auto on = [](const Control& x) {
            return x.backColor() == colors::ButtonFace && x.foreColor() == colors::ButtonText;
        };
        std::string coloured = on(c.window) ? "Form1 " : "";
        for (Control* control : c.controls())
            coloured += on(*control) ? control->name() + " " : "";
        EXPECT_EQ(coloured, present ? "Form1 Frame2 Frame1 Check8 Check1 Check9 Label2 " : "");
        const std::vector<std::string> calls = {file + "|", "65", "5", "10", "Form1"};
        EXPECT_EQ(framework.calls, present ? calls : std::vector<std::string>{});
    }
}

TEST(Hover, ButtonsShowTheHandSurfacesTheDefaultOthersNothingAndBusyStays) {
    Form1Controls a;
    Form2Controls b;
    ConnectHoverPointers(a.window, HoverTable(a));
    ConnectHoverPointers(b.window, HoverTable(b));
    // The pointer a move over each control leaves; -1: the pointer stays as it was.
    const std::vector<std::tuple<Window*, Control*, int>> table = {
        {&a.window, &a.PushButton1, 99}, {&a.window, &a.PushButton2, 99},
        {&a.window, &a.PushButton3, 99}, {&a.window, &a.PushButton4, 99},
        {&a.window, &a.PushButton5, 99}, {&a.window, &a.PushButton6, 99},
        {&a.window, &a.window, 0},       {&a.window, &a.ListView1, 0},
        {&a.window, &a.txtPassword, 0},  {&a.window, &a.Frame1, 0},
        {&a.window, &a.Frame2, 0},       {&a.window, &a.Check1, -1},
        {&a.window, &a.Check8, -1},      {&a.window, &a.Check9, -1},
        {&a.window, &a.Label2, -1},      {&b.window, &b.PushButton1, 99},
        {&b.window, &b.PushButton2, 99}, {&b.window, &b.window, 0},
        {&b.window, &b.Frame2, 0},       {&b.window, &b.txtPassword, -1}};
    for (const auto& [window, control, pointer] : table) {
        for (int before : {pointers::Default, pointers::Custom, pointers::Busy}) {
            window->setMousePointer(before);
            control->mouseMove();
            EXPECT_EQ(window->mousePointer(), pointer < 0 || before == 11 ? before : pointer)
                << window->name() << "." << control->name() << " from " << before;
        }
    }
}

} // namespace
} // namespace palisade::test
