#pragma once

#include "ui/model/Control.h"

#include <string>

namespace palisade {

enum class WindowState { Normal = 0, Minimized = 1, Maximized = 2 };

// Pointer shapes of a window.
namespace pointers {
inline constexpr int Default = 0;
inline constexpr int Busy = 11;
inline constexpr int Custom = 99;
} // namespace pointers

enum class WindowIcon { Designed, Program };

// A top-level window: caption, icon, state, visibility and pointer. Once the window has been
// shown, changing its state raises resize, as a user's minimise would. The first show raises
// resize before the window becomes visible, so a window minimised while loading can be hidden
// by its resize handling without ever being seen.
class Window : public Control {
public:
    Window(std::string name, std::string caption, Geometry clientArea)
        : Control(ControlKind::Window, std::move(name), std::move(caption), clientArea, -1) {
        setVisible(false);
    }

    WindowState state() const { return state_; }
    void setState(WindowState state);

    WindowIcon icon() const { return icon_; }
    void setIcon(WindowIcon icon);

    int mousePointer() const { return mousePointer_; }
    void setMousePointer(int shape);

    // Path of the loaded custom pointer image; empty when there is none.
    const std::string& mouseIcon() const { return mouseIcon_; }
    void setMouseIcon(std::string path);

    void show();
    void hide();
    // Whether the window has been shown once (it exists on screen, visible or not).
    bool created() const { return created_; }

    // The user asked to close the window (close box, system menu, Alt+F4). The front end does
    // not close it itself: the controller decides what closing means.
    void requestClose() { closeRequested(); }

    Signal<> resize;
    Signal<> mouseMove;
    Signal<> closeRequested;

private:
    WindowState state_ = WindowState::Normal;
    WindowIcon icon_ = WindowIcon::Designed;
    int mousePointer_ = pointers::Default;
    std::string mouseIcon_;
    bool created_ = false;
    bool firstShowing_ = false;
    bool hiddenWhileShowing_ = false;
};

} // namespace palisade
