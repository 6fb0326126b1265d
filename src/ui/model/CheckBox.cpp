#include "ui/model/CheckBox.h"

#include <stdexcept>

namespace palisade {

void CheckBox::setValue(int value) {
    if (value < Unchecked || value > Greyed)
        throw std::invalid_argument("Invalid property value");
    if (value == value_)
        return;
    value_ = value;
    notify();
    click();
}

} // namespace palisade
