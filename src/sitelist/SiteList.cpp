#include "sitelist/SiteList.h"

namespace palisade {

void SetUpSiteListColumn(ListView& list) {
    list.addColumn(std::string(ListColumnHeader));
    list.setColumnWidth(1, ListColumnWidth);
}

void RestoreSiteList(ListView& list, const std::string& stored) {
    if (stored.empty())
        return;
    std::size_t start = 0;
    for (;;) {
        const std::size_t next = stored.find(ListSeparator, start);
        const std::size_t end = next == std::string::npos ? stored.size() : next;
        if (end > start)
            list.add(stored.substr(start, end - start));
        if (next == std::string::npos)
            break;
        start = next + ListSeparator.size();
    }
}

std::string SerializeSiteList(const ListView& list) {
    std::size_t size = 0;
    for (const auto& entry : list.items())
        size += entry.size() + ListSeparator.size();
    std::string stored;
    stored.reserve(size);
    for (const auto& entry : list.items()) {
        stored += entry;
        stored += ListSeparator;
    }
    return stored;
}

} // namespace palisade
