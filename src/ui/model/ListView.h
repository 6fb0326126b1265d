#pragma once

#include "ui/model/Control.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace palisade {

struct ColumnHeader {
    std::string text;
    int width = 0; // twips
};

// The most of an entry a list view shows: the longest host name there can be.
inline constexpr std::size_t MaxShownItemBytes = 253;

// An entry as a list view shows it: whole, or when longer than MaxShownItemBytes (a file of one
// endless line loaded by mistake) its start followed by "...", so that drawing a row never lays
// out megabytes of text. Never cuts a UTF-8 character in two. The entry itself stays whole.
std::string ShownItemText(std::string_view item);

// A one-column list of texts, addressed by 1-based position in display order.
class ListView : public Control {
public:
    ListView(std::string name, Geometry geometry, int tabIndex)
        : Control(ControlKind::ListView, std::move(name), {}, geometry, tabIndex) {}

    std::size_t count() const { return items_.size(); }
    // Throws when index is not between 1 and count().
    const std::string& item(std::size_t index) const;
    const std::vector<std::string>& items() const { return items_; }

    void add(std::string text);
    void remove(std::size_t index);
    void clear();

    // 0 when nothing is selected.
    std::size_t selectedIndex() const { return selected_; }
    void select(std::size_t index);

    const std::vector<ColumnHeader>& columns() const { return columns_; }
    void addColumn(std::string text);
    void setColumnWidth(std::size_t column, int width);

    const std::string& toolTip() const { return toolTip_; }
    void setToolTip(std::string text) { toolTip_ = std::move(text); }

    // What a front end needs to mirror the items without copying them all on every change.
    Signal<std::size_t> itemAdded;   // 1-based index of the new item
    Signal<std::size_t> itemRemoved; // 1-based index the item had
    Signal<> itemsCleared;

    Signal<> click;
    Signal<> dblClick;
    Signal<int, int> keyDown; // key code, shift state

private:
    void checkIndex(std::size_t index) const;

    std::vector<std::string> items_;
    std::size_t selected_ = 0;
    std::vector<ColumnHeader> columns_;
    std::string toolTip_;
};

} // namespace palisade
