#include "ui/model/Window.h"

namespace palisade {

void Window::setState(WindowState state) {
    if (state == state_)
        return;
    state_ = state;
    notify();
    if (created_)
        resize();
}

void Window::load() {
    if (loaded_)
        return;
    loaded_ = true;
    notify();
}

void Window::show() {
    load();
    if (!created_) {
        created_ = true;
        firstShowing_ = true;
        hiddenWhileShowing_ = false;
        resize();
        firstShowing_ = false;
        if (hiddenWhileShowing_)
            return;
    }
    setVisible(true);
}

void Window::hide() {
    if (firstShowing_)
        hiddenWhileShowing_ = true;
    setVisible(false);
}

void Window::unload() {
    if (!loaded_)
        return;
    hide();
    loaded_ = false;
    created_ = false;
    state_ = WindowState::Normal;
    notify();
    unloaded();
}

bool Window::pressDefault() {
    if (!defaultButton_)
        return false;
    defaultButton_->press();
    return true;
}

bool Window::pressCancel() {
    if (!cancelButton_)
        return false;
    cancelButton_->press();
    return true;
}

void Window::setIcon(WindowIcon icon) {
    if (icon == icon_)
        return;
    icon_ = icon;
    notify();
}

void Window::setMousePointer(int shape) {
    if (shape == mousePointer_)
        return;
    mousePointer_ = shape;
    notify();
}

void Window::setMouseIcon(std::string path) {
    mouseIcon_ = std::move(path);
    notify();
}

} // namespace palisade
