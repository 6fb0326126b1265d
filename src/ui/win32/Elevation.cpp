#include "ui/win32/Elevation.h"

#include "platform/win32/Handles.h"
#include "ui/win32/WinApi.h"

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
