// The Windows desktop program: the ports over the Windows API, the program object, and its two
// windows.
#include "app/Program.h"
#include "blocking/HostsPaths.h"
#include "platform/RegStuff.h"
#include "platform/StartUp.h"
#include "windows/system/GlobalMutexLock.h"
#include "windows/system/RegistrySettingsStore.h"
#include "windows/system/Win32AdministratorCheck.h"
#include "windows/system/Win32FileSystem.h"
#include "windows/system/Win32Registry.h"
#include "windows/system/Win32SystemInfo.h"
#include "windows/ui/Dpi.h"
#include "windows/ui/Elevation.h"
#include "windows/ui/FrontEnd.h"
#include "windows/ui/ProgramIcons.h"
#include "windows/ui/SingleInstance.h"
#include "windows/ui/Win32Dialogs.h"
#include "windows/ui/Win32EventPump.h"
#include "windows/ui/Win32NotificationShell.h"
#include "windows/ui/Win32Timer.h"
#include "windows/ui/WinApi.h"

#include <exception>
#include <string>

namespace {

using namespace palisade;
using namespace palisade::win32;

int RunProgram(HINSTANCE instance) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES |
                                                       ICC_TAB_CLASSES | ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);

    const bool elevated = ProcessIsElevated();
    SingleInstance single(elevated);
    if (single.claim(TakesOver) == SingleInstance::Outcome::HandedOver)
        return 0;

    const ProgramIcons icons(instance, SystemDpi());
    Win32SystemInfo system;
    Win32FileSystem fs;
    RegistrySettingsStore settings;
    Win32Dialogs dialogs(instance);
    Win32EventPump pump;
    Win32AdministratorCheck admin;
    Win32Registry registry;
    RegStuff regStuff(registry, system);
    mStartUp autostart(regStuff, system);
    Win32NotificationShell shell(instance, icons.small(), elevated);
    SteadyClock clock;
    GlobalMutexLock hostsLock;
    Win32Timer timer(instance);
    Ports ports{fs,     settings, dialogs, pump,      admin, autostart,
                system, shell,    clock,   hostsLock, timer};

    Program program(ports, Platform::Windows, WindowsHostsPaths(system), elevated);
    FrontEnd frontEnd(program, instance, pump, icons, elevated);
    return frontEnd.run();
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    try {
        return RunProgram(instance);
    } catch (const std::exception& e) {
        const std::string text = std::string("Palisade could not go on: ") + e.what();
        ::MessageBoxA(nullptr, text.c_str(), "Palisade", MB_OK | MB_ICONERROR);
        return 1;
    }
}
