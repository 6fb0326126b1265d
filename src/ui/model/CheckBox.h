#pragma once

#include "ui/model/Control.h"

namespace palisade {

// A check box whose value is 0 (unchecked), 1 (checked) or 2 (greyed, set only by code).
// Any change of value, by the user or by code, raises click; setting the same value does not.
class CheckBox : public Control {
public:
    static constexpr int Unchecked = 0;
    static constexpr int Checked = 1;
    static constexpr int Greyed = 2;

    CheckBox(std::string name, std::string caption, Geometry geometry, int tabIndex)
        : Control(ControlKind::CheckBox, std::move(name), std::move(caption), geometry, tabIndex) {}

    int value() const { return value_; }
    bool checked() const { return value_ == Checked; }
    void setValue(int value);

    Signal<> click;

private:
    int value_ = Unchecked;
};

} // namespace palisade
