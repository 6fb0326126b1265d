#include "windows/ui/SingleInstance.h"

#include "windows/ui/WinApi.h"
#include "windows/ui/WindowNames.h"

namespace palisade::win32 {

namespace {

constexpr const char* MutexName = "Local\\Quillmoor.Palisade.Software";
// How long a second copy waits for the running one: to show its window, to answer, to end.
constexpr DWORD WaitMilliseconds = 10000;
constexpr DWORD PollMilliseconds = 100;

bool Owned(DWORD wait) {
    return wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
}

} // namespace

SingleInstance::SingleInstance(bool canWriteHosts) : canWriteHosts_(canWriteHosts) {}

UINT SingleInstance::SecondStartMessage() {
    static const UINT message = ::RegisterWindowMessageA(SecondStartMessageName);
    return message;
}

// True when this copy is the only one. The mutex is held for the life of the process; a copy
// that ends without releasing it leaves it abandoned, which the next claim takes over.
bool SingleInstance::openMutex() {
    mutex_.reset(::CreateMutexA(nullptr, TRUE, MutexName));
    const DWORD error = ::GetLastError();
    if (!mutex_)
        return false; // ERROR_ACCESS_DENIED: an elevated copy made it
    if (error != ERROR_ALREADY_EXISTS)
        return true;
    return Owned(::WaitForSingleObject(mutex_.get(), 0));
}

HWND SingleInstance::findRunningWindow() {
    // The running copy may hold the mutex before its window exists.
    for (DWORD waited = 0; waited < WaitMilliseconds; waited += PollMilliseconds) {
        if (HWND found = ::FindWindowA(Form1ClassName, nullptr))
            return found;
        if (mutex_ && Owned(::WaitForSingleObject(mutex_.get(), PollMilliseconds)))
            return nullptr; // it ended meanwhile
        if (!mutex_)
            ::Sleep(PollMilliseconds);
    }
    return nullptr;
}

void SingleInstance::waitForRunningCopy(HWND running) {
    if (mutex_) {
        ::WaitForSingleObject(mutex_.get(), WaitMilliseconds);
        return;
    }
    DWORD processId = 0;
    ::GetWindowThreadProcessId(running, &processId);
    UniqueHandle process(::OpenProcess(SYNCHRONIZE, FALSE, processId));
    if (process)
        ::WaitForSingleObject(process.get(), WaitMilliseconds);
    openMutex();
}

SingleInstance::Outcome SingleInstance::claim(const Decision& takesOver) {
    if (openMutex())
        return Outcome::First;
    HWND running = findRunningWindow();
    if (running == nullptr)
        return mutex_ && Owned(::WaitForSingleObject(mutex_.get(), 0)) ? Outcome::First
                                                                       : Outcome::HandedOver;
    // The running copy may then come to the front rather than only flash on the task bar.
    DWORD processId = 0;
    ::GetWindowThreadProcessId(running, &processId);
    ::AllowSetForegroundWindow(processId);
    DWORD_PTR answer = 0;
    if (!::SendMessageTimeoutA(running, SecondStartMessage(), canWriteHosts_ ? 1 : 0, 0,
                               SMTO_NORMAL, WaitMilliseconds, &answer) ||
        answer == 0)
        return Outcome::HandedOver;
    const bool runningCanWriteHosts = answer == 2;
    if (!takesOver(canWriteHosts_, runningCanWriteHosts))
        return Outcome::HandedOver;
    waitForRunningCopy(running);
    return Outcome::TookOver;
}

} // namespace palisade::win32
