#include "ui/qt/QtNotificationShell.h"

#include "ui/qt/QtText.h"

namespace palisade::qt {

QtNotificationShell::QtNotificationShell(QIcon icon) : icon_(std::move(icon)) {
    tray_.setObjectName(QStringLiteral("cSysTray1"));
    connect(&tray_, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (const auto code = TrayCodeOf(reason); code != 0)
                    deliver(code);
            });
    connect(&tray_, &QSystemTrayIcon::messageClicked, this,
            [this] { deliver(tray::BalloonUserClick); });
}

void QtNotificationShell::notify(std::uint32_t message, const NotifyIconData& data) {
    switch (message) {
    case tray::NimAdd:
        id_ = data.id;
        tray_.setIcon((data.flags & tray::NifIcon) != 0 && data.icon != 0 ? icon_ : QIcon());
        tray_.setToolTip((data.flags & tray::NifTip) != 0 ? Shown(data.tip) : QString());
        tray_.show();
        break;
    case tray::NimDelete:
        tray_.hide();
        break;
    case tray::NimModify:
        if ((data.flags & tray::NifIcon) != 0)
            tray_.setIcon(data.icon != 0 ? icon_ : QIcon());
        if ((data.flags & tray::NifTip) != 0)
            tray_.setToolTip(Shown(data.tip));
        // The record that hides a balloon carries no text: showing it would pop up an empty one.
        if ((data.flags & tray::NifInfo) != 0 && !(data.info.empty() && data.infoTitle.empty()))
            tray_.showMessage(MessageText(data.infoTitle), MessageText(data.info),
                              QSystemTrayIcon::NoIcon, static_cast<int>(data.timeoutMs));
        break;
    default:
        break;
    }
}

void QtNotificationShell::installHook(Callback callback) {
    callback_ = std::move(callback);
}

void QtNotificationShell::removeHook() {
    callback_ = nullptr;
}

bool QtNotificationShell::available() {
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void QtNotificationShell::deliver(std::uint32_t code) {
    // A copy: the handler may remove the hook while it runs.
    if (auto callback = callback_)
        callback(code, id_);
}

std::uint32_t TrayCodeOf(QSystemTrayIcon::ActivationReason reason) {
    switch (reason) {
    case QSystemTrayIcon::Trigger:
        return tray::LeftButtonUp;
    case QSystemTrayIcon::Context:
        return tray::RightButtonUp;
    case QSystemTrayIcon::DoubleClick:
        return tray::LeftButtonDblClk;
    default:
        return 0;
    }
}

} // namespace palisade::qt
