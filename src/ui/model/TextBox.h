#pragma once

#include "ui/model/Control.h"

#include <cstddef>

namespace palisade {

// A single-line text box. Every change of its text raises change, whoever made it.
class TextBox : public Control {
public:
    TextBox(std::string name, Geometry geometry, int tabIndex, char passwordChar = '\0')
        : Control(ControlKind::TextBox, std::move(name), {}, geometry, tabIndex),
          passwordChar_(passwordChar) {}

    const std::string& text() const { return text_; }
    void setText(const std::string& text);

    char passwordChar() const { return passwordChar_; }

    // Selection in bytes of the text; the front end maps it onto what it shows.
    std::size_t selStart() const { return selStart_; }
    std::size_t selLength() const { return selLength_; }
    void select(std::size_t start, std::size_t length);

    bool hasFocus() const { return focused_; }
    void setFocus();
    void clearFocus() { focused_ = false; }

    Signal<> change;
    Signal<> focusRequested;

private:
    std::string text_;
    char passwordChar_;
    std::size_t selStart_ = 0;
    std::size_t selLength_ = 0;
    bool focused_ = false;
};

} // namespace palisade
