#include "linux/ui/ControlWidgets.h"

#include "linux/ui/EventHook.h"
#include "linux/ui/FrameWidget.h"
#include "linux/ui/ListViewWidget.h"
#include "linux/ui/QtText.h"
#include "ui/model/CheckBox.h"
#include "ui/model/PushButton.h"
#include "ui/model/TextBox.h"

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

namespace palisade::qt {

namespace {

// Captions are plain text: an ampersand is shown, not taken as a shortcut mark.
QString Caption(const Control& control) {
    return Shown(control.caption()).replace(QLatin1Char('&'), QStringLiteral("&&"));
}

// Runs refresh now and after every change of the control, for as long as the widget exists.
template <typename W, typename Refresh> void Follow(Control& control, W* widget, Refresh refresh) {
    refresh(widget);
    control.changed.connect([&control, w = QPointer<W>(widget), refresh] {
        if (w) {
            refresh(w.data());
            w->setVisible(control.visible());
            ApplyColors(w.data(), control);
        }
    });
}

QWidget* MakePushButton(PushButton& model, QWidget* parent) {
    auto* button = new QPushButton(parent);
    button->setAutoDefault(false);
    Follow(model, button, [&model](QPushButton* b) { b->setText(Caption(model)); });
    QObject::connect(button, &QPushButton::clicked, button, [&model] { model.press(); });
    // Enter clicks the focused button, as Space does; the window's own Enter (its default
    // button) is for the other controls.
    new EventHook(button, QEvent::KeyPress, [button](QEvent* event) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) ||
            (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
            return false;
        if (!key->isAutoRepeat())
            button->click();
        return true;
    });
    return button;
}

QWidget* MakeCheckBox(CheckBox& model, QWidget* parent) {
    auto* box = new QCheckBox(parent);
    Follow(model, box, [&model](QCheckBox* b) {
        b->setText(Caption(model));
        b->setTristate(model.value() == CheckBox::Greyed);
        b->setCheckState(model.value() == CheckBox::Checked  ? Qt::Checked
                         : model.value() == CheckBox::Greyed ? Qt::PartiallyChecked
                                                             : Qt::Unchecked);
    });
    // clicked comes only from the user; the model's click handling may change the box again.
    QObject::connect(box, &QCheckBox::clicked, box, [&model, box] {
        model.setValue(box->checkState() == Qt::Checked ? CheckBox::Checked : CheckBox::Unchecked);
    });
    return box;
}

QWidget* MakeTextBox(TextBox& model, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    if (model.passwordChar() != '\0')
        edit->setEchoMode(QLineEdit::Password);
    // The model's selection is applied when the model selects, not when a new text merely cuts
    // the old selection short: that would select what the user has just typed.
    struct Seen {
        std::string text;
        std::pair<std::size_t, std::size_t> selection{0, 0};
    };
    auto seen = std::make_shared<Seen>();
    Follow(model, edit, [&model, seen](QLineEdit* e) {
        const std::pair selection{model.selStart(), model.selLength()};
        if (model.text() != seen->text) {
            seen->text = model.text();
            seen->selection = selection;
            if (const QString text = Shown(model.text()); e->text() != text)
                e->setText(text);
            return;
        }
        if (selection == seen->selection)
            return;
        seen->selection = selection;
        const auto& bytes = model.text();
        const auto start = Shown(bytes.substr(0, selection.first)).size();
        const auto length = Shown(bytes.substr(selection.first, selection.second)).size();
        e->setSelection(static_cast<int>(start), static_cast<int>(length));
    });
    // textEdited comes only from the user, never from setText.
    QObject::connect(edit, &QLineEdit::textEdited, edit,
                     [&model](const QString& text) { model.setText(Typed(text)); });
    model.focusRequested.connect([w = QPointer<QLineEdit>(edit)] {
        if (w)
            w->setFocus(Qt::OtherFocusReason);
    });
    return edit;
}

QWidget* MakeFrame(Frame& model, QWidget* parent) {
    auto* frame = new FrameWidget(parent);
    frame->setAutoFillBackground(true);
    Follow(model, frame, [&model](FrameWidget* f) { f->setTitle(Caption(model)); });
    return frame;
}

QWidget* MakeLabel(Label& model, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setAutoFillBackground(true);
    Follow(model, label, [&model](QLabel* l) { l->setText(Shown(model.caption())); });
    return label;
}

QWidget* MakeKind(Control& control, QWidget* parent) {
    switch (control.kind()) {
    case ControlKind::PushButton:
        return MakePushButton(static_cast<PushButton&>(control), parent);
    case ControlKind::CheckBox:
        return MakeCheckBox(static_cast<CheckBox&>(control), parent);
    case ControlKind::TextBox:
        return MakeTextBox(static_cast<TextBox&>(control), parent);
    case ControlKind::Frame:
        return MakeFrame(static_cast<Frame&>(control), parent);
    case ControlKind::Label:
        return MakeLabel(static_cast<Label&>(control), parent);
    case ControlKind::ListView:
        return MakeListViewWidget(static_cast<ListView&>(control), parent);
    case ControlKind::Window:
        break;
    }
    return new QWidget(parent);
}

} // namespace

QWidget* MakeControlWidget(Control& control, QWidget* parent) {
    QWidget* widget = MakeKind(control, parent);
    widget->setObjectName(QString::fromStdString(control.name()));
    const Geometry& g = control.geometry();
    widget->setGeometry(Pixels(g.left), Pixels(g.top), Pixels(g.width), Pixels(g.height));
    widget->setFont(FontOf(control.font()));
    widget->setVisible(control.visible());
    ApplyColors(widget, control);
    // The list reports moves over its rows itself.
    if (control.kind() != ControlKind::ListView)
        OnMouseMove(widget, [&control] { control.mouseMove(); });
    return widget;
}

void ApplyColors(QWidget* widget, const Control& control) {
    const QPalette system = QApplication::palette();
    const QColor back = ColorOf(control.backColor(), system);
    const QColor fore = ColorOf(control.foreColor(), system);
    QPalette palette = widget->palette();
    switch (control.kind()) {
    case ControlKind::PushButton:
        palette.setColor(QPalette::Button, back);
        palette.setColor(QPalette::ButtonText, fore);
        break;
    case ControlKind::TextBox:
    case ControlKind::ListView:
        palette.setColor(QPalette::Base, back);
        palette.setColor(QPalette::Text, fore);
        break;
    case ControlKind::CheckBox:
        // The box and its tick as well as the caption, in the same colours.
        palette.setColor(QPalette::Base, back);
        palette.setColor(QPalette::Text, fore);
        palette.setColor(QPalette::Window, back);
        palette.setColor(QPalette::WindowText, fore);
        break;
    default:
        palette.setColor(QPalette::Window, back);
        palette.setColor(QPalette::WindowText, fore);
        break;
    }
    widget->setPalette(palette);
}

} // namespace palisade::qt
