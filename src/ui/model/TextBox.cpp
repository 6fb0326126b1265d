#include "ui/model/TextBox.h"

#include <algorithm>

namespace palisade {

void TextBox::setText(const std::string& text) {
    if (text == text_)
        return;
    text_ = text;
    selStart_ = std::min(selStart_, text_.size());
    selLength_ = std::min(selLength_, text_.size() - selStart_);
    notify();
    change();
}

void TextBox::select(std::size_t start, std::size_t length) {
    selStart_ = std::min(start, text_.size());
    selLength_ = std::min(length, text_.size() - selStart_);
    notify();
}

void TextBox::setFocus() {
    focused_ = true;
    focusRequested();
}

} // namespace palisade
