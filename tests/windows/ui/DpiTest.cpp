#include "windows/ui/Dpi.h"

#include <gtest/gtest.h>

namespace palisade::win32::test {
namespace {

TEST(Dpi, ThePerMonitorFunctionsAreFoundByNameAndWithoutThemTheSystemDpiServes) {
    const DpiFunctions found = DpiFunctions::Of(::GetModuleHandleA("user32.dll"));
    EXPECT_TRUE(found.getDpiForWindow && found.getDpiForSystem && found.adjustWindowRectExForDpi &&
                found.getSystemMetricsForDpi);

    const DpiFunctions none = DpiFunctions::Of(::GetModuleHandleA("kernel32.dll"));
    HDC screen = ::GetDC(nullptr);
    const UINT dpi = static_cast<UINT>(::GetDeviceCaps(screen, LOGPIXELSX));
    ::ReleaseDC(nullptr, screen);
    EXPECT_EQ(WindowDpi(nullptr, none), dpi);
    RECT plain{0, 0, 300, 200}, adjusted = plain;
    ::AdjustWindowRectEx(&plain, WS_CAPTION, FALSE, 0);
    AdjustWindowRectForDpi(adjusted, WS_CAPTION, 0, dpi, none);
    EXPECT_TRUE(::EqualRect(&plain, &adjusted));
    EXPECT_EQ(SystemMetricForDpi(SM_CXICON, 2 * dpi, none), 2 * ::GetSystemMetrics(SM_CXICON));
}

} // namespace
} // namespace palisade::win32::test
