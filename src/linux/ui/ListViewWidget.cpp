#include "linux/ui/ListViewWidget.h"

#include "linux/ui/EventHook.h"
#include "linux/ui/QtText.h"
#include "linux/ui/SiteListModel.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QPointer>
#include <QTreeView>
#include <memory>

namespace palisade::qt {

namespace {

// Shift, Ctrl and Alt as the key event's shift state: 1, 2 and 4.
int ShiftState(Qt::KeyboardModifiers modifiers) {
    return (modifiers.testFlag(Qt::ShiftModifier) ? 1 : 0) |
           (modifiers.testFlag(Qt::ControlModifier) ? 2 : 0) |
           (modifiers.testFlag(Qt::AltModifier) ? 4 : 0);
}

class ListViewBinding {
public:
    ListViewBinding(ListView& list, QTreeView* view, SiteListModel* model)
        : list_(list), view_(view), model_(model) {}

    // The control's state shown in the view: header, column width, selection.
    void refresh() {
        if (!view_)
            return;
        model_->refreshHeader();
        if (!list_.columns().empty())
            view_->setColumnWidth(0, Pixels(list_.columns().front().width));
        view_->setToolTip(Shown(list_.toolTip()));
        const int wanted = static_cast<int>(list_.selectedIndex()) - 1;
        if (selectedRow() == wanted)
            return;
        model_->flush();
        applying_ = true;
        if (wanted < 0) {
            view_->selectionModel()->clearSelection();
        } else {
            const QModelIndex index = model_->index(wanted);
            view_->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
            view_->scrollTo(index);
        }
        applying_ = false;
    }

    // The user's selection, told to the control; changes the view makes while following the
    // control are not the user's.
    void selectionChanged() {
        if (applying_)
            return;
        const int row = selectedRow();
        list_.select(row < 0 || static_cast<std::size_t>(row) >= list_.count()
                         ? 0
                         : static_cast<std::size_t>(row) + 1);
    }

    // Items removed or cleared by the core: the view's own follow-up is not the user's either.
    void guard(bool on) { applying_ = on; }

private:
    int selectedRow() const {
        const auto rows = view_->selectionModel()->selectedRows();
        return rows.isEmpty() ? -1 : rows.front().row();
    }

    ListView& list_;
    QPointer<QTreeView> view_;
    SiteListModel* model_;
    bool applying_ = false;
};

} // namespace

int KeyCodeOf(int qtKey) {
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9))
        return qtKey;
    switch (qtKey) {
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_Tab:
        return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Escape:
        return 27;
    case Qt::Key_Space:
        return 32;
    case Qt::Key_PageUp:
        return 33;
    case Qt::Key_PageDown:
        return 34;
    case Qt::Key_End:
        return 35;
    case Qt::Key_Home:
        return 36;
    case Qt::Key_Left:
        return 37;
    case Qt::Key_Up:
        return 38;
    case Qt::Key_Right:
        return 39;
    case Qt::Key_Down:
        return 40;
    case Qt::Key_Insert:
        return 45;
    case Qt::Key_Delete:
        return 46;
    default:
        return 0;
    }
}

QWidget* MakeListViewWidget(ListView& list, QWidget* parent) {
    auto* view = new QTreeView(parent);
    auto* model = new SiteListModel(list, view);
    view->setModel(model);
    view->setRootIsDecorated(false);
    view->setItemsExpandable(false);
    view->setUniformRowHeights(true);
    view->setAllColumnsShowFocus(true);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setTextElideMode(Qt::ElideNone);
    view->header()->setStretchLastSection(false);
    view->header()->setSectionsMovable(false);

    auto binding = std::make_shared<ListViewBinding>(list, view, model);
    binding->refresh();
    list.changed.connect([binding] { binding->refresh(); });
    QObject::connect(view->selectionModel(), &QItemSelectionModel::selectionChanged, view,
                     [binding] { binding->selectionChanged(); });
    // Removing or clearing rows moves the view's selection by itself.
    QObject::connect(model, &QAbstractItemModel::rowsAboutToBeRemoved, view,
                     [binding] { binding->guard(true); });
    QObject::connect(model, &QAbstractItemModel::rowsRemoved, view,
                     [binding] { binding->guard(false); });
    QObject::connect(model, &QAbstractItemModel::modelAboutToBeReset, view,
                     [binding] { binding->guard(true); });
    QObject::connect(model, &QAbstractItemModel::modelReset, view,
                     [binding] { binding->guard(false); });

    new EventHook(view->viewport(), QEvent::MouseButtonDblClick, [&list](QEvent*) {
        list.dblClick();
        return true;
    });
    new EventHook(view, QEvent::KeyPress, [&list](QEvent* event) {
        const auto* key = static_cast<QKeyEvent*>(event);
        list.keyDown(KeyCodeOf(key->key()), ShiftState(key->modifiers()));
        return false;
    });
    OnMouseMove(view->viewport(), [&list] { list.mouseMove(); });
    return view;
}

} // namespace palisade::qt
