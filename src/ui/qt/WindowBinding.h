#pragma once

#include "ui/model/Window.h"

#include <QCursor>
#include <QIcon>
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <optional>

namespace palisade::qt {

// Keeps a top-level widget in step with its window model: caption, icon, background, pointer,
// state and visibility. The user's minimise and restore reach the model as state changes, the
// close box as a close request; the widget itself never closes.
class WindowBinding : public QObject {
public:
    WindowBinding(Window& model, QWidget* widget, QIcon programIcon);

    void refresh();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void applyStateAndVisibility();
    void centre();

    Window& model_;
    QPointer<QWidget> widget_;
    QIcon programIcon_;
    std::string cursorFile_;
    std::optional<QCursor> custom_;
    bool placed_ = false;
    // Inside the handling of a state change the window manager has made; changes the model makes
    // in answer wait until it is over, when the window system takes them.
    bool inStateChange_ = false;
    bool applyQueued_ = false;
};

} // namespace palisade::qt
