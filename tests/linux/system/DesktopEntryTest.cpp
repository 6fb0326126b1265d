#include "linux/system/DesktopEntry.h"

#include <cctype>
#include <gtest/gtest.h>
#include <ostream>

namespace palisade {
namespace {

struct ExecCase {
    std::string path;
    std::string written; // as it stands in the file
};

// Test runners name each case after this: plain characters only, and no addresses.
void PrintTo(const ExecCase& c, std::ostream* os) {
    const std::string& text = c.path;
    static const char hex[] = "0123456789ABCDEF";
    for (char ch : text) {
        const auto byte = static_cast<unsigned char>(ch);
        if (std::isalnum(byte))
            *os << ch;
        else
            *os << '_' << hex[byte >> 4] << hex[byte & 15];
    }
}

class DesktopExec : public ::testing::TestWithParam<ExecCase> {};

TEST_P(DesktopExec, QuotesAndEscapesThePathAsTheFormatRequires) {
    EXPECT_EQ(DesktopExecArgument(GetParam().path), GetParam().written);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, DesktopExec,
    ::testing::Values(ExecCase{"/opt/palisade/palisade", "/opt/palisade/palisade"},
                      ExecCase{"/opt/Pal isade/palisade", "\"/opt/Pal isade/palisade\""},
                      // quoted, then every backslash doubled by the string escape
                      ExecCase{"/opt/a\"b", "\"/opt/a\\\\\"b\""},
                      ExecCase{"/opt/a$b", "\"/opt/a\\\\$b\""},
                      ExecCase{"/opt/a\\b", "\"/opt/a\\\\\\\\b\""},
                      ExecCase{"/opt/a`b", "\"/opt/a\\\\`b\""},
                      ExecCase{"/opt/it's", "\"/opt/it's\""}, ExecCase{"/opt/(x)", "\"/opt/(x)\""},
                      // field codes: a literal percent sign is doubled, quoted or not
                      ExecCase{"/opt/100%/p", "/opt/100%%/p"},
                      ExecCase{"/opt/a b\tc\nd", "\"/opt/a b\\tc\\nd\""}));

TEST(DesktopStringValue, EscapesControlsBackslashesAndALeadingSpace) {
    EXPECT_EQ(DesktopString(" a b\\c\r"), "\\sa b\\\\c\\r");
    EXPECT_EQ(DesktopString("/opt/Pal isade/palisade"), "/opt/Pal isade/palisade");
}

TEST(AutostartEntry, IsAnApplicationNamedAfterTheValueStartingThePath) {
    EXPECT_EQ(AutostartDesktopEntry("palisade", "/opt/Pal isade/palisade"),
              "[Desktop Entry]\n"
              "Type=Application\n"
              "Name=palisade\n"
              "Exec=\"/opt/Pal isade/palisade\"\n"
              "TryExec=/opt/Pal isade/palisade\n");
}

} // namespace
} // namespace palisade
