#include "windows/ui/Units.h"

#include <array>
#include <gtest/gtest.h>

namespace palisade::win32 {
namespace {

struct Scaling {
    const char* name;
    UINT dpi;
    RECT listView;    // ListView1 at the window's origin
    RECT passwordBox; // txtPassword inside Frame2
    int buttonFont;   // 11.25 pt
    int windowFont;   // 9 pt
};

class DesignedGeometry : public ::testing::TestWithParam<Scaling> {};

// At 96 dpi fifteen twips are a pixel; larger monitors scale every edge, and a control inside a
// frame is placed from the frame's origin.
TEST_P(DesignedGeometry, TwipsBecomePixelsForTheMonitor) {
    const Scaling& s = GetParam();
    const RECT list = PixelRect({120, 630, 7800, 2535}, {}, s.dpi);
    const RECT box = PixelRect({240, 300, 7320, 345}, {120, 4215, 7800, 825}, s.dpi);
    EXPECT_EQ((std::array{list.left, list.top, list.right, list.bottom}),
              (std::array{s.listView.left, s.listView.top, s.listView.right, s.listView.bottom}));
    EXPECT_EQ((std::array{box.left, box.top, box.right, box.bottom}),
              (std::array{s.passwordBox.left, s.passwordBox.top, s.passwordBox.right,
                          s.passwordBox.bottom}));
    EXPECT_EQ(FontHeight(11.25, s.dpi), s.buttonFont);
    EXPECT_EQ(FontHeight(9, s.dpi), s.windowFont);
}

INSTANTIATE_TEST_SUITE_P(
    Monitors, DesignedGeometry,
    ::testing::Values(Scaling{"dpi96", 96, {8, 42, 528, 211}, {24, 301, 512, 324}, -15, -12},
                      Scaling{"dpi144", 144, {12, 63, 792, 317}, {36, 452, 768, 486}, -23, -18},
                      Scaling{"dpi192", 192, {16, 84, 1056, 422}, {48, 602, 1024, 648}, -30, -24}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Colours, FixedColoursPassThroughAndSystemColoursAreLookedUp) {
    EXPECT_EQ(ColorRefOf(0x00FFFFFF), RGB(255, 255, 255));
    EXPECT_EQ(ColorRefOf(0x00123456), static_cast<COLORREF>(0x00123456));
    EXPECT_EQ(ColorRefOf(0x8000000F), ::GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(ColorRefOf(0x80000008), ::GetSysColor(COLOR_WINDOWTEXT));
    EXPECT_TRUE(IsSystemColor(0x80000005));
    EXPECT_FALSE(IsSystemColor(0x00FFFFFF));
}

// Check9 and Label2 lie below the client area as designed: nothing moves them into view.
TEST(DesignedGeometry, ControlsBelowTheClientAreaStayBelowItAtEveryScale) {
    for (UINT dpi : {96u, 120u, 144u, 192u}) {
        const int clientHeight = TwipsToPixels(6435, dpi);
        EXPECT_GT(PixelRect({120, 7050, 2580, 330}, {}, dpi).top, clientHeight) << dpi;
        EXPECT_GT(PixelRect({120, 6750, 6960, 270}, {}, dpi).top, clientHeight) << dpi;
    }
}

} // namespace
} // namespace palisade::win32
