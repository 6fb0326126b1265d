#include "RunningProgram.h"

#include "windows/system/RegistrySettingsStore.h"
#include "windows/ui/WinApi.h"
#include "windows/ui/WindowNames.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>
#include <vector>

namespace palisade::test {

namespace {

const std::string ApplicationKey = std::string(BasicProgramSettingsRoot) + "\\Quillmoor";
const std::string SettingsKey = ApplicationKey + "\\Palisade Software";

struct Search {
    DWORD processId;
    std::function<bool(HWND)> wanted;
    HWND found = nullptr;
};

BOOL CALLBACK Visit(HWND window, LPARAM data) {
    auto& search = *reinterpret_cast<Search*>(data);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner == search.processId && search.wanted(window)) {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

HWND FindTopLevel(DWORD processId, std::function<bool(HWND)> wanted) {
    Search search{processId, std::move(wanted)};
    ::EnumWindows(&Visit, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string ClassOf(HWND window) {
    char name[64] = {};
    ::GetClassNameA(window, name, sizeof name);
    return name;
}

std::string TitleOf(HWND window) {
    char title[256] = {};
    ::GetWindowTextA(window, title, sizeof title);
    return title;
}

} // namespace

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(50ms);
    }
    return true;
}

RunningProgram::RunningProgram() {
    const char* exe = std::getenv("PALISADE_EXE");
    if (exe == nullptr || *exe == '\0')
        throw std::runtime_error("PALISADE_EXE does not name palisade.exe");
    std::string commandLine = std::string("\"") + exe + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessA(exe, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &info))
        throw std::runtime_error(std::string("cannot start ") + exe);
    ::CloseHandle(info.hThread);
    process_.reset(info.hProcess);
    processId_ = info.dwProcessId;
}

RunningProgram::~RunningProgram() {
    if (::WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) {
        ::TerminateProcess(process_.get(), 99);
        ::WaitForSingleObject(process_.get(), 5000);
    }
}

HWND RunningProgram::window(const char* className) const {
    return FindTopLevel(processId_, [&](HWND w) { return ClassOf(w) == className; });
}

HWND RunningProgram::waitForWindow(const char* className, bool shown) const {
    HWND found = nullptr;
    WaitUntil([&] {
        found = window(className);
        return found != nullptr && Shown(found) == shown;
    });
    return found != nullptr && Shown(found) == shown ? found : nullptr;
}

HWND RunningProgram::control(const char* className, const Control& model) const {
    return ::GetDlgItem(window(className), win32::ControlId(model));
}

HWND RunningProgram::waitForDialog(const std::string& title) const {
    HWND found = nullptr;
    WaitUntil([&] {
        found = FindTopLevel(processId_, [&](HWND w) {
            return ClassOf(w) == "#32770" && TitleOf(w) == title && Shown(w);
        });
        return found != nullptr;
    });
    return found;
}

std::string RunningProgram::shownWindows() const {
    std::string list;
    FindTopLevel(processId_, [&](HWND w) {
        // Appended piece by piece: GCC 12 warns wrongly (-Wrestrict) about the concatenation
        // when optimising, as the release build that carries the installer test's driver does.
        if (Shown(w))
            list.append("[").append(ClassOf(w)).append(" \"").append(TitleOf(w)).append("\"] ");
        return false;
    });
    return list;
}

std::optional<DWORD> RunningProgram::waitForExit(std::chrono::milliseconds timeout) const {
    if (::WaitForSingleObject(process_.get(), static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0)
        return std::nullopt;
    DWORD code = 0;
    ::GetExitCodeProcess(process_.get(), &code);
    return code;
}

std::string HostsPath() {
    char system[MAX_PATH] = {};
    ::GetSystemDirectoryA(system, MAX_PATH);
    return std::string(system) + "\\drivers\\etc\\hosts";
}

std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::optional<std::string> StoredSetting(const std::string& name) {
    std::vector<char> value(1 << 16, '\0');
    DWORD size = static_cast<DWORD>(value.size());
    if (::RegGetValueA(HKEY_CURRENT_USER, SettingsKey.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr,
                       value.data(), &size) != ERROR_SUCCESS)
        return std::nullopt;
    return std::string(value.data());
}

void ForgetStoredSettings() {
    ::RegDeleteTreeA(HKEY_CURRENT_USER, ApplicationKey.c_str());
}

bool Shown(HWND window) {
    return window != nullptr && ::IsWindowVisible(window) != FALSE;
}

// Posted, not sent: a click may open a box that waits for the test's next step.
void Click(HWND button) {
    ::PostMessageA(button, BM_CLICK, 0, 0);
}

std::size_t ItemCount(HWND listView) {
    return static_cast<std::size_t>(::SendMessageA(listView, LVM_GETITEMCOUNT, 0, 0));
}

} // namespace palisade::test
