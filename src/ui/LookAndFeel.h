#pragma once

#include "platform/FileSystem.h"
#include "platform/SystemInfo.h"
#include "ui/Skin.h"
#include "ui/model/Form1Controls.h"
#include "ui/model/Form2Controls.h"

#include <string>
#include <string_view>
#include <vector>

namespace palisade {

inline constexpr std::string_view HandPointerName = "HAND-M.CUR";
// Under the program folder.
inline constexpr std::string_view SkinFolderName = "x";
inline constexpr std::string_view SkinFileName = "o.cjs";

// Gives the window and its check boxes, frames and labels the button-face colour. Push buttons,
// lists, text boxes are left alone.
void SetBackColors(Window& window, const std::vector<Control*>& controls);

// The program folder followed by the hand pointer file's name.
std::string HandPointerPath(SystemInfo& system);

// The main window's skin: when the skin file is there, the button-face colours and then the
// skinning component's calls. No error trap of its own: a failure passes to the load handler.
class MainWindowSkin : public Skin {
public:
    MainWindowSkin(FileSystem& fs, SystemInfo& system, Form1Controls& controls,
                   SkinFramework& framework)
        : fs_(fs), system_(system), c_(controls), framework_(framework) {}

    void ApplySkin() override;
    std::string SkinPath();

private:
    FileSystem& fs_;
    SystemInfo& system_;
    Form1Controls& c_;
    SkinFramework& framework_;
};

// One row of the hover table: moving the pointer over control sets the window's pointer shape
// to pointer, unless the window shows the busy pointer.
struct HoverRule {
    Control* control;
    int pointer;
};

std::vector<HoverRule> HoverTable(Form1Controls& c);
std::vector<HoverRule> HoverTable(Form2Controls& c);

// Connects the mouse-move events of the table's controls to window's pointer shape.
void ConnectHoverPointers(Window& window, const std::vector<HoverRule>& table);

} // namespace palisade
