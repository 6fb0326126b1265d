#pragma once

#include "platform/NotificationShell.h"

#include <QIcon>
#include <QSystemTrayIcon>

namespace palisade::qt {

// The notification area through QSystemTrayIcon. Qt reports neither a balloon's timeout nor its
// closing, only a click on it, so a balloon is otherwise taken down when its time has run out.
// When the notification area itself restarts, Qt docks the icon again on its own.
class QtNotificationShell : public QObject, public NotificationShell {
public:
    explicit QtNotificationShell(QIcon icon);

    void notify(std::uint32_t message, const NotifyIconData& data) override;
    void installHook(Callback callback) override;
    void removeHook() override;
    bool available() override;
    IconHandle programIcon() override { return ProgramIconHandle; }

    // The icon as Qt holds it, for tests.
    QSystemTrayIcon& trayIcon() { return tray_; }

    // The one icon the program has.
    static constexpr IconHandle ProgramIconHandle = 1;

private:
    void deliver(std::uint32_t code);

    QIcon icon_;
    QSystemTrayIcon tray_;
    Callback callback_;
    std::uint32_t id_ = 0;
};

// The callback code of a click on the icon: 0x202 a left click, 0x205 a right click, 0x203 a
// double click; 0 (nothing) for the middle button and anything else.
std::uint32_t TrayCodeOf(QSystemTrayIcon::ActivationReason reason);

} // namespace palisade::qt
