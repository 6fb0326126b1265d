#pragma once

#include "ui/model/Control.h"
#include "windows/ui/WinApi.h"

namespace palisade::win32 {

// Draws a push button in its model's colours. A themed BUTTON ignores WM_CTLCOLORBTN and draws
// its own face, so the buttons are drawn here at the custom-draw stage that precedes painting.
// Returns what the NM_CUSTOMDRAW notification answers.
LRESULT PaintPushButton(const NMCUSTOMDRAW& draw, const Control& model, HFONT font, HBRUSH face);

} // namespace palisade::win32
