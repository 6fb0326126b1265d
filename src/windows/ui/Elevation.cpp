#include "windows/ui/Elevation.h"

#include "windows/system/Handles.h"
#include "windows/ui/WinApi.h"

namespace palisade::win32 {

bool ProcessIsElevated() {
    UniqueHandle token;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, token.put()))
        return false;
    TOKEN_ELEVATION elevation{};
    DWORD returned = 0;
    if (!::GetTokenInformation(token.get(), TokenElevation, &elevation, sizeof elevation,
                               &returned))
        return false;
    return elevation.TokenIsElevated != 0;
}

} // namespace palisade::win32
