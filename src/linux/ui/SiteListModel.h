#pragma once

#include "ui/model/ListView.h"

#include <QAbstractListModel>

namespace palisade::qt {

// The list control's items as a Qt item model, read straight from the control: nothing is
// copied, so a list of 200,000 entries costs only the rows on screen. Items the core appends
// are announced to the view in one batch when control returns to the event loop (or earlier,
// when something needs the rows), not one row at a time. The control tells of a removal after
// the item is gone, so while the removal is announced the rows below it already read as moved
// up; Qt's views read no rows at that moment.
class SiteListModel : public QAbstractListModel {
public:
    explicit SiteListModel(ListView& list, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // Announces the items appended since the last batch.
    void flush();

    // The header's text or width has changed.
    void refreshHeader();

private:
    void added();
    void removed(std::size_t index);
    void cleared();

    ListView& list_;
    int shown_ = 0; // rows the view has been told of
    bool flushQueued_ = false;
};

} // namespace palisade::qt
