#pragma once

#include "linux/system/UserAccount.h"
#include "platform/Dialogs.h"

#include <QPointer>
#include <QProcess>
#include <QString>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

class QWidget;

namespace palisade::qt {

// The argument that starts the program as the chooser below; what follows it is the request's
// title, filter and flags, the owner window's id and its place on the screen ("x,y,w,h").
inline constexpr const char* ChooseFilesArgument = "--choose-files";

// The open-file dialog of a copy run as root for a user, shown by a process of the user's own:
// the program started again with the user's ids and groups, showing only the dialog and
// printing the choice. Shown by root, the dialog would list folders the user cannot read and
// make folders of root's in theirs; shown so, it reaches only what the user could, and the files
// chosen are still read as the user. The program's windows take no input meanwhile, as under a
// dialog of its own.
class UserFileChooser {
public:
    // program: what shows the dialog when given the arguments above; the program itself unless a
    // test says otherwise.
    explicit UserFileChooser(UserAccount user, QString program = QStringLiteral("/proc/self/exe"));
    UserFileChooser(const UserFileChooser&) = delete;
    UserFileChooser& operator=(const UserFileChooser&) = delete;

    // The choice as Dialogs::openFile gives it, the empty text when the user cancelled; nothing
    // when no dialog could be shown, and problem() says why.
    std::optional<std::string> choose(const OpenFileRequest& request, QWidget* owner);
    const QString& problem() const { return problem_; }
    // Ends a dialog being shown as though the user had cancelled it.
    void cancel();

private:
    UserAccount user_;
    std::vector<gid_t> groups_;
    QString program_;
    QPointer<QProcess> running_;
    bool cancelled_ = false;
    QString problem_;
};

// The chooser's own side: shows the dialog that the arguments after ChooseFilesArgument ask for
// and prints the choice on standard output. Returns the exit status; refuses to run as root.
int RunFileChooser(int argc, char** argv);

} // namespace palisade::qt
