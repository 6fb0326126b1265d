#pragma once

#include "ui/model/Control.h"
#include "windows/system/Handles.h"

#include <chrono>
#include <functional>
#include <optional>
#include <string>

namespace palisade::test {

using namespace std::chrono_literals;

// Polls until condition holds or timeout has passed; whether it held.
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout = 20s);

// One palisade.exe started by a test (the path comes from PALISADE_EXE) and ended by it if it
// is still running when the test is over.
class RunningProgram {
public:
    RunningProgram();
    ~RunningProgram();
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    // The top-level window of the given class in this process; null when there is none.
    HWND window(const char* className) const;
    // Waits for the window of that class to be there and shown (or hidden); null on time-out.
    HWND waitForWindow(const char* className, bool shown = true) const;
    // A control of one of its windows, found by its identifier.
    HWND control(const char* className, const Control& model) const;
    // A dialog-class window (message box, input box, open-file dialog) with this title.
    HWND waitForDialog(const std::string& title) const;

    // Waits for the process to end; its exit code, or nothing on time-out.
    std::optional<DWORD> waitForExit(std::chrono::milliseconds timeout = 20s) const;
    DWORD processId() const { return processId_; }
    // The process's shown top-level windows, class and title, for a failure's message.
    std::string shownWindows() const;

private:
    UniqueHandle process_;
    DWORD processId_ = 0;
};

// The prefix's hosts file, and the settings section the program keeps under the current user.
std::string HostsPath();
std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
std::optional<std::string> StoredSetting(const std::string& name);
void ForgetStoredSettings();

// Whether a window of another process is shown.
bool Shown(HWND window);
void Click(HWND button);
std::size_t ItemCount(HWND listView);

} // namespace palisade::test
