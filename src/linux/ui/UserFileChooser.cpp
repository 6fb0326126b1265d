#include "linux/ui/UserFileChooser.h"

#include "linux/system/FsIdentity.h"
#include "linux/ui/QtDialogs.h"
#include "linux/ui/QtText.h"

#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <QFileDialog>
#include <QProcessEnvironment>
#include <QWindow>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <grp.h>
#include <linux/close_range.h>
#include <memory>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace palisade::qt {

namespace {

// Far more than any choice of files takes; a chooser that prints on is stopped.
constexpr qint64 MaxChoiceBytes = 16 << 20;

// What the dialog's process is given of the program's environment: the display, the language,
// the sanitizers' settings of a test build; its home is the user's own.
QProcessEnvironment ChooserEnvironment(const UserAccount& user) {
    const QProcessEnvironment own = QProcessEnvironment::systemEnvironment();
    QProcessEnvironment chooser;
    for (const QString& name : own.keys())
        if (name.startsWith(QLatin1String("LC_")) ||
            QStringList{"DISPLAY", "XAUTHORITY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "LANG",
                        "LANGUAGE", "PATH", "ASAN_OPTIONS", "LSAN_OPTIONS", "UBSAN_OPTIONS"}
                .contains(name))
            chooser.insert(name, own.value(name));
    chooser.insert(QStringLiteral("HOME"), QFile::decodeName(user.home.c_str()));
    const QString runtime = QStringLiteral("/run/user/%1").arg(user.uid);
    struct stat st {};
    if (::stat(QFile::encodeName(runtime).constData(), &st) == 0 && st.st_uid == user.uid)
        chooser.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    return chooser;
}

// Swallows what the window system sends the program's windows (clicks, keys, the close box),
// never what the program does to them itself.
class InputBlock : public QObject {
public:
    InputBlock() { qApp->installEventFilter(this); }
    ~InputBlock() override { qApp->removeEventFilter(this); }
    InputBlock(const InputBlock&) = delete;
    InputBlock& operator=(const InputBlock&) = delete;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        return event->spontaneous() && (event->isInputEvent() || event->type() == QEvent::Close);
    }
};

} // namespace

UserFileChooser::UserFileChooser(UserAccount user, QString program)
    : user_(std::move(user)), groups_(GroupsOf(user_)), program_(std::move(program)) {}

std::optional<std::string> UserFileChooser::choose(const OpenFileRequest& request, QWidget* owner) {
    problem_.clear();
    cancelled_ = false;
    QProcess process;
    process.setProgram(program_);
    QWidget* window = owner ? owner->window() : nullptr;
    const QRect area = window ? window->frameGeometry() : QRect();
    process.setArguments({QString::fromLatin1(ChooseFilesArgument),
                          QFile::decodeName(request.title.c_str()),
                          QFile::decodeName(request.filter.c_str()), QString::number(request.flags),
                          QString::number(window ? window->winId() : 0),
                          QStringLiteral("%1,%2,%3,%4")
                              .arg(area.x())
                              .arg(area.y())
                              .arg(area.width())
                              .arg(area.height())});
    process.setProcessEnvironment(ChooserEnvironment(user_));
    // The dialog opens in its working folder: root's copy's own may be closed to the user.
    struct stat home {};
    if (::stat(user_.home.c_str(), &home) == 0 && S_ISDIR(home.st_mode))
        process.setWorkingDirectory(QFile::decodeName(user_.home.c_str()));
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    // In the child, before the program starts again: the user's groups, group and user, for
    // good (real, effective and saved alike, so root cannot be taken back), or no start at all.
    // Nothing root opened is left open for it, and it ends with this program.
    const uid_t uid = user_.uid;
    const gid_t gid = user_.gid;
    const std::vector<gid_t>& groups = groups_;
    process.setChildProcessModifier([uid, gid, &groups] {
        if (::setgroups(groups.size(), groups.data()) != 0 || ::setresgid(gid, gid, gid) != 0 ||
            ::setresuid(uid, uid, uid) != 0 || ::setresuid(0, 0, 0) == 0)
            ::_exit(127);
        ::close_range(3, ~0U, CLOSE_RANGE_CLOEXEC);
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    });
    process.start(QIODevice::ReadOnly);
    if (!process.waitForStarted()) {
        problem_ = process.errorString();
        return std::nullopt;
    }
    QEventLoop loop;
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&process, &QProcess::readyReadStandardOutput, &process, [&process] {
        if (process.bytesAvailable() > MaxChoiceBytes)
            process.kill(); // it is then no choice, but a failure
    });
    {
        const InputBlock block;
        running_ = &process;
        loop.exec();
        running_ = nullptr;
    }
    if (cancelled_)
        return std::string();
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        problem_ = process.exitStatus() == QProcess::NormalExit
                       ? QStringLiteral("it ended with status %1").arg(process.exitCode())
                       : QStringLiteral("it ended abruptly");
        return std::nullopt;
    }
    const QByteArray choice = process.readAllStandardOutput();
    return std::string(choice.constData(), static_cast<size_t>(choice.size()));
}

void UserFileChooser::cancel() {
    if (running_) {
        cancelled_ = true;
        running_->kill();
    }
}

int RunFileChooser(int argc, char** argv) {
    if (::geteuid() == 0 || argc != 7) {
        std::fprintf(stderr, "palisade: %s is for the program itself, run as its user\n",
                     ChooseFilesArgument);
        return 2;
    }
    const OpenFileRequest request{argv[2], argv[3], std::strtol(argv[4], nullptr, 10), {}};
    const auto owner = static_cast<WId>(std::strtoull(argv[5], nullptr, 10));
    int x = 0, y = 0, width = 0, height = 0;
    std::sscanf(argv[6], "%d,%d,%d,%d", &x, &y, &width, &height);
    // As for the program itself, Qt is given no options.
    int qtArgc = 1;
    char* qtArgv[] = {argv[0], nullptr};
    QApplication app(qtArgc, qtArgv);
    QFileDialog box(nullptr, Shown(request.title));
    SetUpOpenFileDialog(box, request);
    // Over the middle of the program's window and kept in front of it, as a dialog of its own.
    std::unique_ptr<QWindow> ownerWindow(owner != 0 ? QWindow::fromWinId(owner) : nullptr);
    if (ownerWindow) {
        box.winId();
        box.windowHandle()->setTransientParent(ownerWindow.get());
    }
    if (width > 0 && height > 0)
        box.move(QRect(x, y, width, height).center() - box.rect().center());
    if (box.exec() != QDialog::Accepted)
        return 0;
    const std::string choice = ChosenFiles(box.selectedFiles());
    return std::fwrite(choice.data(), 1, choice.size(), stdout) == choice.size() &&
                   std::fflush(stdout) == 0
               ? 0
               : 1;
}

} // namespace palisade::qt
