#include "blocking/HostsText.h"

#include <gtest/gtest.h>
#include <vector>

namespace palisade {
namespace {

TEST(BlockedHost, UrlGivesItsHost) {
    EXPECT_EQ(BlockedHost("https://www.example.com/page"), "www.example.com");
    EXPECT_EQ(BlockedHost("http://example.com"), "example.com");
    EXPECT_EQ(BlockedHost("example.com/path?q=1#top"), "example.com");
    EXPECT_EQ(BlockedHost("example.com?q=a/b"), "example.com");
    EXPECT_EQ(BlockedHost("example.com#frag"), "example.com");
    EXPECT_EQ(BlockedHost("ftp://user:pw@files.example.com:2121/x"), "files.example.com");
    EXPECT_EQ(BlockedHost("https://a@b@example.com/"), "example.com");
    EXPECT_EQ(BlockedHost("www.example.com:8080"), "www.example.com");
}

TEST(BlockedHost, AtSignAfterThePathIsNotAUser) {
    EXPECT_EQ(BlockedHost("https://example.com/mail@me"), "example.com");
    EXPECT_EQ(BlockedHost("example.com?who=a@b"), "example.com");
}

TEST(BlockedHost, PlainHostsAndAddressesPassUnchanged) {
    EXPECT_EQ(BlockedHost("www.example.com"), "www.example.com");
    EXPECT_EQ(BlockedHost("192.0.2.7"), "192.0.2.7");
    EXPECT_EQ(BlockedHost("2001:db8::1"), "2001:db8::1");
    EXPECT_EQ(BlockedHost("::1"), "::1");
    EXPECT_EQ(BlockedHost("WWW.Example.COM"), "WWW.Example.COM");
}

TEST(BlockedHost, BracketedIpv6KeepsTheAddressAndDropsThePort) {
    EXPECT_EQ(BlockedHost("http://[2001:db8::1]:8080/x"), "2001:db8::1");
    EXPECT_EQ(BlockedHost("[::1]"), "::1");
}

TEST(BlockedHost, EntriesNamingNoHostGiveTheEmptyText) {
    EXPECT_EQ(BlockedHost(""), "");
    EXPECT_EQ(BlockedHost("https://"), "");
    EXPECT_EQ(BlockedHost("https:///path"), "");
    EXPECT_EQ(BlockedHost("user@"), "");
    EXPECT_EQ(BlockedHost(":80"), "");
    EXPECT_EQ(BlockedHost("[::1"), "");
}

TEST(BlockedHost, SurroundingSpacesAndTabsAreNotPartOfTheHost) {
    for (const char* entry : {" a.example ", "\ta.example :80", " https://a.example/x "})
        EXPECT_EQ(BlockedHost(entry), "a.example") << entry;
    EXPECT_EQ(BlockedHost("[ ::1 ]"), "::1");
    EXPECT_TRUE(IsBlankEntry(" \t ") && IsBlankEntry(""));
    EXPECT_FALSE(IsBlankEntry(" \r\n"));
}

TEST(IsHostOrAddress, OneNameOrAddressAndNothingElse) {
    for (const std::string& host :
         std::vector<std::string>{"www.example.com", "192.0.2.7", "2001:db8::1", "::1",
                                  "example.com.", "under_score.example", "xn--bcher-kva.example",
                                  "b\xC3\xBC"
                                  "cher.example",
                                  "localhost", std::string(63, 'a')})
        EXPECT_TRUE(IsHostOrAddress(host)) << host;
    for (const std::string& host : std::vector<std::string>{
             "", "# my list of sites", "/etc/hosts", "face book.com", "face\tbook.com", "a..b",
             ".a",
             "a\x01"
             "b",
             std::string("a\0b", 3), "*.example.com", "C:\\list.txt", "a:b", "2001:db8::g",
             std::string(64, 'a'), std::string(127, 'a') + "." + std::string(126, 'b')})
        EXPECT_FALSE(IsHostOrAddress(host)) << host;
    EXPECT_EQ(BlockedHost("file:///etc/hosts"), "");
    EXPECT_EQ(BlockedHost("C:\\list.txt"), "C:\\list.txt"); // a drive, not host C and a port
}

TEST(BlockLineFor, IsTheLoopbackTenSpacesAndTheHost) {
    EXPECT_EQ(BlockLineFor("https://www.example.com/page"),
              std::optional<std::string>("127.0.0.1          www.example.com"));
    EXPECT_EQ(std::string(BlockLinePrefix).size(), 19u);
}

TEST(BlockLineFor, RefusesLinesThatWouldInjectOthersOrNameNothing) {
    EXPECT_FALSE(BlockLineFor("evil.example\r\n0.0.0.0 bank.example"));
    EXPECT_FALSE(BlockLineFor("evil.example\nx"));
    EXPECT_FALSE(BlockLineFor("evil.example\rx"));
    EXPECT_FALSE(BlockLineFor(std::string("evil.example\0x", 14)));
    EXPECT_FALSE(BlockLineFor(""));
    EXPECT_FALSE(BlockLineFor("http://"));
    // A line break in the discarded path cannot reach the file.
    EXPECT_TRUE(BlockLineFor("example.com/\r\nx"));
}

TEST(HostsLines, SamenessIgnoresLineEndAndTrailingBlanksOnly) {
    const auto holds = [](const std::string& content, const std::string& host) {
        return BlockedHostIndex(content).contains(host);
    };
    const std::string content = "a\r\n127.0.0.1          x.example \t\r\nb";
    EXPECT_TRUE(holds(content, "x.example"));
    EXPECT_FALSE(holds(content, "x.exampl"));
    EXPECT_FALSE(holds(content, "b"));
    EXPECT_FALSE(holds("127.0.0.1 x.example\n", "x.example"));
    EXPECT_FALSE(holds(" 127.0.0.1          x.example\n", "x.example"));
    EXPECT_FALSE(holds("127.0.0.1           x.example\n", "x.example"));
}

TEST(HostsLines, IndexFindsHostsInAnyOrderAndAgain) {
    std::string content;
    for (int i = 0; i < 100; ++i)
        content += (i % 10 ? "" : "# other\r\n") + std::string("127.0.0.1          h") +
                   std::to_string(i) + "\r\n";
    BlockedHostIndex index(content);
    // In the file's order, out of it, after a jump, repeated, and hosts it lacks in between.
    for (const int i : {0, 1, 2, 50, 51, 7, 99, 99, 3, -1, 4, 100, 0, 98})
        EXPECT_EQ(index.contains("h" + std::to_string(i)), i >= 0 && i < 100) << i;
}

TEST(HostsLines, LineEndAtTheEnd) {
    EXPECT_TRUE(EndsWithLineEnd(""));
    EXPECT_TRUE(EndsWithLineEnd("a\n"));
    EXPECT_TRUE(EndsWithLineEnd("a\r\n"));
    EXPECT_FALSE(EndsWithLineEnd("a"));
    EXPECT_FALSE(EndsWithLineEnd("a\r"));
}

TEST(IsBlockLine, ThePrefixFollowedByACharacterOtherThanASpaceOrTab) {
    const std::string prefix = "127.0.0.1          ";
    for (const std::string& ours : {prefix + "a.example\r\n", prefix + "a", prefix + "\n"})
        EXPECT_TRUE(IsBlockLine(ours)) << "[" << ours << "]";
    for (const std::string& theirs : {prefix, prefix + " localhost\n", prefix + "\tlocalhost",
                                      "#" + prefix + "a\n", std::string("127.0.0.1         a")})
        EXPECT_FALSE(IsBlockLine(theirs)) << "[" << theirs << "]";
}

TEST(HostsLines, RemovingTheLinesOfSomeHostsKeepsEveryOtherByte) {
    const auto without = [](const std::string& content) {
        return WithoutBlockLinesFor(content, {"a.example", "last.example", "nine.example"});
    };
    const std::string mine = "127.0.0.1          a.example\r\n";
    EXPECT_EQ(without("# x\r\n" + mine + "10.0.0.1 intranet\n" + mine + "tail"),
              "# x\r\n10.0.0.1 intranet\ntail");
    // Lines that only look similar, or block other hosts, are someone else's.
    const std::string others = "127.0.0.1 localhost\n127.0.0.1         nine.example\n"
                               "127.0.0.1          b.example\n127.0.0.1          a.example.org\n";
    EXPECT_EQ(without(others), others);
    EXPECT_EQ(without("keep\n127.0.0.1          last.example \t"), "keep\n");
    EXPECT_EQ(without(std::string("a\0b\n", 4) + mine), std::string("a\0b\n", 4));
}

// After a stop every line the snapshot held is there as often as it was; ours and look-alikes
// added since are gone, other edits stay.
TEST(HostsLines, UnblockingKeepsWhatTheSnapshotHeld) {
    const std::string x = "127.0.0.1          x.example";
    const struct {
        std::string snapshot, current, after;
    } cases[] = {
        {"a\n" + x + "\n" + x + "\n", "a\n" + x + "\n" + x + "\n" + x + "\nb\n",
         "a\n" + x + "\n" + x + "\nb\n"},
        {"a\n" + x, "a\n" + x + "\r\n" + x + "\r\n", "a\n" + x},
        {"a", "a\n" + x + "\n", "a"},
        {"a", "a\n" + x + "\nadded\n", "a\nadded\n"},
        {"a\n", "a\n\n" + x + "\n", "a\n"},
        {"", x + "\n", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(UnblockedHosts(c.current, c.snapshot), c.after) << c.current;
}

} // namespace
} // namespace palisade
