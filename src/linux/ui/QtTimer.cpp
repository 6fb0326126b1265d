#include "linux/ui/QtTimer.h"

#include <QTimer>

namespace palisade::qt {

void QtTimer::singleShot(std::chrono::milliseconds delay, std::function<void()> work) {
    QTimer::singleShot(delay, this, std::move(work));
}

} // namespace palisade::qt
