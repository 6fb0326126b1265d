#pragma once

#include "app/Program.h"
#include "linux/system/PosixFileSystem.h"
#include "linux/system/PosixSystemInfo.h"
#include "linux/ui/FrontEnd.h"
#include "linux/ui/QtDialogs.h"
#include "linux/ui/QtEventPump.h"
#include "support/FakePorts.h"

#include <QTemporaryDir>
#include <QWidget>
#include <functional>
#include <memory>

namespace palisade::qt::test {

// The Linux system with its shared data folder in a scratch folder.
class ScratchSystem : public PosixSystemInfo {
public:
    explicit ScratchSystem(std::string folder) : folder_(std::move(folder)) {}
    std::optional<std::string> specialFolder(int) override { return folder_; }

private:
    std::string folder_;
};

// The whole program with its Qt front end on the offscreen platform: real files in a scratch
// folder (the hosts file too), real Qt dialogs, event pump and clock; settings, administrator
// test, autostart and the notification area are the fakes, so a test can click the tray icon.
class GuiRig {
public:
    explicit GuiRig(bool trayAvailable = true);
    ~GuiRig();

    // Starts the program and lets its windows appear.
    void start();
    // Runs pending events until the windows have settled.
    void settle();

    QWidget* main() { return frontEnd->mainWindow().window(); }
    QWidget* password() { return frontEnd->passwordWindow().window(); }
    // A widget of the main window, or of the password window, by its control's name.
    template <typename W = QWidget> W* in1(const char* name) {
        return qobject_cast<W*>(frontEnd->mainWindow().find(name));
    }
    template <typename W = QWidget> W* in2(const char* name) {
        return qobject_cast<W*>(frontEnd->passwordWindow().find(name));
    }
    void click(QWidget* widget);
    // The user's minimise and restore, as the window system reports them.
    void minimise();
    void restore();
    void trayClick(std::uint32_t code = tray::LeftButtonUp);
    // The texts the list view shows.
    std::vector<std::string> rows();
    std::string hostsText();
    std::string scratchPath(const std::string& name) const;

    QTemporaryDir scratch;
    const std::string hostsOriginal = "127.0.0.1\tlocalhost\n";
    PosixFileSystem fs;
    QtDialogs dialogs;
    QtEventPump pump;
    ScratchSystem system;
    SteadyClock clock;
    palisade::test::FakePorts fakes;
    std::unique_ptr<Program> program;
    std::unique_ptr<FrontEnd> frontEnd;

private:
};

// Runs action on the next modal box once it is up.
void WhenModal(std::function<void(QWidget*)> action);

} // namespace palisade::qt::test
