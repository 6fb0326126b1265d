#include "ui/qt/EventHook.h"

#include <QWidget>

namespace palisade::qt {

void OnMouseMove(QWidget* widget, std::function<void()> handler) {
    widget->setMouseTracking(true);
    new EventHook(widget, QEvent::MouseMove, [handler = std::move(handler)](QEvent*) {
        handler();
        return false;
    });
}

} // namespace palisade::qt
