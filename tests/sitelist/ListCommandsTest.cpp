#include "sitelist/ListCommands.h"

#include "common/ErrorTrap.h"
#include "sitelist/ListFiles.h"
#include "sitelist/SiteList.h"
#include "support/FakePorts.h"

#include <gtest/gtest.h>

namespace palisade::test {
namespace {

using namespace std::string_literals;
using Entries = std::vector<std::string>;
const std::string Sep(ListSeparator);

struct ListRig : FakePorts {
    Form1Controls controls;
    AppState state;
    ListCommands commands{ports, controls, state};
    ListView& list = controls.ListView1;

    void fill(const Entries& entries) {
        for (const auto& e : entries)
            list.add(e);
    }
    int writes() const { return settings.writeCount("Blocked Websites"); }
    void chooseFiles(const std::string& answer) { dialogs.openFileAnswers.push_back(answer); }
};

TEST(NormalizeBackslashes, HalvesPairsAndKeepsANetworkPathsLeadingPair) {
    const std::pair<std::string, std::string> cases[] = {
        {"C:\\\\a.txt", "C:\\a.txt"},
        {"C:\\dir\\a.txt", "C:\\dir\\a.txt"},
        {"a\\\\\\b", "a\\\\b"},
        {"a\\\\\\\\b", "a\\\\b"},
        {"\\\\srv\\\\share\\a", "\\\\srv\\share\\a"},
        {"\\srv\\a", "\\\\srv\\a"},
        {"\\\\\\\\srv\\a", "\\\\srv\\a"},
        {"\\\\\\", "\\\\"},
        {"", ""},
        {"/home/u/a.txt", "/home/u/a.txt"}};
    for (const auto& [path, expected] : cases)
        EXPECT_EQ(NormalizeBackslashes(path), expected) << path;
}

TEST(SplitListLines, EveryLineEndCountsAndAFinalOneAddsNoEmptyEntry) {
    const std::pair<std::string, Entries> cases[] = {{"", {}},
                                                     {"a", {"a"}},
                                                     {"a\n", {"a"}},
                                                     {"a\r\nb\r\n", {"a", "b"}},
                                                     {"a\rb\r", {"a", "b"}},
                                                     {"a\n\nb\n", {"a", "", "b"}},
                                                     {"a\r\n\r\n", {"a", ""}},
                                                     {"\n", {""}},
                                                     {"a\n\rb\r\n\nc", {"a", "", "b", "", "c"}},
                                                     {" x \tz\0y"s, {" x \tz\0y"s}}};
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(SplitListLines(text), expected) << text;
}

TEST(ListCommands, AddTakesTheAnswerAsTypedAndCancelAddsNothing) {
    ListRig rig;
    rig.dialogs.inputAnswers = {"", "  ", "a.example"};
    for (int i = 0; i < 3; ++i)
        rig.controls.PushButton6.press();
    EXPECT_EQ(rig.list.items(), (Entries{"  ", "a.example"}));
    EXPECT_EQ(rig.dialogs.prompts[0], "Enter URL/IP Address to block: ");
    EXPECT_EQ(rig.writes(), 2);
    EXPECT_EQ(rig.settings.get("Blocked Websites"), "  " + Sep + "a.example" + Sep);
}

TEST(ListCommands, LoadsChosenFilesWithTheBusyPointerAndOneWrite) {
    struct Case {
        std::string sep, answer;
        Entries reads;
    };
    const Case cases[] = {{"\\", "C:\\\\d\\one.txt", {"C:\\\\d\\one.txt"}},
                          {"\\", "C:\\\0a.txt\0b.txt"s, {"C:\\a.txt", "C:\\b.txt"}},
                          {"/", "/\0a.txt"s, {"/a.txt"}},
                          {"/", "/h/x\\\\y\0b\\\\c.txt"s, {"/h/x\\\\y/b\\\\c.txt"}}};
    for (const auto& c : cases) {
        ListRig rig;
        rig.system.sep = c.sep;
        for (const auto& path : c.reads)
            rig.fs.files[path] = "s1\r\ns2\n";
        rig.chooseFiles(c.answer);
        Entries reads;
        int pointerWhileReading = -1;
        rig.fs.beforeOp = [&](FsOp op, const std::string& path) {
            if (op != FsOp::Read)
                return;
            reads.push_back(path);
            pointerWhileReading = rig.controls.window.mousePointer();
            // Clear and remove do nothing while the pointer shows the hourglass.
            rig.list.select(rig.list.count() ? 1 : 0);
            rig.controls.PushButton3.press();
            rig.commands.PushButton3_Click();
            rig.list.dblClick();
            rig.list.keyDown(DeleteKey, 0);
        };
        rig.controls.PushButton4.press();
        EXPECT_EQ(reads, c.reads) << c.answer;
        EXPECT_EQ(rig.list.count(), 2 * c.reads.size());
        EXPECT_EQ(pointerWhileReading, pointers::Busy);
        EXPECT_EQ(rig.controls.window.mousePointer(), pointers::Default);
        EXPECT_EQ(rig.writes(), 1);
        EXPECT_TRUE(rig.dialogs.messages.empty());
        const auto& request = rig.dialogs.openFileRequests.at(0);
        EXPECT_EQ(request.title, "Load List(s) - Hold Ctrl to select multiple list files");
        EXPECT_EQ(request.filter, "Text Files (*.txt)|*.txt|All Files (*.*)|*.*|");
        EXPECT_EQ(request.flags, 2621953);
    }
}

TEST(ListCommands, MissingAndUnreadableFilesAreReportedAndTheOthersStillLoad) {
    ListRig rig;
    rig.fs.files = {{"C:\\d\\bad.txt", ""}, {"C:\\d\\good.txt", "g\n"}};
    rig.fs.fail(FsOp::Read, "C:\\d\\bad.txt");
    rig.chooseFiles("C:\\d\0gone.txt\0bad.txt\0good.txt"s);
    rig.chooseFiles("C:\\d\\bad.txt");
    rig.chooseFiles(""); // cancelled
    for (int i = 0; i < 3; ++i)
        rig.controls.PushButton4.press();
    EXPECT_EQ(rig.dialogs.texts(),
              (Entries{"File not found",
                       ErrorReportText("Permission denied", "Form1", "PushButton4_Click", 122),
                       ErrorReportText("Permission denied", "Form1", "PushButton4_Click", 118)}));
    EXPECT_EQ(rig.list.items(), Entries{"g"});
    EXPECT_EQ(rig.writes(), 1);
    EXPECT_EQ(rig.controls.window.mousePointer(), pointers::Default);
}

TEST(ListCommands, SamplesClearAndRemoveWriteTheListOncePerChange) {
    ListRig rig;
    rig.controls.PushButton5.press();
    rig.controls.PushButton5.press();
    EXPECT_EQ(rig.list.items(),
              (Entries{"facebook.com", "instagram.com", "facebook.com", "instagram.com"}));
    rig.list.select(2);
    rig.list.dblClick();
    rig.list.select(1);
    rig.list.keyDown(45, 0);        // not Delete
    rig.list.keyDown(DeleteKey, 1); // Delete with Shift
    EXPECT_EQ(rig.list.items(), (Entries{"facebook.com", "instagram.com"}));
    rig.list.keyDown(DeleteKey, 0); // nothing selected any more
    rig.list.dblClick();
    EXPECT_EQ(rig.writes(), 4);
    rig.controls.PushButton3.press();
    rig.controls.PushButton3.press(); // already empty
    rig.list.dblClick();
    EXPECT_TRUE(rig.list.items().empty());
    EXPECT_EQ(rig.writes(), 5);
    EXPECT_EQ(rig.settings.get("Blocked Websites"), "");
}

TEST(ListCommands, ARefusedWriteIsReportedAndTheListStaysInMemory) {
    ListRig rig;
    rig.settings.failingKeys = {"Blocked Websites"};
    rig.controls.PushButton5.press();
    rig.list.select(1);
    rig.list.keyDown(DeleteKey, 0);
    EXPECT_EQ(rig.dialogs.texts(),
              (Entries{ErrorReportText("Permission denied", "Form1", "PushButton5_Click", 104),
                       ErrorReportText("Permission denied", "Form1", "ListView1_KeyDown", 106)}));
    EXPECT_EQ(rig.list.items(), Entries{"instagram.com"});
}

TEST(ListCommands, ALargeFileLoadsWithOneWrite) {
    ListRig rig;
    std::string text;
    for (int i = 0; i < 200000; ++i)
        text += "site" + std::to_string(i) + ".example\n";
    rig.fs.files["C:\\big.txt"] = text;
    rig.chooseFiles("C:\\big.txt");
    rig.controls.PushButton4.press();
    EXPECT_EQ(rig.list.count(), 200000u);
    EXPECT_EQ(rig.list.item(200000), "site199999.example");
    EXPECT_EQ(rig.writes(), 1);
}

} // namespace
} // namespace palisade::test
