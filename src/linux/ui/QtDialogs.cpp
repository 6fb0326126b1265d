#include "linux/ui/QtDialogs.h"

#include "linux/ui/QtText.h"
#include "linux/ui/UserFileChooser.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <algorithm>

namespace palisade::qt {

namespace {

// Flag bit of the open-file request: several files may be chosen.
constexpr long AllowMultiSelect = 0x200;

std::string PathBytes(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

} // namespace

QtDialogs::QtDialogs(const std::optional<UserAccount>& onBehalfOf) {
    if (onBehalfOf)
        chooser_ = std::make_unique<UserFileChooser>(*onBehalfOf);
}

QtDialogs::~QtDialogs() = default;

bool QtDialogs::run(QDialog& dialog) {
    dialog.setWindowModality(Qt::ApplicationModal);
    open_.emplace_back(&dialog);
    const int result = dialog.exec();
    open_.erase(std::remove(open_.begin(), open_.end(), QPointer<QDialog>(&dialog)), open_.end());
    return result == QDialog::Accepted;
}

void QtDialogs::messageBox(const std::string& text, const std::string& title, MessageIcon icon) {
    QMessageBox box(QApplication::activeWindow());
    box.setObjectName(QStringLiteral("MessageBox"));
    box.setWindowTitle(Shown(title));
    box.setTextFormat(Qt::PlainText);
    box.setText(MessageText(text));
    box.setIcon(icon == MessageIcon::Warning ? QMessageBox::Warning : QMessageBox::NoIcon);
    box.setStandardButtons(QMessageBox::Ok);
    box.setEscapeButton(QMessageBox::Ok);
    run(box);
}

std::string QtDialogs::inputBox(const std::string& prompt, const std::string& title,
                                const std::string& defaultText) {
    QInputDialog box(QApplication::activeWindow());
    box.setObjectName(QStringLiteral("InputBox"));
    box.setWindowTitle(Shown(title));
    box.setInputMode(QInputDialog::TextInput);
    box.setLabelText(MessageText(prompt));
    box.setTextValue(Shown(defaultText));
    if (!run(box))
        return {};
    return Typed(box.textValue());
}

std::string QtDialogs::openFile(const OpenFileRequest& request) {
    if (chooser_) {
        if (auto chosen = chooser_->choose(request, QApplication::activeWindow()))
            return *chosen;
        messageBox("The open-file dialog could not be shown: " + Typed(chooser_->problem()) + ".",
                   Typed(QApplication::applicationName()), MessageIcon::Warning);
        return {};
    }
    QFileDialog box(QApplication::activeWindow(), Shown(request.title));
    SetUpOpenFileDialog(box, request);
    if (!run(box))
        return {};
    return ChosenFiles(box.selectedFiles());
}

void SetUpOpenFileDialog(QFileDialog& box, const OpenFileRequest& request) {
    box.setObjectName(QStringLiteral("OpenFileDialog"));
    box.setOption(QFileDialog::DontUseNativeDialog);
    box.setAcceptMode(QFileDialog::AcceptOpen);
    box.setFileMode((request.flags & AllowMultiSelect) != 0 ? QFileDialog::ExistingFiles
                                                            : QFileDialog::ExistingFile);
    box.setNameFilters(NameFilters(request.filter));
}

void QtDialogs::cancelAll() {
    if (chooser_)
        chooser_->cancel();
    // Newest first: a box opened from inside another closes before it.
    const auto open = open_;
    for (auto it = open.rbegin(); it != open.rend(); ++it)
        if (*it)
            (*it)->reject();
}

QStringList NameFilters(const std::string& filter) {
    const QStringList parts = Shown(filter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString name = parts[i];
        const auto open = name.indexOf(QLatin1Char('('));
        if (open >= 0)
            name = name.left(open);
        name = name.trimmed();
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString& pattern : patterns) {
            pattern = pattern.trimmed();
            if (pattern == QLatin1String("*.*"))
                pattern = QStringLiteral("*");
        }
        if (patterns.isEmpty())
            continue;
        filters << QStringLiteral("%1 (%2)").arg(name, patterns.join(QLatin1Char(' ')));
    }
    return filters;
}

std::string ChosenFiles(const QStringList& paths) {
    if (paths.isEmpty())
        return {};
    if (paths.size() == 1)
        return PathBytes(paths.front());
    // Files typed from several folders are handed over from the folder they share, each name
    // keeping the rest of its path, so that none is looked for in another file's folder.
    QString folder = QFileInfo(paths.front()).absolutePath();
    for (const QString& path : paths) {
        const QString own = QFileInfo(path).absolutePath();
        while (
            own != folder &&
            !own.startsWith(folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/')))
            folder = QFileInfo(folder).absolutePath();
    }
    const QDir shared(folder);
    std::string result = PathBytes(folder);
    for (const QString& path : paths) {
        result.push_back('\0');
        result += PathBytes(shared.relativeFilePath(path));
    }
    return result;
}

} // namespace palisade::qt
