#include "ui/model/Control.h"

namespace palisade {

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
    if (color == backColor_)
        return;
    backColor_ = color;
    notify();
}

void Control::setForeColor(Color color) {
    if (color == foreColor_)
        return;
    foreColor_ = color;
    notify();
}

} // namespace palisade
