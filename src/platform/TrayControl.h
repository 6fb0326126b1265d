#pragma once

#include "common/Signal.h"

#include <cstdint>
#include <string>

namespace palisade {

// The notification-area icon as its host window uses it.
class TrayControl {
public:
    virtual ~TrayControl() = default;
    virtual void setTrayTip(const std::string& tip) = 0;
    virtual bool inTray() const = 0;
    virtual void setInTray(bool inTray) = 0;
    virtual void ShowBalloon(const std::string& text, const std::string& title,
                             std::int32_t seconds, std::int16_t showOnce) = 0;
    // Whether the desktop offers a notification area now (asked at start and at each minimise).
    virtual bool available() = 0;

    // The mouse over the icon: icon id; button (1 left, 2 right) and icon id.
    Signal<std::int32_t> mouseMove;
    Signal<int, std::int32_t> mouseDown;
    Signal<int, std::int32_t> mouseUp;
    Signal<int, std::int32_t> mouseDblClick;
};

} // namespace palisade
