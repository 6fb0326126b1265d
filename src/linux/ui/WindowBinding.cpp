#include "linux/ui/WindowBinding.h"

#include "linux/ui/ControlWidgets.h"
#include "linux/ui/EventHook.h"
#include "linux/ui/Pointers.h"
#include "linux/ui/QtText.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
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
    changed_ = model.changed.connect([this] { refresh(); });
    activateRequested_ = model.activateRequested.connect([this] { bringToFront(); });
    refresh();
}

void WindowBinding::refresh() {
    if (!widget_)
        return;
    // A window loaded afresh opens centred, as the first time.
    if (wasLoaded_ && !model_.loaded())
        placed_ = false;
    wasLoaded_ = model_.loaded();
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
    // The window system is told only where the model has settled: a window that is minimised
    // and at once hidden by the program is hidden, never first iconified.
    if (!applyQueued_) {
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
        // Its state is given when it is shown again: the window system is still unmapping it.
        if (widget_->isVisible())
            widget_->hide();
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

void WindowBinding::userChangedState() {
    if (!widget_ || !widget_->isVisible())
        return;
    const Qt::WindowStates now = widget_->windowState();
    const WindowState state = now.testFlag(Qt::WindowMinimized)   ? WindowState::Minimized
                              : now.testFlag(Qt::WindowMaximized) ? WindowState::Maximized
                                                                  : WindowState::Normal;
    if (state != model_.state())
        model_.setState(state);
}

void WindowBinding::centre() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    const QRect area = screen->availableGeometry();
    widget_->move(area.center() - QPoint(widget_->width() / 2, widget_->height() / 2));
}

void WindowBinding::bringToFront() {
    if (!widget_)
        return;
    applyStateAndVisibility();
    if (!widget_->isVisible())
        return;
    widget_->raise();
    widget_->activateWindow();
}

bool WindowBinding::eventFilter(QObject* watched, QEvent* event) {
    if (watched != widget_)
        return false;
    switch (event->type()) {
    // What the window system reports reaches the program from the event loop, not from inside
    // the window system's own event: the program's handling may wait, letting events run.
    case QEvent::Close:
        // Closing is the program's decision, made by its close handling.
        event->ignore();
        QTimer::singleShot(0, this, [this] { model_.requestClose(); });
        return true;
    case QEvent::WindowStateChange:
        QTimer::singleShot(0, this, [this] { userChangedState(); });
        return false;
    case QEvent::MouseMove:
        // Moves over a control that it let pass up are the control's, not the window surface's.
        if (!OverAChild(widget_, event))
            model_.mouseMove();
        return false;
    case QEvent::KeyPress: {
        // Reaches the window only when the focused control has not taken the key.
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter)
            return model_.pressDefault();
        if (key == Qt::Key_Escape)
            return model_.pressCancel();
        return false;
    }
    default:
        return false;
    }
}

} // namespace palisade::qt
