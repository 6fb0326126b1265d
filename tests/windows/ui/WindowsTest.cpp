// The real program under Wine, driven through its windows with window messages as a user's
// clicks and keys arrive. The behaviour is the core's and tested there; these tests show that
// the windows, the notification area and the session reach it.
#include "RunningProgram.h"
#include "ui/model/Form1Controls.h"
#include "ui/model/Form2Controls.h"
#include "windows/ui/WinApi.h"
#include "windows/ui/WindowNames.h"
#include "windows/ui/resource.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

namespace palisade::test {
namespace {

using win32::Form1ClassName;
using win32::Form2ClassName;
using win32::TrayClassName;

constexpr const char* OriginalHosts = "127.0.0.1       localhost\r\n::1     localhost";
constexpr const char* BlockLine = "127.0.0.1          blocked.palisade.test\r\n";

// Every test starts from a known hosts file and no stored settings, and leaves them so.
class ProgramWindows : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = ReadFileBytes(HostsPath());
        WriteFileBytes(HostsPath(), OriginalHosts);
        ForgetStoredSettings();
    }
    void TearDown() override {
        WriteFileBytes(HostsPath(), saved_);
        ForgetStoredSettings();
    }

    // Types text into the input box that a click has opened, and presses Enter.
    static void Answer(const RunningProgram& program, const std::string& text) {
        HWND box = program.waitForDialog("Palisade");
        ASSERT_NE(box, nullptr) << "no input box";
        ::SetDlgItemTextA(box, IDC_INPUT_ANSWER, text.c_str());
        ::PostMessageA(box, WM_COMMAND, IDOK, 0);
    }

    // The controls Tab visits from first on, until it comes back to it.
    static std::vector<HWND> TabOrder(HWND window, HWND first) {
        std::vector<HWND> order{first};
        for (HWND next = ::GetNextDlgTabItem(window, first, FALSE);
             next != nullptr && next != first && order.size() < 32;
             next = ::GetNextDlgTabItem(window, next, FALSE))
            order.push_back(next);
        return order;
    }

    static void TrayClick(const RunningProgram& program) {
        ::PostMessageA(program.window(TrayClassName), 1125, 0, WM_LBUTTONUP);
    }

    Form1Controls form1_;
    Form2Controls form2_;

private:
    std::string saved_;
};

TEST_F(ProgramWindows, ADayOfBlockingThroughTheWindowsAndTheNotificationArea) {
    RunningProgram program;
    HWND main = program.waitForWindow(Form1ClassName);
    ASSERT_NE(main, nullptr) << "the main window was not shown";
    HWND list = program.control(Form1ClassName, form1_.ListView1);
    // Tab moves as designed, Check9 below the visible area included.
    std::vector<HWND> expected;
    const std::vector<const Control*> designed{
        &form1_.ListView1,   &form1_.Check9,      &form1_.PushButton6, &form1_.PushButton4,
        &form1_.PushButton3, &form1_.PushButton2, &form1_.Check1,      &form1_.Check8,
        &form1_.txtPassword, &form1_.PushButton1, &form1_.PushButton5};
    for (const Control* c : designed)
        expected.push_back(program.control(Form1ClassName, *c));
    EXPECT_EQ(TabOrder(main, list), expected);

    Click(program.control(Form1ClassName, form1_.PushButton6));
    Answer(program, "blocked.palisade.test");
    ASSERT_TRUE(WaitUntil([&] { return ItemCount(list) == 1; }));
    ::SetWindowTextA(program.control(Form1ClassName, form1_.txtPassword), "secret");
    ASSERT_TRUE(WaitUntil([] { return StoredSetting("Password") == "secret"; }));

    // Blocking appends the line and hides the window into the notification area.
    Click(program.control(Form1ClassName, form1_.PushButton2));
    ASSERT_TRUE(WaitUntil([] {
        return ReadFileBytes(HostsPath()) == std::string(OriginalHosts) + "\r\n" + BlockLine;
    })) << ReadFileBytes(HostsPath());
    ASSERT_TRUE(WaitUntil([&] { return !Shown(main); }));

    // The icon's click asks for the password before the window comes back.
    TrayClick(program);
    HWND password = program.waitForWindow(Form2ClassName);
    ASSERT_NE(password, nullptr) << "the password window was not shown";
    EXPECT_FALSE(Shown(main));
    HWND typed = program.control(Form2ClassName, form2_.txtPassword);
    EXPECT_EQ(TabOrder(password, typed),
              (std::vector{typed, program.control(Form2ClassName, form2_.PushButton2),
                           program.control(Form2ClassName, form2_.PushButton1)}));
    ::SetWindowTextA(typed, "secret");
    ::PostMessageA(typed, WM_KEYDOWN, VK_RETURN, 0); // Enter is OK
    ASSERT_TRUE(WaitUntil([&] { return Shown(main) && !Shown(password); }));

    // Blocking is stored at once; stopping gives the hosts file back byte for byte.
    ASSERT_TRUE(WaitUntil([] { return StoredSetting("BlockOnStart") == "1"; }));
    Click(program.control(Form1ClassName, form1_.PushButton2));
    ASSERT_TRUE(WaitUntil([] { return ReadFileBytes(HostsPath()) == OriginalHosts; }))
        << ReadFileBytes(HostsPath()) << program.shownWindows();

    // The user's minimise hides the window; the Delete key removes the selected site.
    ::PostMessageA(main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(WaitUntil([&] { return !Shown(main); }));
    ::SendMessageA(list, WM_KEYDOWN, VK_HOME, 0);
    ::SendMessageA(list, WM_KEYDOWN, VK_DELETE, 0);
    ASSERT_TRUE(WaitUntil([&] { return ItemCount(list) == 0; }));
    Click(program.control(Form1ClassName, form1_.PushButton5));
    ASSERT_TRUE(WaitUntil([&] { return ItemCount(list) == 2; }));

    // Closing saves the list and ends the program, hidden or not.
    ::PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.waitForExit(), 0u);
    EXPECT_EQ(StoredSetting("Blocked Websites"),
              "facebook.com||My_Separator||instagram.com||My_Separator||");
    EXPECT_EQ(ReadFileBytes(HostsPath()), OriginalHosts);
}

