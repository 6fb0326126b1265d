#include "linux/ui/EventHook.h"

#include <QMouseEvent>
#include <QWidget>

namespace palisade::qt {

void OnMouseMove(QWidget* widget, std::function<void()> handler) {
    widget->setMouseTracking(true);
    new EventHook(widget, QEvent::MouseMove, [widget, handler = std::move(handler)](QEvent* event) {
        if (!OverAChild(widget, event))
            handler();
        return false;
    });
}

bool OverAChild(QWidget* widget, QEvent* event) {
    const auto* mouse = static_cast<QMouseEvent*>(event);
    return widget->childAt(mouse->position().toPoint()) != nullptr;
}

} // namespace palisade::qt
