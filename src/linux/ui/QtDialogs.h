#pragma once

#include "linux/system/UserAccount.h"
#include "platform/Dialogs.h"

#include <QDialog>
#include <QFileDialog>
#include <QPointer>
#include <QStringList>
#include <memory>
#include <optional>
#include <vector>

namespace palisade::qt {

class UserFileChooser;

// The boxes of the program as Qt dialogs, each modal and in front of the program's window. For a
// copy run as root for a user, the open-file dialog is the user's own (UserFileChooser).
class QtDialogs : public Dialogs {
public:
    explicit QtDialogs(const std::optional<UserAccount>& onBehalfOf = std::nullopt);
    ~QtDialogs() override;

    void messageBox(const std::string& text, const std::string& title, MessageIcon icon) override;
    std::string inputBox(const std::string& prompt, const std::string& title,
                         const std::string& defaultText) override;
    std::string openFile(const OpenFileRequest& request) override;
    void cancelAll() override;

private:
    // Runs a dialog until its user or cancelAll closes it; true when it was accepted.
    bool run(QDialog& dialog);

    std::vector<QPointer<QDialog>> open_;
    std::unique_ptr<UserFileChooser> chooser_;
};

// Makes box the open-file dialog the request asks for.
void SetUpOpenFileDialog(QFileDialog& box, const OpenFileRequest& request);

// The open-file dialog's filter, "Name (*.a)|*.a|..." pairs, as Qt's name filters. A pattern
// "*.*" becomes "*": on Linux a file name need not have a dot.
QStringList NameFilters(const std::string& filter);

// What the open-file dialog returns for the chosen files (bytes in the local encoding): one
// file's full path, or for several the folder followed by each name, separated by NULs.
std::string ChosenFiles(const QStringList& paths);

} // namespace palisade::qt
