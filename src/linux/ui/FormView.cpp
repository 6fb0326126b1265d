#include "linux/ui/FormView.h"

#include "linux/ui/ControlWidgets.h"
#include "linux/ui/WindowBinding.h"

#include <QDialog>
#include <QPushButton>
#include <map>

namespace palisade::qt {

namespace {

// The password window: a dialog, so that its default button looks the part. Whatever would
// reject it (Escape) presses its cancel button instead; what that means is the program's
// decision.
class DialogWindow : public QDialog {
public:
    explicit DialogWindow(Window& model) : model_(model) {}

    void reject() override {
        if (!model_.pressCancel())
            model_.requestClose();
    }

private:
    Window& model_;
};

} // namespace

FormView::FormView(std::unique_ptr<QWidget> window, Window& model,
                   const std::vector<Control*>& controls, const std::vector<Control*>& tabOrder,
                   const QIcon& icon)
    : window_(std::move(window)) {
    new WindowBinding(model, window_.get(), icon);

    std::map<std::string, QWidget*> made;
    // Containers come before what they hold in the stored order, so each parent exists.
    for (Control* control : controls) {
        QWidget* parent = control->container().empty() ? window_.get() : made[control->container()];
        made[control->name()] = MakeControlWidget(*control, parent ? parent : window_.get());
    }

    for (Control* control : controls)
        if (!control->takesFocus())
            made[control->name()]->setFocusPolicy(Qt::NoFocus);
    QWidget* previous = nullptr;
    for (Control* control : tabOrder) {
        QWidget* widget = made[control->name()];
        if (previous == nullptr)
            widget->setFocus(Qt::OtherFocusReason); // the first in order holds the focus at first
        else
            QWidget::setTabOrder(previous, widget);
        previous = widget;
    }
    if (PushButton* button = model.defaultButton())
        if (auto* widget = qobject_cast<QPushButton*>(made[button->name()]))
            widget->setDefault(true);
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
    return std::unique_ptr<FormView>(new FormView(std::move(window), controls.window,
                                                  controls.controls(), controls.tabOrder(), icon));
}

std::unique_ptr<FormView> FormView::PasswordWindow(Form2Controls& controls, const QIcon& icon) {
    auto dialog = std::make_unique<DialogWindow>(controls.window);
    dialog->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    dialog->setSizeGripEnabled(false);
    return std::unique_ptr<FormView>(new FormView(std::move(dialog), controls.window,
                                                  controls.controls(), controls.tabOrder(), icon));
}

} // namespace palisade::qt
