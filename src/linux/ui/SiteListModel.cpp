#include "linux/ui/SiteListModel.h"

#include "linux/ui/QtText.h"

#include <QTimer>

namespace palisade::qt {

SiteListModel::SiteListModel(ListView& list, QObject* parent)
    : QAbstractListModel(parent), list_(list), shown_(static_cast<int>(list.count())) {
    list_.itemAdded.connect([this](std::size_t) { added(); });
    list_.itemRemoved.connect([this](std::size_t index) { removed(index); });
    list_.itemsCleared.connect([this] { cleared(); });
}

int SiteListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : shown_;
}

QVariant SiteListModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= shown_ ||
        static_cast<std::size_t>(index.row()) >= list_.count())
        return {};
    return Shown(ShownItemText(list_.items()[static_cast<std::size_t>(index.row())]));
}

QVariant SiteListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        static_cast<std::size_t>(section) >= list_.columns().size())
        return {};
    return Shown(list_.columns()[static_cast<std::size_t>(section)].text);
}

void SiteListModel::flush() {
    const int count = static_cast<int>(list_.count());
    if (count <= shown_)
        return;
    beginInsertRows({}, shown_, count - 1);
    shown_ = count;
    endInsertRows();
}

void SiteListModel::refreshHeader() {
    headerDataChanged(Qt::Horizontal, 0, 0);
}

void SiteListModel::added() {
    if (flushQueued_)
        return;
    flushQueued_ = true;
    QTimer::singleShot(0, this, [this] {
        flushQueued_ = false;
        flush();
    });
}

void SiteListModel::removed(std::size_t index) {
    const int row = static_cast<int>(index) - 1;
    // An item appended and removed again before its batch was announced was never shown.
    if (row >= shown_)
        return;
    beginRemoveRows({}, row, row);
    --shown_;
    endRemoveRows();
}

void SiteListModel::cleared() {
    beginResetModel();
    shown_ = 0;
    endResetModel();
}

} // namespace palisade::qt
