#pragma once

#include "ui/model/Control.h"

namespace palisade::win32 {

// Window classes of the program, by which a second copy (and the tests) find its windows.
inline constexpr const char* Form1ClassName = "Palisade.Form1";
inline constexpr const char* Form2ClassName = "Palisade.Form2";
inline constexpr const char* TrayClassName = "Palisade.TrayIcon";

// The message a second copy sends the running copy's main window: wParam says whether the new
// copy can write the hosts file; the answer is 1 plus whether the running copy can.
inline constexpr const char* SecondStartMessageName = "Palisade.SecondStart.Quillmoor";

// Each control's child-window identifier: its tab index, unique within its window, above the
// identifiers the dialog manager gives meaning to (IDOK, IDCANCEL).
inline int ControlId(const Control& control) {
    return 1000 + control.tabIndex();
}

} // namespace palisade::win32
