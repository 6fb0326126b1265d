#include "ui/qt/FormView.h"

#include "ui/qt/ControlWidgets.h"
#include "ui/qt/WindowBinding.h"

#include <QDialog>
#include <QPushButton>
#include <algorithm>
#include <map>

namespace palisade::qt {

namespace {

// The password window: Enter presses its default button, Escape asks to close it, as the close
// box does; what closing means is the program's decision.
class DialogWindow : public QDialog {
public:
    explicit DialogWindow(Window& model) : model_(model) {}

    void reject() override { model_.requestClose(); }

private:
    Window& model_;
};

bool TakesFocus(const Control& control) {
    return control.kind() != ControlKind::Frame && control.kind() != ControlKind::Label;
}

} // namespace

FormView::FormView(std::unique_ptr<QWidget> window, Window& model, std::vector<Control*> controls,
                   const QIcon& icon)
    : window_(std::move(window)) {
    new WindowBinding(model, window_.get(), icon);

    std::map<std::string, QWidget*> made;
    // Containers come before what they hold in the stored order, so each parent exists.
    for (Control* control : controls) {
        QWidget* parent = control->container().empty() ? window_.get() : made[control->container()];
        made[control->name()] = MakeControlWidget(*control, parent ? parent : window_.get());
    }

    std::stable_sort(controls.begin(), controls.end(), [](const Control* a, const Control* b) {
        return a->tabIndex() < b->tabIndex();
    });
    QWidget* previous = nullptr;
    for (Control* control : controls) {
        QWidget* widget = made[control->name()];
        if (!TakesFocus(*control)) {
            widget->setFocusPolicy(Qt::NoFocus);
            continue;
        }
        if (previous == nullptr)
            widget->setFocus(Qt::OtherFocusReason); // the first in order holds the focus at first
        else
            QWidget::setTabOrder(previous, widget);
        previous = widget;
    }
}

FormView::~FormView() = default;

QWidget* FormView::find(const char* name) const {
    return window_->findChild<QWidget*>(QString::fromLatin1(name));
}

std::unique_ptr<FormView> FormView::MainWindow(Form1Controls& controls, const QIcon& icon) {
    auto window = std::make_unique<QWidget>(
        nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                     Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                     Qt::WindowCloseButtonHint);
    return std::unique_ptr<FormView>(
        new FormView(std::move(window), controls.window, controls.controls(), icon));
}

std::unique_ptr<FormView> FormView::PasswordWindow(Form2Controls& controls, const QIcon& icon) {
    auto dialog = std::make_unique<DialogWindow>(controls.window);
    dialog->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    QDialog* raw = dialog.get();
    auto view = std::unique_ptr<FormView>(
        new FormView(std::move(dialog), controls.window, controls.controls(), icon));
    raw->setSizeGripEnabled(false);
    if (auto* ok = view->find("PushButton2"); auto* button = qobject_cast<QPushButton*>(ok))
        button->setDefault(true);
    return view;
}

} // namespace palisade::qt
