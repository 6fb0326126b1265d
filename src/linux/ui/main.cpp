// The Linux desktop program: the ports over the system and Qt, the program object, and its two
// windows.
#include "app/Program.h"
#include "blocking/HostsPaths.h"
#include "linux/system/FolderLock.h"
#include "linux/system/FsIdentity.h"
#include "linux/system/HelperPath.h"
#include "linux/system/OnBehalfFileSystem.h"
#include "linux/system/OnBehalfSettingsStore.h"
#include "linux/system/PkexecHelper.h"
#include "linux/system/PosixAdministratorCheck.h"
#include "linux/system/PosixFileSystem.h"
#include "linux/system/PosixSystemInfo.h"
#include "linux/system/QSettingsStore.h"
#include "linux/system/UserAccount.h"
#include "linux/system/XdgAutostartRegistry.h"
#include "linux/ui/DisplayCheck.h"
#include "linux/ui/FrontEnd.h"
#include "linux/ui/ProgramIcon.h"
#include "linux/ui/QtDialogs.h"
#include "linux/ui/QtEventPump.h"
#include "linux/ui/QtNotificationShell.h"
#include "linux/ui/QtTimer.h"
#include "linux/ui/SignalPipe.h"
#include "linux/ui/SingleInstance.h"
#include "linux/ui/UserFileChooser.h"
#include "platform/FileHelpers.h"
#include "platform/RegStuff.h"
#include "platform/StartUp.h"

#include <QApplication>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <memory>
#include <unistd.h>

namespace {

using namespace palisade;

std::optional<std::string> Environment(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || *value == '\0')
        return std::nullopt;
    return std::string(value);
}

// A copy run as root for a user reaches that user's X display with the user's key, which pkexec
// does not pass on.
void UseTheUsersDisplayKey(const std::optional<UserAccount>& user) {
    if (!user || Environment("XAUTHORITY"))
        return;
    const std::string key = user->home + "/.Xauthority";
    if (::access(key.c_str(), R_OK) == 0)
        ::setenv("XAUTHORITY", key.c_str(), 1);
}

void Say(const QString& line) {
    std::fprintf(stderr, "palisade: %s\n", line.toLocal8Bit().constData());
}

} // namespace

int main(int argc, char** argv) {
    // The open-file dialog of a copy run as root for a user, started again as that user.
    if (argc > 1 && std::strcmp(argv[1], qt::ChooseFilesArgument) == 0)
        return qt::RunFileChooser(argc, argv);

    // The program takes no options. Qt's own (-platformpluginpath, -style, ...) would let whoever
    // starts a root copy through pkexec, which checks only the program's path, load code of their
    // choosing as root: Qt is given the program's name alone.
    char fallbackName[] = "palisade";
    int qtArgc = 1;
    char* qtArgv[] = {argc > 0 && argv[0] != nullptr ? argv[0] : fallbackName, nullptr};

    const std::string windowSystem = qt::ChooseWindowSystem();
    const AccountLookup lookup = RealAccountLookup();
    const std::optional<UserAccount> user = OnBehalfOf(lookup);
    // Before any thread starts: the groups are the whole process's.
    if (user && !TakeGroupsOf(*user))
        std::fprintf(stderr, "palisade: cannot take the user's groups; root's stay in force\n");
    UseTheUsersDisplayKey(user);
    if (const auto line = qt::MissingDisplay(windowSystem, Environment("DISPLAY"))) {
        std::fprintf(stderr, "%s\n", line->c_str());
        return 1;
    }

    qt::OneLineStartFailures(true);
    QApplication app(qtArgc, qtArgv);
    qt::OneLineStartFailures(false);
    qt::SetUpApplication(app);

    const bool canWriteHosts = ::geteuid() == 0;
    qt::SingleInstance instance(QString::fromStdString(RuntimeFolder(lookup, user)), canWriteHosts,
                                user);
    switch (instance.claim(TakesOver)) {
    case qt::SingleInstance::Outcome::HandedOver:
        if (!instance.problem().isEmpty())
            Say(instance.problem());
        return 0;
    case qt::SingleInstance::Outcome::Unguarded:
        Say(instance.problem() + QStringLiteral("; a second copy will not be noticed"));
        break;
    default:
        if (!instance.problem().isEmpty())
            Say(instance.problem());
        break;
    }

    PosixSystemInfo system;
    PosixFileSystem files;
    const std::string hostsFile = LinuxHostsFile();
    const std::string dataRoot = VendorDataFolder(system);
    OnBehalfFileSystem fs(files, user, SystemPaths({hostsFile}, {dataRoot}));
    auto store = user ? std::make_unique<QSettingsStore>(ConfigFolderOf(*user))
                      : std::make_unique<QSettingsStore>();
    OnBehalfSettingsStore settings(*store, user);
    qt::QtDialogs dialogs(user);
    qt::QtEventPump pump;
    PosixAdministratorCheck admin;
    XdgAutostartRegistry registry;
    RegStuff regStuff(registry, system);
    mStartUp autostart(regStuff, system);
    const QIcon icon = qt::ProgramIcon();
    qt::QtNotificationShell shell(icon);
    SteadyClock clock;
    FolderLock hostsLock;
    qt::QtTimer timer;
    Ports ports{fs,     settings, dialogs, pump,      admin, autostart,
                system, shell,    clock,   hostsLock, timer};

    // An administrator's copy without root's rights writes through the helper, authorised by
    // polkit.
    PkexecHelper helper(pump, HelperPathFor(system.executablePath()));
    Program program(ports, Platform::Linux, FixedHostsPaths(hostsFile), canWriteHosts, &helper);
    qt::FrontEnd frontEnd(program, icon);
    instance.onSecondStart([&program](bool other) { return program.SecondStart(other); });
    qt::SignalPipe endings({SIGTERM, SIGINT, SIGHUP}, [&program](int) { program.SessionEnd(); });
    return frontEnd.run();
}
