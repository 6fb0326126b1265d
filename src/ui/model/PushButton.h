#pragma once

#include "ui/model/Control.h"

namespace palisade {

// A push button: a caption that reads back exactly as written, a click and a mouse-move event.
class PushButton : public Control {
public:
    PushButton(std::string name, std::string caption, Geometry geometry, int tabIndex)
        : Control(ControlKind::PushButton, std::move(name), std::move(caption), geometry,
                  tabIndex) {
        setFont(fonts::PushButton);
    }

    void press() { click(); }

    Signal<> click;
};

// Frames and labels only show a caption.
class Frame : public Control {
public:
    Frame(std::string name, std::string caption, Geometry geometry, int tabIndex)
        : Control(ControlKind::Frame, std::move(name), std::move(caption), geometry, tabIndex) {}
};

class Label : public Control {
public:
    Label(std::string name, std::string caption, Geometry geometry, int tabIndex)
        : Control(ControlKind::Label, std::move(name), std::move(caption), geometry, tabIndex) {}
};

} // namespace palisade
