#pragma once

#include "ui/model/ListView.h"

#include <QWidget>

namespace palisade::qt {

// The site list: a one-column view with a header, uniform rows and the control's tool tip. The
// user's selection, double-clicks, keys and pointer moves reach the control as its events.
QWidget* MakeListViewWidget(ListView& list, QWidget* parent);

// The key code of a key as the list's key event reports it (46 for Delete); 0 for keys that
// have none.
int KeyCodeOf(int qtKey);

} // namespace palisade::qt
