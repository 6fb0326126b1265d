// Times what a user waits for in the Linux program: from the process's start to its first shown
// window; loading, showing and scrolling a list file of 200,000 lines; as many entries added by
// the core; and a list holding one entry of 10 MB. Runs the real program object and front end
// over a scratch folder (hosts file, data folder, settings), on the display it is given or
// offscreen without one.
#include "app/Program.h"
#include "linux/system/FolderLock.h"
#include "linux/system/PosixAdministratorCheck.h"
#include "linux/system/PosixFileSystem.h"
#include "linux/system/PosixSystemInfo.h"
#include "linux/system/QSettingsStore.h"
#include "linux/ui/FrontEnd.h"
#include "linux/ui/ProgramIcon.h"
#include "linux/ui/QtEventPump.h"
#include "linux/ui/QtNotificationShell.h"
#include "linux/ui/QtTimer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTreeView>
#include <QWindow>
#include <cstdio>
#include <fstream>
#include <time.h>
#include <unistd.h>

namespace {

using namespace palisade;

// Milliseconds since this process was started, from the kernel's record of its start.
double MsSinceProcessStart() {
    std::ifstream stat("/proc/self/stat");
    std::string field;
    // The command name may hold spaces; the fields after it are counted from its ")".
    std::getline(stat, field, ')');
    unsigned long long startTicks = 0;
    for (int i = 3; i <= 22 && stat >> field; ++i)
        if (i == 22)
            startTicks = std::stoull(field);
    timespec now{};
    ::clock_gettime(CLOCK_BOOTTIME, &now);
    const double ticks = static_cast<double>(::sysconf(_SC_CLK_TCK));
    return (static_cast<double>(now.tv_sec) + now.tv_nsec / 1e9 - startTicks / ticks) * 1000.0;
}

class ScratchSystem : public PosixSystemInfo {
public:
    explicit ScratchSystem(std::string folder) : folder_(std::move(folder)) {}
    std::optional<std::string> specialFolder(int) override { return folder_; }

private:
    std::string folder_;
};

class ScriptedDialogs : public Dialogs {
public:
    std::string file;
    void messageBox(const std::string& text, const std::string&, MessageIcon) override {
        std::fprintf(stderr, "message: %s\n", text.c_str());
    }
    std::string inputBox(const std::string&, const std::string&, const std::string&) override {
        return {};
    }
    std::string openFile(const OpenFileRequest&) override { return file; }
    void cancelAll() override {}
};

class NoAutostart : public Autostart {
public:
    bool EnableWindowsStartup() override { return true; }
    bool DisableWindowsStartup() override { return true; }
};

// Runs events until the widget has been painted on screen.
void Settle(QWidget* widget) {
    QCoreApplication::processEvents();
    widget->repaint();
    QCoreApplication::processEvents();
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    qt::SetUpApplication(app);

    QTemporaryDir scratch;
    const std::string root = scratch.path().toStdString();
    std::ofstream(root + "/hosts") << "127.0.0.1 localhost\n";
    PosixFileSystem fs;
    QSettingsStore settings(root + "/config");
    ScriptedDialogs dialogs;
    qt::QtEventPump pump;
    PosixAdministratorCheck admin;
    NoAutostart autostart;
    ScratchSystem system(root);
    const QIcon icon = qt::ProgramIcon();
    qt::QtNotificationShell shell(icon);
    SteadyClock clock;
    FolderLock hostsLock;
    qt::QtTimer timer;
    Ports ports{fs,     settings, dialogs, pump,      admin, autostart,
                system, shell,    clock,   hostsLock, timer};
    Program program(ports, Platform::Linux, FixedHostsPaths(root + "/hosts"), false);
    qt::FrontEnd frontEnd(program, icon);

    QWidget* window = frontEnd.mainWindow().window();
    program.Start();
    while (!window->windowHandle() || !window->windowHandle()->isExposed())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    Settle(window);
    std::printf("process start to first shown window: %8.1f ms\n", MsSinceProcessStart());

    dialogs.file = root + "/list.txt";
    {
        std::ofstream list(dialogs.file);
        for (int i = 0; i < 200000; ++i)
            list << "site" << i << ".example.com\n";
    }
    auto* view = qobject_cast<QTreeView*>(frontEnd.mainWindow().find("ListView1"));
    QElapsedTimer elapsed;
    elapsed.start();
    program.form1().PushButton4.press();
    const double loaded = static_cast<double>(elapsed.nsecsElapsed()) / 1e6;
    Settle(window);
    const double shown = static_cast<double>(elapsed.nsecsElapsed()) / 1e6;
    std::printf("load a 200,000-line list file:      %8.1f ms (%zu entries)\n", loaded,
                program.form1().ListView1.count());
    std::printf("... and show it:                    %8.1f ms (%d rows in the view)\n",
                shown - loaded, view->model()->rowCount());

    elapsed.restart();
    view->scrollToBottom();
    Settle(view);
    const double bottom = static_cast<double>(elapsed.nsecsElapsed()) / 1e6;
    elapsed.restart();
    for (int page = 0; page < 20; ++page) {
        view->verticalScrollBar()->setValue(view->verticalScrollBar()->value() -
                                            view->verticalScrollBar()->pageStep());
        Settle(view);
    }
    const double pages = static_cast<double>(elapsed.nsecsElapsed()) / 1e6;
    std::printf("scroll to the end:                  %8.1f ms\n", bottom);
    std::printf("scroll 20 pages up, one at a time:  %8.1f ms\n", pages);

    // The list control filled by the core itself, entry by entry, as a start restores it; a
    // user waits for this at most a second.
    ListView& list = program.form1().ListView1;
    list.clear();
    elapsed.restart();
    for (int i = 0; i < 200000; ++i)
        list.add("site" + std::to_string(i) + ".example.com");
    Settle(window);
    std::printf("add 200,000 entries and show them:  %8.1f ms\n",
                static_cast<double>(elapsed.nsecsElapsed()) / 1e6);

    // One line of 10 MB (a file read by mistake), at the top of the list and selected.
    list.clear();
    list.add(std::string(10 << 20, 'x'));
    list.select(1);
    elapsed.restart();
    Settle(window);
    for (int i = 0; i < 20; ++i)
        Settle(view);
    std::printf("show a 10 MB entry, repaint 20x:    %8.1f ms\n",
                static_cast<double>(elapsed.nsecsElapsed()) / 1e6);
    program.SessionEnd();
    return 0;
}
