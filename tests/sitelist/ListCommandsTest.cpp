#include "sitelist/ListCommands.h"

#include "sitelist/ListFiles.h"
#include "sitelist/SiteList.h"
#include "support/FakePorts.h"
#include "ui/ErrorTrap.h"

#include <gtest/gtest.h>
#include <set>

namespace palisade::test {
namespace {

using namespace std::string_literals;
using Entries = std::vector<std::string>;

struct ListRig : FakePorts {
    Form1Controls controls;
    AppState state;
    ListCommands commands{ports, controls, state};
    ListView& list = controls.ListView1;

    int writes() const { return settings.writeCount("Blocked Websites"); }
    std::string report(const char* procedure, int line) const {
        return ErrorReportText("Permission denied", "Form1", procedure, line);
    }
};

TEST(NormalizeBackslashes, HalvesPairsAndKeepsANetworkPathsLeadingPair) {
    // clang-format off
    const std::pair<std::string, std::string> cases[] = {
        {"C:\\\\a.txt", "C:\\a.txt"},     {"C:\\d\\a.txt", "C:\\d\\a.txt"},
        {"a\\\\\\b", "a\\\\b"},           {"\\\\srv\\\\s\\a", "\\\\srv\\s\\a"},
        {"\\srv\\a", "\\\\srv\\a"},       {"\\\\\\\\srv", "\\\\srv"},
        {"", ""},                         {"/home/u/a.txt", "/home/u/a.txt"}};
    // clang-format on
    for (const auto& [path, expected] : cases)
        EXPECT_EQ(NormalizeBackslashes(path), expected) << path;
}

TEST(SplitListLines, EveryLineEndCountsAndAFinalOneAddsNoEmptyEntry) {
    // clang-format off
    const std::pair<std::string, Entries> cases[] = {
        {"", {}},                  {"a", {"a"}},               {"a\n", {"a"}},
        {"a\r\nb\r\n", {"a", "b"}}, {"a\rb\r", {"a", "b"}},     {"\n", {""}},
        {"a\n\rb\r\n\nc", {"a", "", "b", "", "c"}},              {" x\t\0y"s, {" x\t\0y"s}}};
    // clang-format on
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(SplitListLines(text), expected) << text;
}

TEST(ListCommands, LoadsChosenFilesUnderTheBusyPointerWithOneWrite) {
    const std::tuple<std::string, std::string, Entries> cases[] = {
        {"\\", "C:\\\\d\\one.txt", {"C:\\\\d\\one.txt"}},
        {"\\", "C:\\\0a.txt\0b.txt"s, {"C:\\a.txt", "C:\\b.txt"}},
        {"/", "/h/x\\\\y\0b\\\\c.txt"s, {"/h/x\\\\y/b\\\\c.txt"}}};
    for (const auto& [sep, answer, expected] : cases) {
        ListRig rig;
        rig.system.sep = sep;
        for (const auto& path : expected)
            rig.fs.files[path] = "s1\r\ns2\n";
        rig.dialogs.openFileAnswers = {answer};
        Entries reads;
        std::set<int> pointersSeen;
        rig.fs.beforeOp = [&](FsOp op, const std::string& path) {
            if (op != FsOp::Read)
                return;
            reads.push_back(path);
            pointersSeen.insert(rig.controls.window.mousePointer());
            rig.list.select(rig.list.count() ? 1 : 0); // clear and remove do nothing now
            rig.commands.PushButton3_Click();
            rig.list.dblClick();
            rig.list.keyDown(DeleteKey, 0);
        };
        rig.controls.PushButton4.press();
        EXPECT_EQ(reads, expected) << answer;
        EXPECT_EQ(pointersSeen, std::set<int>{pointers::Busy});
        EXPECT_EQ(rig.list.count(), 2 * expected.size());
        EXPECT_EQ(rig.writes(), 1);
        const auto& r = rig.dialogs.openFileRequests.at(0);
        EXPECT_EQ(std::tie(r.title, r.filter, r.flags, r.appTitle),
                  std::tuple("Load List(s) - Hold Ctrl to select multiple list files"s,
                             "Text Files (*.txt)|*.txt|All Files (*.*)|*.*|"s, 2621953L,
                             rig.state.AppTitle));
    }
}

TEST(ListCommands, MissingUnreadableAndOversizedFilesAreReportedAndTheOthersStillLoadFast) {
    ListRig rig;
    rig.fs.files = {{"C:\\d\\bad.txt", ""}, {"C:\\d\\good.txt", ""}};
    rig.fs.files["C:\\d\\huge.txt"] = std::string(MaxListFileBytes + 1, '\n');
    for (int i = 0; i < 200000; ++i) // no write per line, nothing quadratic
        rig.fs.files["C:\\d\\good.txt"] += "site" + std::to_string(i) + "\n";
    rig.fs.fail(FsOp::Read, "C:\\d\\bad.txt");
    rig.dialogs.openFileAnswers = {"C:\\d\0gone.txt\0bad.txt\0good.txt"s, "C:\\d\\bad.txt",
                                   "C:\\d\\huge.txt", ""};
    for (int i = 0; i < 4; ++i)
        rig.controls.PushButton4.press();
    EXPECT_EQ(rig.dialogs.texts(),
              (Entries{"File not found", rig.report("PushButton4_Click", 122),
                       rig.report("PushButton4_Click", 118),
                       ErrorReportText("File too large", "Form1", "PushButton4_Click", 118)}));
    EXPECT_EQ(rig.list.count(), 200000u);
    EXPECT_EQ(rig.list.item(200000), "site199999");
    EXPECT_EQ(rig.writes(), 1);
    EXPECT_EQ(rig.controls.window.mousePointer(), pointers::Default);
}

TEST(ListCommands, AddSamplesClearAndRemoveWriteTheListOncePerChange) {
    ListRig rig;
    rig.dialogs.inputAnswers = {"", "  "};
    rig.controls.PushButton6.press(); // cancelled
    rig.controls.PushButton6.press();
    rig.controls.PushButton5.press();
    EXPECT_EQ(rig.list.items(), (Entries{"  ", "facebook.com", "instagram.com"}));
    EXPECT_EQ(rig.dialogs.prompts.at(0), "Enter URL/IP Address to block: ");
    rig.list.select(1);
    rig.list.dblClick();
    rig.list.select(2);
    rig.list.keyDown(45, 0);        // not Delete
    rig.list.keyDown(DeleteKey, 1); // Delete with Shift
    rig.list.keyDown(DeleteKey, 0); // nothing selected any more
    rig.list.dblClick();
    EXPECT_EQ(rig.list.items(), Entries{"facebook.com"});
    EXPECT_EQ(rig.writes(), 4);
    EXPECT_EQ(rig.settings.get("Blocked Websites"), "facebook.com" + std::string(ListSeparator));
    rig.controls.PushButton3.press();
    rig.controls.PushButton3.press(); // already empty
    rig.list.dblClick();
    EXPECT_EQ(rig.writes(), 5);
    EXPECT_EQ(rig.settings.get("Blocked Websites"), "");
}

TEST(ListCommands, ARefusedWriteIsReportedAndTheListStaysInMemory) {
    ListRig rig;
    rig.settings.failingKeys = {"Blocked Websites"};
    rig.controls.PushButton5.press();
    rig.list.select(1);
    rig.list.keyDown(DeleteKey, 0);
    EXPECT_EQ(rig.dialogs.texts(), (Entries{rig.report("PushButton5_Click", 104),
                                            rig.report("ListView1_KeyDown", 106)}));
    EXPECT_EQ(rig.list.items(), Entries{"instagram.com"});
}

} // namespace
} // namespace palisade::test
