// drive-installed-program block|wait-for-end: the installed program (PALISADE_EXE) worked through
// its windows by the installer test.
//   block         starts it, turns on "Load this software on Windows startup", loads the samples,
//                 starts blocking and closes it with blocking on
//   wait-for-end  starts it and waits until something else ends it; its exit code must be 0
// Says what went wrong and ends with 1 when a step did not happen.
#include "RunningProgram.h"
#include "ui/model/Form1Controls.h"
#include "windows/ui/WinApi.h"
#include "windows/ui/WindowNames.h"

#include <cstdio>
#include <string_view>

namespace {

using namespace palisade;
using namespace palisade::test;
using win32::Form1ClassName;

int Fail(const char* step, const RunningProgram& program) {
    std::printf("drive-installed-program: %s; shown: %s\n", step, program.shownWindows().c_str());
    return 1;
}

int Block() {
    Form1Controls form1;
    RunningProgram program;
    HWND main = program.waitForWindow(Form1ClassName);
    if (main == nullptr)
        return Fail("the main window was not shown", program);
    Click(program.control(Form1ClassName, form1.Check1));
    if (!WaitUntil([] { return StoredSetting("Windows Startup") == "On"; }))
        return Fail("the startup option did not turn on", program);
    Click(program.control(Form1ClassName, form1.PushButton5));
    if (!WaitUntil(
            [&] { return ItemCount(program.control(Form1ClassName, form1.ListView1)) == 2; }))
        return Fail("the samples were not loaded", program);
    Click(program.control(Form1ClassName, form1.PushButton2));
    if (!WaitUntil([&] {
            return ReadFileBytes(HostsPath()).find("127.0.0.1          instagram.com\r\n") !=
                       std::string::npos &&
                   !Shown(main) && StoredSetting("BlockOnStart") == "1";
        }))
        return Fail("blocking did not start", program);
    ::PostMessageA(main, WM_CLOSE, 0, 0);
    const auto code = program.waitForExit();
    if (code != 0u || StoredSetting("BlockOnStart") != "1")
        return Fail("it did not close with blocking on", program);
    return 0;
}

int WaitForEnd() {
    RunningProgram program;
    if (program.window(Form1ClassName) == nullptr &&
        !WaitUntil([&] { return program.window(Form1ClassName) != nullptr; }))
        return Fail("the main window was not made", program);
    std::printf("drive-installed-program: running\n");
    std::fflush(stdout);
    const auto code = program.waitForExit(std::chrono::minutes(2));
    if (!code)
        return Fail("it was not ended", program);
    std::printf("drive-installed-program: ended with %lu\n", static_cast<unsigned long>(*code));
    return *code == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    const std::string_view mode = argc > 1 ? argv[1] : "";
    if (mode == "block")
        return Block();
    if (mode == "wait-for-end")
        return WaitForEnd();
    std::printf("usage: drive-installed-program block|wait-for-end\n");
    return 2;
}
