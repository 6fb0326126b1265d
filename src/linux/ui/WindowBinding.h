#pragma once

#include "common/Signal.h"
#include "ui/model/Window.h"

#include <QCursor>
#include <QIcon>
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <optional>

namespace palisade::qt {

// Keeps a top-level widget in step with its window model: caption, icon, background, pointer,
// state and visibility, loading (an unloaded window opens centred again) and requests to come to
// the front. The user's minimise and restore reach the model as state changes, the close box as
// a close request, Enter and Escape as presses of the window's default and cancel buttons; the
// widget itself never closes.
class WindowBinding : public QObject {
public:
    WindowBinding(Window& model, QWidget* widget, QIcon programIcon);

    void refresh();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void applyStateAndVisibility();
    void centre();
    void bringToFront();
    // The user has minimised or restored the window (also from the task bar).
    void userChangedState();

    Window& model_;
    QPointer<QWidget> widget_;
    QIcon programIcon_;
    std::string cursorFile_;
    std::optional<QCursor> custom_;
    bool placed_ = false;
    bool wasLoaded_ = false;
    bool applyQueued_ = false;
    // The model outlives the binding: what it raises after the binding has gone must not reach it.
    ScopedConnection changed_;
    ScopedConnection activateRequested_;
};

} // namespace palisade::qt
