#pragma once

#include <QEvent>
#include <QObject>
#include <functional>
#include <utility>

namespace palisade::qt {

// Runs a function for every event of one type that reaches a widget; the function says whether
// the event is used up.
class EventHook : public QObject {
public:
    using Handler = std::function<bool(QEvent*)>;

    EventHook(QObject* watched, QEvent::Type type, Handler handler)
        : QObject(watched), type_(type), handler_(std::move(handler)) {
        watched->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        return event->type() == type_ && handler_(event);
    }

private:
    QEvent::Type type_;
    Handler handler_;
};

// Calls a function on each mouse move over a widget itself, buttons up or down. A move over one
// of its children that the child let pass up is the child's, not the widget's.
void OnMouseMove(QWidget* widget, std::function<void()> handler);

// Whether a mouse event that reached widget happened over one of its children.
bool OverAChild(QWidget* widget, QEvent* event);

} // namespace palisade::qt
