#include "ui/LookAndFeel.h"

#include "platform/FileHelpers.h"

namespace palisade {

void SetBackColors(Window& window, const std::vector<Control*>& controls) {
    window.setBackColor(colors::ButtonFace);
    for (Control* control : controls) {
        switch (control->kind()) {
        case ControlKind::CheckBox:
        case ControlKind::Frame:
        case ControlKind::Label:
            control->setBackColor(colors::ButtonFace);
            break;
        default:
            break;
        }
    }
}

std::string HandPointerPath(SystemInfo& system) {
    return JoinPath(system, system.programFolder(), std::string(HandPointerName));
}

std::string MainWindowSkin::SkinPath() {
    return JoinPath(system_,
                    JoinPath(system_, system_.programFolder(), std::string(SkinFolderName)),
                    std::string(SkinFileName));
}

void MainWindowSkin::ApplySkin() {
    const std::string path = SkinPath();
    if (!fs_.find(path, EntryFilter::OrdinaryFiles))
        return;
    SetBackColors(c_.window, c_.controls());
    framework_.LoadSkin(path, "");
    framework_.SetOptions(framework_.Options() | 1);
    framework_.SetFlag(SkinFramework::FlagFiveId, true);
    framework_.SetFlag(SkinFramework::FlagTenId, true);
    framework_.ApplyWindow(c_.window);
}

std::vector<HoverRule> HoverTable(Form1Controls& c) {
    using namespace pointers;
    return {
        {&c.PushButton1, Custom}, {&c.PushButton2, Custom}, {&c.PushButton3, Custom},
        {&c.PushButton4, Custom}, {&c.PushButton5, Custom}, {&c.PushButton6, Custom},
        {&c.window, Default},     {&c.ListView1, Default},  {&c.txtPassword, Default},
        {&c.Frame1, Default},     {&c.Frame2, Default},
    };
}

std::vector<HoverRule> HoverTable(Form2Controls& c) {
    using namespace pointers;
    return {
        {&c.PushButton1, Custom},
        {&c.PushButton2, Custom},
        {&c.window, Default},
        {&c.Frame2, Default},
    };
}

void ConnectHoverPointers(Window& window, const std::vector<HoverRule>& table) {
    for (const HoverRule& rule : table) {
        rule.control->mouseMove.connect([&window, shape = rule.pointer] {
            if (window.mousePointer() != pointers::Busy)
                window.setMousePointer(shape);
        });
    }
}

} // namespace palisade
