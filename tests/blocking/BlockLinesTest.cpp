#include "blocking/BlockLines.h"

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

} // namespace
} // namespace palisade
