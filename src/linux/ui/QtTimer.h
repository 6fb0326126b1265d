#pragma once

#include "platform/Timer.h"

#include <QObject>

namespace palisade::qt {

// Work for later through Qt's single-shot timers of the window thread. Work still waiting when
// this object goes is dropped with it.
class QtTimer : public QObject, public Timer {
public:
    void singleShot(std::chrono::milliseconds delay, std::function<void()> work) override;
};

} // namespace palisade::qt
