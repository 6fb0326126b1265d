#include "blocking/BlockLines.h"

#include "blocking/HostsText.h"

#include <gtest/gtest.h>

namespace palisade {
namespace {

// A long list that names hosts again, as URLs too, and hosts the file blocks already: each host
// once, in list order, in pieces of whole lines, as many bytes as announced.
TEST(BlockLines, ComeInPiecesOfWholeLinesEachHostOnce) {
    const std::string file = "127.0.0.1 localhost\n127.0.0.1          h5.example\n# no line end";
    std::vector<std::string> entries;
    std::string expected = "\r\n";
    for (int i = 0; i < 9000; ++i) {
        const std::string host = "h" + std::to_string(i % 6000) + ".example";
        entries.push_back(i % 2 ? host : "https://" + host + "/page");
        if (i < 6000 && i != 5)
            expected += "127.0.0.1          " + host + "\r\n";
    }
    entries.push_back("not a host");

    BlockLines lines(entries, file, "\r\n", true);

    std::string written;
    for (std::string_view piece; lines.next(piece);) {
        EXPECT_TRUE(piece.ends_with("\r\n"));
        EXPECT_LE(piece.size(), LinePieceSize + 64);
        written += piece;
    }
    EXPECT_EQ(written, expected);
    EXPECT_EQ(lines.size(), expected.size());
    EXPECT_EQ(lines.skipped(), std::vector<std::size_t>{9000});
}

// Entries at the edges of a valid host name get the line, or the skip, that the rules for a
// single entry give them.
TEST(BlockLines, AgreeWithTheRulesForOneEntry) {
    const std::string label63(63, 'a');
    const std::string name253 =
        label63 + "." + label63 + "." + label63 + "." + std::string(61, 'b');
    const std::vector<std::string> entries = {
        label63 + ".x", label63 + "a.x",  name253, name253 + ".",
        name253 + "b",  name253 + "b.",   "a.",    ".a",
        "a..b",         "A-_\xc3\xa9.Z9", " c.d",  "e.f\t",
        "a b",          "a:80",           "::1",   "g/b",
        "\xff"};
    std::string expected;
    std::vector<std::size_t> skipped;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (const auto line = BlockLineFor(entries[i]))
            expected += *line + "\n";
        else
            skipped.push_back(i);
    }

    BlockLines lines(entries, "", "\n", false);

    std::string written;
    for (std::string_view piece; lines.next(piece);)
        written += piece;
    EXPECT_EQ(written, expected);
    EXPECT_EQ(lines.skipped(), skipped);
}

} // namespace
} // namespace palisade
