#include "windows/ui/ProgramIcons.h"

#include "windows/ui/Dpi.h"
#include "windows/ui/WinApi.h"
#include "windows/ui/resource.h"

namespace palisade::win32 {

namespace {
HICON Load(HINSTANCE instance, int size) {
    return static_cast<HICON>(::LoadImageA(instance, MAKEINTRESOURCEA(IDI_PALISADE), IMAGE_ICON,
                                           size, size, LR_DEFAULTCOLOR));
}
} // namespace

ProgramIcons::ProgramIcons(HINSTANCE instance, UINT dpi)
    : big_(Load(instance, SystemMetricForDpi(SM_CXICON, dpi))),
      small_(Load(instance, SystemMetricForDpi(SM_CXSMICON, dpi))) {}

} // namespace palisade::win32
