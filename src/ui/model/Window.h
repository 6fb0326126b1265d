#pragma once

#include "ui/model/Control.h"
#include "ui/model/PushButton.h"

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
//
// A window is loaded from its first show (or an explicit load) until it is unloaded; unloading
// hides it and lets its controller put its controls back as designed, so the next showing
// starts afresh. A front end follows loaded() through changed.
class Window : public Control {
public:
    Window(std::string name, std::string caption, Geometry clientArea)
        : Control(ControlKind::Window, std::move(name), std::move(caption), clientArea, -1) {
        setVisible(false);
        setFont(fonts::Window);
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

    bool loaded() const { return loaded_; }
    void load();
    // Hides the window, forgets that it was shown and raises unloaded. Nothing when not loaded.
    void unload();

    // Asks the front end to bring the window to the front and give it the keyboard focus.
    void activate() { activateRequested(); }

    // The user asked to close the window (close box, system menu, Alt+F4). The front end does
    // not close it itself: the controller decides what closing means.
    void requestClose() { closeRequested(); }

    // The buttons that Enter and Escape press; none unless the layout names them.
    PushButton* defaultButton() const { return defaultButton_; }
    PushButton* cancelButton() const { return cancelButton_; }
    void setDefaultButton(PushButton* button) { defaultButton_ = button; }
    void setCancelButton(PushButton* button) { cancelButton_ = button; }
    // What a front end calls when the user presses Enter or Escape in the window. False when the
    // window has no such button, so the key goes on to the control that has the focus.
    bool pressDefault();
    bool pressCancel();

    Signal<> resize;
    Signal<> closeRequested;
    Signal<> activateRequested;
    Signal<> unloaded;

private:
    WindowState state_ = WindowState::Normal;
    WindowIcon icon_ = WindowIcon::Designed;
    int mousePointer_ = pointers::Default;
    std::string mouseIcon_;
    bool created_ = false;
    bool loaded_ = false;
    bool firstShowing_ = false;
    bool hiddenWhileShowing_ = false;
    PushButton* defaultButton_ = nullptr;
    PushButton* cancelButton_ = nullptr;
};

} // namespace palisade
