#pragma once

#include "platform/Dialogs.h"

#include <QDialog>
#include <QPointer>
#include <QStringList>
#include <vector>

namespace palisade::qt {

// The boxes of the program as Qt dialogs, each modal and in front of the program's window.
class QtDialogs : public Dialogs {
public:
    void messageBox(const std::string& text, const std::string& title, MessageIcon icon) override;
    std::string inputBox(const std::string& prompt, const std::string& title,
                         const std::string& defaultText) override;
    std::string openFile(const OpenFileRequest& request) override;
    void cancelAll() override;

private:
    // Runs a dialog until its user or cancelAll closes it; true when it was accepted.
    bool run(QDialog& dialog);

    std::vector<QPointer<QDialog>> open_;
};

// The open-file dialog's filter, "Name (*.a)|*.a|..." pairs, as Qt's name filters. A pattern
// "*.*" becomes "*": on Linux a file name need not have a dot.
QStringList NameFilters(const std::string& filter);

// What the open-file dialog returns for the chosen files (bytes in the local encoding): one
// file's full path, or for several the folder followed by each name, separated by NULs.
std::string ChosenFiles(const QStringList& paths);

} // namespace palisade::qt
