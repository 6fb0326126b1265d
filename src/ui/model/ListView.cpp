#include "ui/model/ListView.h"

#include <stdexcept>

namespace palisade {

std::string ShownItemText(std::string_view item) {
    if (item.size() <= MaxShownItemBytes)
        return std::string(item);
    std::size_t cut = MaxShownItemBytes;
    // Back to the start of the character the cut falls into: continuation bytes are 10xxxxxx.
    for (int back = 0;
         back < 3 && cut > 0 && (static_cast<unsigned char>(item[cut]) & 0xC0) == 0x80; ++back)
        --cut;
    return std::string(item.substr(0, cut)) + "...";
}

void ListView::checkIndex(std::size_t index) const {
    if (index < 1 || index > items_.size())
        throw std::out_of_range("Index out of bounds");
}

const std::string& ListView::item(std::size_t index) const {
    checkIndex(index);
    return items_[index - 1];
}

void ListView::add(std::string text) {
    items_.push_back(std::move(text));
    itemAdded(items_.size());
}

void ListView::remove(std::size_t index) {
    checkIndex(index);
    items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(index - 1));
    if (selected_ == index)
        selected_ = 0;
    else if (selected_ > index)
        --selected_;
    itemRemoved(index);
}

void ListView::clear() {
    items_.clear();
    selected_ = 0;
    itemsCleared();
}

void ListView::select(std::size_t index) {
    if (index != 0)
        checkIndex(index);
    selected_ = index;
    notify();
}

void ListView::addColumn(std::string text) {
    columns_.push_back(ColumnHeader{std::move(text), 0});
    notify();
}

void ListView::setColumnWidth(std::size_t column, int width) {
    if (column < 1 || column > columns_.size())
        throw std::out_of_range("Index out of bounds");
    columns_[column - 1].width = width;
    notify();
}

} // namespace palisade
