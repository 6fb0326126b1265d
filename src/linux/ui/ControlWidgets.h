#pragma once

#include "ui/model/Control.h"

#include <QWidget>

namespace palisade::qt {

// Makes the widget of one control inside parent, named after the control, at its designed
// place, size and font, and keeps it in step with the control: the control's changes show in
// the widget, and the user's actions on the widget reach the control as its events.
QWidget* MakeControlWidget(Control& control, QWidget* parent);

// Gives each widget the colours of its control: its background and its text.
void ApplyColors(QWidget* widget, const Control& control);

} // namespace palisade::qt
