#include "windows/ui/OpenFileText.h"

#include <algorithm>

namespace palisade::win32 {

std::string FilterForDialog(const std::string& barSeparated) {
    std::string filter = barSeparated;
    std::replace(filter.begin(), filter.end(), '|', '\0');
    // The list ends at an empty piece; a filter given without its closing bar gets one.
    if (filter.empty() || filter.back() != '\0')
        filter.push_back('\0');
    filter.push_back('\0');
    return filter;
}

std::string ResultFromBuffer(const char* buffer, std::size_t size) {
    std::size_t end = 0;
    while (end < size && buffer[end] != '\0') {
        while (end < size && buffer[end] != '\0')
            ++end;
        // One NUL ends a piece, a second one the list.
        if (end + 1 < size && buffer[end + 1] != '\0')
            ++end;
    }
    return std::string(buffer, end);
}

} // namespace palisade::win32
