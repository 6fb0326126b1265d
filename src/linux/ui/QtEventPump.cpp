#include "linux/ui/QtEventPump.h"

#include <QCoreApplication>
#include <QTimer>

namespace palisade::qt {

void QtEventPump::doEvents() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void QtEventPump::waitEvents(std::chrono::milliseconds timeout) {
    if (timeout.count() <= 0) {
        doEvents();
        return;
    }
    QTimer alarm;
    alarm.setSingleShot(true);
    alarm.setTimerType(Qt::PreciseTimer);
    alarm.start(timeout);
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

} // namespace palisade::qt
