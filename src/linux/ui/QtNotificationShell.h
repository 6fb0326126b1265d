#pragma once

#include "platform/NotificationShell.h"

#include <QDeadlineTimer>
#include <QIcon>
#include <QSystemTrayIcon>
#include <optional>

namespace palisade::qt {

// The notification area through QSystemTrayIcon. Qt reports neither a balloon's timeout nor its
// closing, only a click on it, so a balloon is otherwise taken down when its time has run out.
// When the notification area itself restarts, Qt docks the icon again on its own.
//
// What the icon reports reaches the hook from the event loop, never from inside the event that
// raised it: the program's handling may take the icon down, and Qt must not be left delivering
// an event to an icon that is gone. Where Qt draws the icon itself (the X11 tray, whose icon
// widget reports a click when the button goes down), a click is reported when the button comes
// up, as the Windows shell does; a StatusNotifierItem tray reports only whole clicks.
class QtNotificationShell : public QObject, public NotificationShell {
public:
    explicit QtNotificationShell(QIcon icon);
    ~QtNotificationShell() override;

    void notify(std::uint32_t message, const NotifyIconData& data) override;
    void installHook(Callback callback) override;
    void removeHook() override;
    bool available() override;
    IconHandle programIcon() override { return ProgramIconHandle; }

    // The icon as Qt holds it, for tests.
    QSystemTrayIcon& trayIcon() { return tray_; }

    // The one icon the program has.
    static constexpr IconHandle ProgramIconHandle = 1;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Balloon {
        QString title;
        QString text;
        int msecs = 0;
        // A balloon whose time passes before the icon has a place is not shown.
        QDeadlineTimer expires;
    };

    void deliverLater(std::uint32_t code);
    void deliver(std::uint32_t code);
    // Shows the waiting balloon once the icon has a place on screen.
    void showWhenPlaced();

    QIcon icon_;
    QSystemTrayIcon tray_;
    Callback callback_;
    std::uint32_t id_ = 0;
    // Set while the icon widget handles a button press: the activation Qt raises from it is not
    // the click, the release is.
    bool inPress_ = false;
    std::optional<Balloon> waiting_;
};

// The callback code of a click on the icon: 0x202 a left click, 0x205 a right click, 0x203 a
// double click; 0 (nothing) for the middle button and anything else.
std::uint32_t TrayCodeOf(QSystemTrayIcon::ActivationReason reason);

// The code of a button's release over the icon: 0x202 left, 0x205 right, 0 any other.
std::uint32_t TrayReleaseCodeOf(Qt::MouseButton button);

} // namespace palisade::qt
