// Poses both windows of the real program for the README's screenshot, which
// scripts/windows-screenshot.sh takes: the sample list loaded and a password typed in each
// window, the password window below the main one. Prints how long the main window took to be
// shown, then "posed" once they are ready, and closes the program 15 seconds later. Not a test.
#include "RunningProgram.h"
#include "ui/model/Form1Controls.h"
#include "ui/model/Form2Controls.h"
#include "windows/ui/WinApi.h"
#include "windows/ui/WindowNames.h"

#include <cstdio>
#include <thread>

using namespace palisade;
using namespace palisade::test;

namespace {

int Fail(const char* what) {
    std::fprintf(stderr, "pose-windows: %s\n", what);
    return 1;
}

int Pose() {
    using win32::Form1ClassName;
    using win32::Form2ClassName;
    const Form1Controls form1;
    const Form2Controls form2;

    const auto started = std::chrono::steady_clock::now();
    RunningProgram program;
    HWND main = program.waitForWindow(Form1ClassName);
    if (main == nullptr)
        return Fail("the main window was not shown");
    const auto shownAfter = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - started);
    std::printf("first window shown after %lld ms\n", static_cast<long long>(shownAfter.count()));

    Click(program.control(Form1ClassName, form1.PushButton5));
    if (!WaitUntil(
            [&] { return ItemCount(program.control(Form1ClassName, form1.ListView1)) == 2; }))
        return Fail("the sample list was not loaded");
    ::SetWindowTextA(program.control(Form1ClassName, form1.txtPassword), "secret");
    ::PostMessageA(program.window(win32::TrayClassName), 1125, 0, WM_LBUTTONUP);
    HWND password = program.waitForWindow(Form2ClassName);
    if (password == nullptr)
        return Fail("the password window was not shown");
    ::SetWindowTextA(program.control(Form2ClassName, form2.txtPassword), "secr");
    // Both open centred; the password window goes below the main one so that both are seen.
    RECT mainRect{};
    ::GetWindowRect(main, &mainRect);
    ::SetWindowPos(password, nullptr, mainRect.left, mainRect.bottom + 8, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    std::printf("posed\n");
    std::fflush(stdout);
    std::this_thread::sleep_for(15s);
    ::PostMessageA(main, WM_CLOSE, 0, 0);
    return program.waitForExit() == 0 ? 0 : Fail("the program did not end cleanly");
}

} // namespace

int main() {
    ForgetStoredSettings();
    const int rc = Pose();
    ForgetStoredSettings();
    return rc;
}
