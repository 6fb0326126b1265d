#include "windows/ui/OpenFileText.h"

#include <gtest/gtest.h>

namespace palisade::win32 {
namespace {

using namespace std::string_literals;

TEST(OpenFileText, FilterBarsBecomeNulsEndingInTwo) {
    EXPECT_EQ(FilterForDialog("Text Files (*.txt)|*.txt|All Files (*.*)|*.*|"),
              "Text Files (*.txt)\0*.txt\0All Files (*.*)\0*.*\0\0"s);
    // Without its closing bar the list still ends properly.
    EXPECT_EQ(FilterForDialog("All|*.*"), "All\0*.*\0\0"s);
    EXPECT_EQ(FilterForDialog(""), "\0\0"s);
}

struct Chosen {
    const char* name;
    std::string buffer;
    std::string result;
};

class DialogResult : public ::testing::TestWithParam<Chosen> {};

TEST_P(DialogResult, IsHandedOnAsPiecesJoinedBySingleNuls) {
    std::string buffer = GetParam().buffer;
    buffer.resize(64, '\0');
    EXPECT_EQ(ResultFromBuffer(buffer.data(), buffer.size()), GetParam().result);
}

INSTANTIATE_TEST_SUITE_P(
    Selections, DialogResult,
    ::testing::Values(Chosen{"OneFile", "C:\\lists\\a.txt\0\0"s, "C:\\lists\\a.txt"},
                      Chosen{"SeveralFiles", "C:\\lists\0a.txt\0b b.txt\0c.txt\0\0"s,
                             "C:\\lists\0a.txt\0b b.txt\0c.txt"s},
                      Chosen{"DriveRoot", "C:\\\0a.txt\0b.txt\0\0"s, "C:\\\0a.txt\0b.txt"s},
                      Chosen{"Cancelled", ""s, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(OpenFileText, ABufferFilledToItsEndStopsThere) {
    const std::string full = "C:\\lists\0a.txt"s; // no room was left for the ending NULs
    EXPECT_EQ(ResultFromBuffer(full.data(), full.size()), full);
}

} // namespace
} // namespace palisade::win32
