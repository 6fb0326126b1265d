#include "windows/ui/FrontEnd.h"

#include "windows/ui/Connect.h"
#include "windows/ui/SingleInstance.h"
#include "windows/ui/WinApi.h"
#include "windows/ui/WindowNames.h"

namespace palisade::win32 {

FrontEnd::FrontEnd(Program& program, HINSTANCE instance, Win32EventPump& pump,
                   const ProgramIcons& icons, bool elevated)
    : program_(program), pump_(pump),
      form1_(instance, FormStyle{Form1ClassName, true}, program.form1().window,
             program.form1().controls(), icons),
      form2_(instance, FormStyle{Form2ClassName, false}, program.form2().window,
             program.form2().controls(), icons) {
    form1_.setExtraHandler([this](UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
        return mainWindowMessage(message, wParam, lParam, result);
    });
    // An elevated copy hears a second start of an ordinary one only when it lets the message in.
    if (elevated)
        ::ChangeWindowMessageFilterEx(form1_.hwnd(), SingleInstance::SecondStartMessage(),
                                      MSGFLT_ALLOW, nullptr);
    pump_.setDialogFilter([this](MSG& message) { return dialogMessage(message); });
    Connect(program.quit, connections_, [this] {
        ended_ = true;
        ::PostQuitMessage(0);
    });
}

bool FrontEnd::dialogMessage(MSG& message) {
    return form1_.dialogMessage(message) || form2_.dialogMessage(message);
}

bool FrontEnd::mainWindowMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    if (message == WM_QUERYENDSESSION) {
        program_.SessionEnding();
        result = TRUE;
        return true;
    }
    if (message == WM_ENDSESSION) {
        // The process may be gone as soon as this returns.
        if (wParam != FALSE)
            program_.SessionEnd();
        result = 0;
        return true;
    }
    if (message == SingleInstance::SecondStartMessage()) {
        // Answer first, so that the new copy is not kept waiting while this one steps aside.
        result = program_.canWriteHosts() ? 2 : 1;
        if (::InSendMessage())
            ::ReplyMessage(result);
        program_.SecondStart(wParam != 0);
        return true;
    }
    return false;
}

void FrontEnd::passOnHeldQuit() {
    if (const auto code = pump_.takeHeldQuit())
        ::PostQuitMessage(*code);
}

int FrontEnd::run() {
    program_.Start();
    passOnHeldQuit();
    MSG message{};
    int code = 0;
    for (;;) {
        const BOOL got = ::GetMessageA(&message, nullptr, 0, 0);
        if (got == -1)
            break;
        if (got == 0) {
            code = static_cast<int>(message.wParam);
            // A quit from elsewhere ends the program as the session's end does: nothing lost.
            if (!ended_)
                program_.SessionEnd();
            break;
        }
        pump_.dispatch(message);
        passOnHeldQuit();
    }
    return code;
}

} // namespace palisade::win32
