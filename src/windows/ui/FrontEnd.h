#pragma once

#include "app/Program.h"
#include "windows/ui/Connect.h"
#include "windows/ui/FormView.h"
#include "windows/ui/Win32EventPump.h"
#include "windows/ui/WinApi.h"

#include <memory>

namespace palisade::win32 {

class ProgramIcons;

// Binds the program to its two windows and to the session: the session's question
// (WM_QUERYENDSESSION) only saves, its end (WM_ENDSESSION) ends the program through its close
// handling before the answer goes back, a second copy's message is the hand-over, and the
// program's quit ends the message loop.
class FrontEnd {
public:
    FrontEnd(Program& program, HINSTANCE instance, Win32EventPump& pump, const ProgramIcons& icons,
             bool elevated);
    FrontEnd(const FrontEnd&) = delete;
    FrontEnd& operator=(const FrontEnd&) = delete;

    // Starts the program and runs the message loop until the program ends; the exit code.
    int run();

    FormView& mainWindow() { return form1_; }
    FormView& passwordWindow() { return form2_; }

private:
    bool mainWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool dialogMessage(MSG& message);
    void passOnHeldQuit();

    Program& program_;
    Win32EventPump& pump_;
    FormView form1_;
    FormView form2_;
    bool ended_ = false;
    Connections connections_;
};

} // namespace palisade::win32
