#include "sitelist/SiteList.h"

#include <gtest/gtest.h>

namespace palisade {
namespace {

const std::string Sep(ListSeparator);

std::vector<std::string> Restored(const std::string& stored) {
    ListView list("ListView1", {}, 0);
    RestoreSiteList(list, stored);
    return list.items();
}

std::string SavedThenRestoredOnce(const std::vector<std::string>& entries,
                                  std::vector<std::string>* restored) {
    ListView list("ListView1", {}, 0);
    for (const auto& e : entries)
        list.add(e);
    const std::string stored = SerializeSiteList(list);
    *restored = Restored(stored);
    return stored;
}

TEST(SiteListRestore, SkipsEmptyPiecesAndKeepsStoredOrder) {
    EXPECT_EQ(Restored("b.example" + Sep + Sep + "a.example" + Sep),
              (std::vector<std::string>{"b.example", "a.example"}));
    EXPECT_EQ(Restored(Sep + Sep + Sep), std::vector<std::string>{});
    EXPECT_EQ(Restored(""), std::vector<std::string>{});
}

TEST(SiteListRestore, ValueWithoutSeparatorIsOneEntry) {
    EXPECT_EQ(Restored("just one site"), std::vector<std::string>{"just one site"});
}

TEST(SiteListRestore, SeparatorMatchIsExactAndCaseSensitive) {
    EXPECT_EQ(Restored("a||my_separator||b"), std::vector<std::string>{"a||my_separator||b"});
    // A partial separator at the end is ordinary text.
    EXPECT_EQ(Restored("a||My_Separator|"), std::vector<std::string>{"a||My_Separator|"});
}

TEST(SiteListSave, EveryEntryIsFollowedByTheSeparator) {
    std::vector<std::string> restored;
    EXPECT_EQ(SavedThenRestoredOnce({"a", "b"}, &restored), "a" + Sep + "b" + Sep);
    EXPECT_EQ(SavedThenRestoredOnce({}, &restored), "");
}

TEST(SiteListRoundTrip, KeepsDuplicatesSpacesAndBytes) {
    const std::vector<std::string> entries{" spaced ",  "dup",      "dup", "caf\xC3\xA9.example",
                                           "\xE9t\xE9", "tab\there"};
    std::vector<std::string> restored;
    SavedThenRestoredOnce(entries, &restored);
    EXPECT_EQ(restored, entries);
}

TEST(SiteListRoundTrip, EmptyEntryIsDroppedAndSeparatorInsideAnEntrySplitsIt) {
    std::vector<std::string> restored;
    EXPECT_EQ(SavedThenRestoredOnce({"a", "", "b"}, &restored), "a" + Sep + Sep + "b" + Sep);
    EXPECT_EQ(restored, (std::vector<std::string>{"a", "b"}));
    SavedThenRestoredOnce({"x" + Sep + "y"}, &restored);
    EXPECT_EQ(restored, (std::vector<std::string>{"x", "y"}));
}

TEST(SiteListRoundTrip, TwoHundredThousandEntriesComeBackComplete) {
    ListView list("ListView1", {}, 0);
    for (int i = 0; i < 200000; ++i)
        list.add("site" + std::to_string(i) + ".example");
    const std::string stored = SerializeSiteList(list);
    ListView back("ListView1", {}, 0);
    RestoreSiteList(back, stored);
    ASSERT_EQ(back.count(), 200000u);
    EXPECT_EQ(back.item(1), "site0.example");
    EXPECT_EQ(back.item(32768), "site32767.example");
    EXPECT_EQ(back.item(200000), "site199999.example");
    EXPECT_EQ(back.items(), list.items());
}

} // namespace
} // namespace palisade
