#include "ui/qt/WindowBinding.h"

#include "ui/qt/ControlWidgets.h"
#include "ui/qt/Pointers.h"
#include "ui/qt/QtText.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWindowStateChangeEvent>

namespace palisade::qt {

WindowBinding::WindowBinding(Window& model, QWidget* widget, QIcon programIcon)
    : QObject(widget), model_(model), widget_(widget), programIcon_(std::move(programIcon)) {
    widget->setObjectName(QString::fromStdString(model.name()));
    const Geometry& area = model.geometry();
    widget->setFixedSize(Pixels(area.width), Pixels(area.height));
    widget->setFont(FontOf(model.font()));
    widget->setAutoFillBackground(true);
    widget->setMouseTracking(true);
    widget->installEventFilter(this);
    model.changed.connect([self = QPointer<WindowBinding>(this)] {
        if (self)
            self->refresh();
    });
    refresh();
}

void WindowBinding::refresh() {
    if (!widget_)
        return;
    widget_->setWindowTitle(Shown(model_.caption()));
    widget_->setWindowIcon(model_.icon() == WindowIcon::Program ? programIcon_ : QIcon());
    ApplyColors(widget_, model_);
    if (model_.mouseIcon() != cursorFile_) {
        cursorFile_ = model_.mouseIcon();
        custom_ = cursorFile_.empty() ? std::nullopt : LoadCursorFile(cursorFile_);
    }
    if (model_.mousePointer() == pointers::Default)
        widget_->unsetCursor();
    else
        widget_->setCursor(PointerFor(model_.mousePointer(), custom_));
    if (!inStateChange_) {
        applyStateAndVisibility();
    } else if (!applyQueued_) {
        applyQueued_ = true;
        QTimer::singleShot(0, this, [this] {
            applyQueued_ = false;
            applyStateAndVisibility();
        });
    }
}

void WindowBinding::applyStateAndVisibility() {
    if (!widget_)
        return;
    const Qt::WindowStates wanted = model_.state() == WindowState::Minimized   ? Qt::WindowMinimized
                                    : model_.state() == WindowState::Maximized ? Qt::WindowMaximized
                                                                               : Qt::WindowNoState;
    if (!model_.visible()) {
        // A hidden window takes its state without being shown.
        if (widget_->isVisible())
            widget_->hide();
        widget_->setWindowState(wanted);
        return;
    }
    if (!placed_) {
        placed_ = true;
        centre();
    }
    if (widget_->windowState() != wanted)
        widget_->setWindowState(wanted);
    if (!widget_->isVisible())
        widget_->show();
}

void WindowBinding::centre() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    const QRect area = screen->availableGeometry();
    widget_->move(area.center() - QPoint(widget_->width() / 2, widget_->height() / 2));
}

bool WindowBinding::eventFilter(QObject* watched, QEvent* event) {
    if (watched != widget_)
        return false;
    switch (event->type()) {
    case QEvent::Close:
        // Closing is the program's decision, made by its close handling.
        event->ignore();
        model_.requestClose();
        return true;
    case QEvent::WindowStateChange: {
        const Qt::WindowStates now = widget_->windowState();
        const WindowState state = now.testFlag(Qt::WindowMinimized)   ? WindowState::Minimized
                                  : now.testFlag(Qt::WindowMaximized) ? WindowState::Maximized
                                                                      : WindowState::Normal;
        if (widget_->isVisible() && state != model_.state()) {
            inStateChange_ = true;
            model_.setState(state);
            inStateChange_ = false;
        }
        return false;
    }
    case QEvent::MouseMove:
        model_.mouseMove();
        return false;
    default:
        return false;
    }
}

} // namespace palisade::qt
