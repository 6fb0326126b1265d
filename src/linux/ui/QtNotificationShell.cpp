#include "linux/ui/QtNotificationShell.h"

#include "linux/ui/QtText.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <utility>

namespace palisade::qt {

namespace {

// Qt's own widget for the icon in an X11 (XEmbed) tray; Qt gives it this name.
const QLatin1String IconWidgetName("QSystemTrayIconSys");

bool IsIconWidget(const QObject* object) {
    return object->isWidgetType() && object->objectName() == IconWidgetName;
}

// Whether the icon has its place on screen: an X11 tray maps the icon's window only once it
// has docked it, and until then Qt would point a balloon at the screen's corner. Without such a
// widget the tray is a StatusNotifierItem, which places its balloons itself.
bool IconPlaced() {
    for (const QWidget* widget : QApplication::topLevelWidgets())
        if (IsIconWidget(widget))
            return widget->windowHandle() != nullptr && widget->windowHandle()->isExposed();
    return true;
}

} // namespace

QtNotificationShell::QtNotificationShell(QIcon icon) : icon_(std::move(icon)) {
    tray_.setObjectName(QStringLiteral("cSysTray1"));
    connect(&tray_, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (inPress_)
                    return;
                if (const auto code = TrayCodeOf(reason); code != 0)
                    deliverLater(code);
            });
    connect(&tray_, &QSystemTrayIcon::messageClicked, this,
            [this] { deliverLater(tray::BalloonUserClick); });
    if (QCoreApplication::instance() != nullptr)
        QCoreApplication::instance()->installEventFilter(this);
}

QtNotificationShell::~QtNotificationShell() {
    if (QCoreApplication::instance() != nullptr)
        QCoreApplication::instance()->removeEventFilter(this);
}

bool QtNotificationShell::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        if (IsIconWidget(watched)) {
            inPress_ = true;
            QTimer::singleShot(0, this, [this] { inPress_ = false; });
        }
        break;
    case QEvent::MouseButtonRelease:
        if (IsIconWidget(watched))
            if (const auto code = TrayReleaseCodeOf(static_cast<QMouseEvent*>(event)->button()))
                deliverLater(code);
        break;
    case QEvent::Expose:
        if (waiting_)
            QTimer::singleShot(0, this, [this] { showWhenPlaced(); });
        break;
    default:
        break;
    }
    return false;
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
        waiting_.reset();
        tray_.hide();
        break;
    case tray::NimModify:
        if ((data.flags & tray::NifIcon) != 0)
            tray_.setIcon(data.icon != 0 ? icon_ : QIcon());
        if ((data.flags & tray::NifTip) != 0)
            tray_.setToolTip(Shown(data.tip));
        // The record that hides a balloon carries no text: showing it would pop up an empty one.
        if ((data.flags & tray::NifInfo) != 0 && !(data.info.empty() && data.infoTitle.empty())) {
            const int msecs = static_cast<int>(data.timeoutMs);
            waiting_ = Balloon{MessageText(data.infoTitle), MessageText(data.info), msecs,
                               msecs > 0 ? QDeadlineTimer(msecs)
                                         : QDeadlineTimer(QDeadlineTimer::Forever)};
            showWhenPlaced();
        }
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

void QtNotificationShell::showWhenPlaced() {
    if (!waiting_)
        return;
    if (waiting_->expires.hasExpired()) {
        waiting_.reset();
        return;
    }
    if (!IconPlaced())
        return; // the icon window's exposure brings us back
    const Balloon balloon = *std::exchange(waiting_, std::nullopt);
    tray_.showMessage(balloon.title, balloon.text, QSystemTrayIcon::NoIcon, balloon.msecs);
}

void QtNotificationShell::deliverLater(std::uint32_t code) {
    QMetaObject::invokeMethod(
        this, [this, code] { deliver(code); }, Qt::QueuedConnection);
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

std::uint32_t TrayReleaseCodeOf(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton:
        return tray::LeftButtonUp;
    case Qt::RightButton:
        return tray::RightButtonUp;
    default:
        return 0;
    }
}

} // namespace palisade::qt
