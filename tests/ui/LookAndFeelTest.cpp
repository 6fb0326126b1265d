#include "ui/LookAndFeel.h"

#include "support/FakePorts.h"

#include <gtest/gtest.h>

namespace palisade::test {
namespace {

class RecordingSkinFramework : public SkinFramework {
public:
    std::vector<std::string> calls;
    std::int32_t options = 0x40;
    Window* applied = nullptr;

    void LoadSkin(const std::string& path, const std::string& section) override {
        calls.push_back("load " + path + " [" + section + "]");
    }
    std::int32_t Options() override {
        calls.push_back("get options");
        return options;
    }
    void SetOptions(std::int32_t value) override {
        calls.push_back("set options " + std::to_string(value));
    }
    void SetFlag(int id, bool value) override {
        calls.push_back("set " + std::to_string(id) + (value ? " true" : " false"));
    }
    void ApplyWindow(Window& window) override {
        calls.push_back("apply " + window.name());
        applied = &window;
    }
};

struct SkinRig : FakePorts {
    Form1Controls controls;
    RecordingSkinFramework framework;
    MainWindowSkin skin{fs, system, controls, framework};
    static constexpr const char* SkinFile = "C:\\Program Files\\Palisade\\x\\o.cjs";
};

TEST(ApplySkin, WithoutTheSkinFileTheLayoutColoursStayAndTheComponentIsNotCalled) {
    SkinRig rig;
    rig.skin.ApplySkin();
    EXPECT_TRUE(rig.framework.calls.empty());
    for (Control* control : rig.controls.controls())
        EXPECT_NE(control->backColor(), colors::ButtonFace) << control->name();
    EXPECT_EQ(rig.controls.window.backColor(), colors::White);
}

TEST(ApplySkin, WithTheSkinFileColoursFirstThenTheComponentInItsOrder) {
    SkinRig rig;
    rig.fs.files[SkinRig::SkinFile] = "skin";
    rig.skin.ApplySkin();

    EXPECT_EQ(rig.controls.window.backColor(), colors::ButtonFace);
    for (Control* control : rig.controls.controls()) {
        const bool coloured = control->kind() == ControlKind::CheckBox ||
                              control->kind() == ControlKind::Frame ||
                              control->kind() == ControlKind::Label;
        EXPECT_EQ(control->backColor() == colors::ButtonFace, coloured) << control->name();
    }
    EXPECT_EQ(
        rig.framework.calls,
        (std::vector<std::string>{std::string("load ") + SkinRig::SkinFile + " []", "get options",
                                  "set options 65", "set 5 true", "set 10 true", "apply Form1"}));
    EXPECT_EQ(rig.framework.applied, &rig.controls.window);
}

TEST(ApplySkin, AHiddenSkinFileIsNotFound) {
    SkinRig rig;
    rig.fs.files[SkinRig::SkinFile] = "skin";
    rig.fs.hidden.insert(SkinRig::SkinFile);
    rig.skin.ApplySkin();
    EXPECT_TRUE(rig.framework.calls.empty());
}

// Every control of both windows with the pointer a move over it leaves; -1 for those with no
// hover handler, which leave the pointer as it was.
struct HoverRow {
    const char* window;
    const char* control;
    int pointer;
};

void PrintTo(const HoverRow& row, std::ostream* os) {
    *os << row.window << "_" << row.control;
}

Control* Find(Window& window, std::vector<Control*> controls, const std::string& name) {
    if (name == window.name())
        return &window;
    for (Control* c : controls)
        if (c->name() == name)
            return c;
    return nullptr;
}

class Hover : public ::testing::TestWithParam<HoverRow> {};

TEST_P(Hover, SetsThePointerOfTheTableUnlessTheWindowIsBusy) {
    const HoverRow& row = GetParam();
    Form1Controls form1;
    Form2Controls form2;
    ConnectHoverPointers(form1.window, HoverTable(form1));
    ConnectHoverPointers(form2.window, HoverTable(form2));
    const bool first = std::string(row.window) == "Form1";
    Window& window = first ? form1.window : form2.window;
    Control* control = first ? Find(window, form1.controls(), row.control)
                             : Find(window, form2.controls(), row.control);
    ASSERT_NE(control, nullptr);

    for (int before : {pointers::Default, pointers::Custom}) {
        window.setMousePointer(before);
        control->mouseMove();
        EXPECT_EQ(window.mousePointer(), row.pointer < 0 ? before : row.pointer);
    }
    window.setMousePointer(pointers::Busy);
    control->mouseMove();
    EXPECT_EQ(window.mousePointer(), pointers::Busy);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Hover,
    ::testing::Values(HoverRow{"Form1", "PushButton1", 99}, HoverRow{"Form1", "PushButton2", 99},
                      HoverRow{"Form1", "PushButton3", 99}, HoverRow{"Form1", "PushButton4", 99},
                      HoverRow{"Form1", "PushButton5", 99}, HoverRow{"Form1", "PushButton6", 99},
                      HoverRow{"Form1", "Form1", 0}, HoverRow{"Form1", "ListView1", 0},
                      HoverRow{"Form1", "txtPassword", 0}, HoverRow{"Form1", "Frame1", 0},
                      HoverRow{"Form1", "Frame2", 0}, HoverRow{"Form1", "Check1", -1},
                      HoverRow{"Form1", "Check8", -1}, HoverRow{"Form1", "Check9", -1},
                      HoverRow{"Form1", "Label2", -1}, HoverRow{"Form2", "PushButton1", 99},
                      HoverRow{"Form2", "PushButton2", 99}, HoverRow{"Form2", "Form2", 0},
                      HoverRow{"Form2", "Frame2", 0}, HoverRow{"Form2", "txtPassword", -1}),
    [](const auto& info) { return std::string(info.param.window) + "_" + info.param.control; });

std::vector<std::string> Names(const std::vector<Control*>& controls) {
    std::vector<std::string> names;
    for (const Control* c : controls)
        names.push_back(c->name());
    return names;
}

TEST(Layout, TabOrderPassesOverFramesAndLabels) {
    Form1Controls form1;
    Form2Controls form2;
    EXPECT_EQ(Names(form1.tabOrder()),
              (std::vector<std::string>{"ListView1", "Check9", "PushButton6", "PushButton4",
                                        "PushButton3", "PushButton2", "Check1", "Check8",
                                        "txtPassword", "PushButton1", "PushButton5"}));
    EXPECT_EQ(Names(form2.tabOrder()),
              (std::vector<std::string>{"txtPassword", "PushButton2", "PushButton1"}));
}

TEST(Layout, WindowsAndTheirControlsTakeArialNineBoldPushButtonsElevenAndAQuarter) {
    const Font window{"Arial", 9.0, true, 204};
    const Font button{"Arial", 11.25, true, 204};
    Form1Controls form1;
    Form2Controls form2;
    EXPECT_EQ(form1.window.font(), window);
    EXPECT_EQ(form2.window.font(), window);
    std::vector<Control*> all = form1.controls();
    for (Control* c : form2.controls())
        all.push_back(c);
    for (Control* c : all)
        EXPECT_EQ(c->font(), c->kind() == ControlKind::PushButton ? button : window) << c->name();
}

} // namespace
} // namespace palisade::test