TEST_F(ProgramWindows, AStopClickedAtOnceWhenTheWindowIsBackFromBlockingsHideIsNotLost) {
    // While the run's first balloon is up, the window is brought back from the icon (and in a
    // second run, with the list kept, by a second start) and "Stop Blocking" is clicked at once.
    for (bool fromIcon : {true, false}) {
        RunningProgram program;
        HWND main = program.waitForWindow(Form1ClassName);
        ASSERT_NE(main, nullptr);
        if (fromIcon) {
            Click(program.control(Form1ClassName, form1_.PushButton6));
            Answer(program, "blocked.palisade.test");
        }
        HWND block = program.control(Form1ClassName, form1_.PushButton2);
        ASSERT_TRUE(WaitUntil(
            [&] { return ItemCount(program.control(Form1ClassName, form1_.ListView1)) == 1; }));
        Click(block);
        ASSERT_TRUE(WaitUntil([&] { return ReadFileBytes(HostsPath()) != OriginalHosts; }));
        ASSERT_TRUE(WaitUntil([&] { return !Shown(main); }));
        if (fromIcon)
            TrayClick(program);
        else
            EXPECT_EQ(RunningProgram().waitForExit(), 0u);
        ASSERT_TRUE(WaitUntil([&] { return Shown(main); }));
        Click(block);
        // Closed only once the stop has run to its end (it stores BlockOnStart last).
        EXPECT_TRUE(WaitUntil([] {
            return ReadFileBytes(HostsPath()) == OriginalHosts &&
                   StoredSetting("BlockOnStart") == "0";
        })) << fromIcon;
        ::PostMessageA(main, WM_CLOSE, 0, 0);
        EXPECT_EQ(program.waitForExit(), 0u);
    }
}

TEST_F(ProgramWindows, ASecondStartHandsOverAndTheSessionsEndClosesTheOpenBoxAndSaves) {
    RunningProgram first;
    HWND main = first.waitForWindow(Form1ClassName);
    ASSERT_NE(main, nullptr);
    Click(first.control(Form1ClassName, form1_.PushButton5));
    ::PostMessageA(main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(WaitUntil([&] { return !Shown(main); }));

    // The second copy brings the first one's window back and ends without a window of its own.
    RunningProgram second;
    EXPECT_EQ(second.waitForExit(), 0u);
    EXPECT_TRUE(WaitUntil([&] { return Shown(main); }));
    EXPECT_EQ(second.window(Form1ClassName), nullptr);

    // The session's question is answered yes, and its end closes the program before it answers,
    // cancelling the open-file dialog that is open meanwhile.
    Click(first.control(Form1ClassName, form1_.PushButton4));
    EXPECT_NE(first.waitForDialog("Load List(s) - Hold Ctrl to select multiple list files"),
              nullptr);
    DWORD_PTR answer = 0;
    ::SendMessageTimeoutA(main, WM_QUERYENDSESSION, 0, 0, SMTO_NORMAL, 10000, &answer);
    EXPECT_EQ(answer, static_cast<DWORD_PTR>(TRUE));
    EXPECT_EQ(StoredSetting("Blocked Websites"),
              "facebook.com||My_Separator||instagram.com||My_Separator||");
    ::SendMessageTimeoutA(main, WM_ENDSESSION, TRUE, 0, SMTO_NORMAL, 20000, &answer);
    EXPECT_EQ(first.waitForExit(), 0u);
    EXPECT_EQ(StoredSetting("BlockOnStart"), "0");
}

} // namespace
} // namespace palisade::test
