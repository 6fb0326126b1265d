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

void Window::show() {
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
