#include "windows/tools/UninstallSteps.h"

#include "blocking/HostsBlocker.h"
#include "blocking/HostsCleanup.h"
#include "blocking/HostsPaths.h"
#include "platform/FileHelpers.h"
#include "platform/Registry.h"
#include "windows/system/GlobalMutexLock.h"
#include "windows/system/Handles.h"
#include "windows/system/Win32FileSystem.h"
#include "windows/system/Win32SystemInfo.h"
#include "windows/ui/WinApi.h"
#include "windows/ui/WindowNames.h"

#include <algorithm>
#include <thread>
#include <vector>

namespace palisade::win32 {

namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* ProgramFile = "palisade.exe";

// Waiting for the hosts lock has no window events to run: it only sleeps.
class SleepingEventPump : public EventPump {
public:
    void doEvents() override {}
    void waitEvents(std::chrono::milliseconds timeout) override {
        std::this_thread::sleep_for(timeout);
    }
};

BOOL CALLBACK CollectMainWindow(HWND window, LPARAM data) {
    char name[64] = {};
    ::GetClassNameA(window, name, sizeof name);
    if (std::string_view(name) == Form1ClassName)
        reinterpret_cast<std::vector<HWND>*>(data)->push_back(window);
    return TRUE;
}

DWORD MillisecondsLeft(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    return static_cast<DWORD>(std::max<std::chrono::milliseconds::rep>(left.count(), 0));
}

std::string Folded(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string WithoutTrailingSeparator(std::string folder) {
    while (folder.size() > 3 && (folder.back() == '\\' || folder.back() == '/'))
        folder.pop_back();
    return folder;
}

} // namespace

void EndRunningCopies(std::chrono::milliseconds limit) {
    const auto deadline = Clock::now() + limit;
    std::vector<HWND> windows;
    ::EnumWindows(&CollectMainWindow, reinterpret_cast<LPARAM>(&windows));
    std::vector<UniqueHandle> processes;
    for (HWND window : windows) {
        DWORD id = 0;
        ::GetWindowThreadProcessId(window, &id);
        if (HANDLE process = ::OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, id))
            processes.emplace_back(process);
        // A copy that hangs is not waited for beyond the limit; its messages are then dropped.
        DWORD_PTR answer = 0;
        ::SendMessageTimeoutA(window, WM_QUERYENDSESSION, 0, ENDSESSION_CLOSEAPP, SMTO_ABORTIFHUNG,
                              MillisecondsLeft(deadline), &answer);
        ::SendMessageTimeoutA(window, WM_ENDSESSION, TRUE, ENDSESSION_CLOSEAPP, SMTO_ABORTIFHUNG,
                              MillisecondsLeft(deadline), &answer);
    }
    for (const UniqueHandle& process : processes) {
        if (::WaitForSingleObject(process.get(), MillisecondsLeft(deadline)) != WAIT_OBJECT_0)
            ::TerminateProcess(process.get(), 1);
    }
}

bool RunValueNamesProgram(const std::string& data, const std::string& program) {
    std::string path = data;
    if (path.size() >= 2 && path.front() == '"' && path.back() == '"')
        path = path.substr(1, path.size() - 2);
    return !program.empty() && Folded(path) == Folded(program);
}

bool RemoveRunValueOf(const std::string& program) {
    const std::string name = program.substr(program.find_last_of("\\/") + 1);
    HKEY run = nullptr;
    // The program runs as a 64-bit process and so writes the 64-bit view of the key.
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, RunSubKey, 0,
                        KEY_QUERY_VALUE | KEY_SET_VALUE | KEY_WOW64_64KEY, &run) != ERROR_SUCCESS)
        return false;
    UniqueHKey key(run);
    char data[2048] = {};
    DWORD size = sizeof data - 1;
    if (::RegGetValueA(run, nullptr, name.c_str(), RRF_RT_REG_SZ, nullptr, data, &size) !=
            ERROR_SUCCESS ||
        !RunValueNamesProgram(data, program))
        return false;
    return ::RegDeleteValueA(run, name.c_str()) == ERROR_SUCCESS;
}

bool RemoveFolderTree(const std::string& folder) {
    WIN32_FIND_DATAA entry{};
    HANDLE search = ::FindFirstFileA((folder + "\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = entry.cFileName;
            if (name == "." || name == "..")
                continue;
            const std::string path = folder + "\\" + name;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveFolderTree(path);
            } else {
                ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                ::DeleteFileA(path.c_str());
            }
        } while (::FindNextFileA(search, &entry));
        ::FindClose(search);
    }
    ::RemoveDirectoryA(folder.c_str());
    return ::GetFileAttributesA(folder.c_str()) == INVALID_FILE_ATTRIBUTES;
}

UninstallOutcome RemoveWhatTheProgramLeft(const std::string& installFolder) {
    UninstallOutcome outcome;
    EndRunningCopies();

    Win32SystemInfo system;
    Win32FileSystem fs;
    GlobalMutexLock lock;
    SleepingEventPump pump;
    SteadyClock clock;
    const std::string vendorFolder = VendorDataFolder(system);
    const std::string dataFolder = ProgramDataFolder(system);
    const std::string hosts = WindowsHostsPaths(system).hostsPath();
    const CleanupResult cleanup =
        TakeOutBlockLines(fs, lock, pump, clock, hosts, dataFolder,
                          JoinPath(system, dataFolder, std::string(SnapshotName)));
    if (cleanup.outcome == CleanupResult::Failed) {
        outcome.problem = "The blocked sites could not be taken out of " + hosts + ": " +
                          cleanup.problem +
                          ". Palisade stays installed, so that it can still stop blocking them.";
        return outcome;
    }
    if (cleanup.outcome == CleanupResult::TakenOut)
        outcome.report += "The blocked sites were taken out of " + hosts + ".\n";

    const std::string program = WithoutTrailingSeparator(installFolder) + "\\" + ProgramFile;
    if (RemoveRunValueOf(program))
        outcome.report += "Palisade no longer starts with Windows.\n";
    if (!RemoveFolderTree(dataFolder))
        outcome.report += "The folder " + dataFolder + " could not be removed whole.\n";
    // The vendor's folder goes too, unless something else of the vendor's is still in it.
    ::RemoveDirectoryA(vendorFolder.c_str());
    outcome.done = true;
    return outcome;
}

} // namespace palisade::win32
