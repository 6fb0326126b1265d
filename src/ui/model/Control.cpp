#include "ui/model/Control.h"

#include <algorithm>

namespace palisade {

Color TextColorOn(Color background) {
    if ((background & 0x80000000u) != 0)
        return background == colors::ButtonFace ? colors::ButtonText : colors::WindowText;
    // Perceived lightness of 0x00BBGGRR, 0 to 255.
    const unsigned red = background & 0xFF, green = (background >> 8) & 0xFF,
                   blue = (background >> 16) & 0xFF;
    return (299 * red + 587 * green + 114 * blue) / 1000 >= 128 ? colors::Black : colors::White;
}

Control::Control(ControlKind kind, std::string name, std::string caption, Geometry geometry,
                 int tabIndex)
    : kind_(kind), name_(std::move(name)), caption_(std::move(caption)), geometry_(geometry),
      tabIndex_(tabIndex) {}

bool Control::takesFocus() const {
    switch (kind_) {
    case ControlKind::CheckBox:
    case ControlKind::TextBox:
    case ControlKind::PushButton:
    case ControlKind::ListView:
        return true;
    default:
        return false;
    }
}

void Control::setCaption(const std::string& caption) {
    if (caption == caption_)
        return;
    caption_ = caption;
    notify();
}

void Control::setVisible(bool visible) {
    if (visible == visible_)
        return;
    visible_ = visible;
    notify();
}

void Control::setBackColor(Color color) {
    if (color == backColor_ && TextColorOn(color) == foreColor_)
        return;
    backColor_ = color;
    foreColor_ = TextColorOn(color);
    notify();
}

void Control::setForeColor(Color color) {
    if (color == foreColor_)
        return;
    foreColor_ = color;
    notify();
}

std::vector<Control*> FocusOrder(std::vector<Control*> controls) {
    std::erase_if(controls, [](const Control* c) { return !c->takesFocus(); });
    std::stable_sort(controls.begin(), controls.end(), [](const Control* a, const Control* b) {
        return a->tabIndex() < b->tabIndex();
    });
    return controls;
}

} // namespace palisade
