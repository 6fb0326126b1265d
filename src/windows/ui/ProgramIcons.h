#pragma once

#include "windows/system/Handles.h"
#include "windows/ui/WinApi.h"

namespace palisade::win32 {

// The program's icon from its resources, in the sizes the title bar, the task switcher and the
// notification area ask for on a monitor of the given dots per inch.
class ProgramIcons {
public:
    ProgramIcons(HINSTANCE instance, UINT dpi);

    HICON big() const { return big_.get(); }
    HICON small() const { return small_.get(); }

private:
    UniqueIcon big_;
    UniqueIcon small_;
};

} // namespace palisade::win32
