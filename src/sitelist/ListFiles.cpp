#include "sitelist/ListFiles.h"

namespace palisade {

namespace {
// Every pair of adjacent backslashes becomes one, scanning left to right without overlap.
std::string HalveBackslashPairs(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        result += text[i];
        if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == '\\')
            ++i;
    }
    return result;
}
} // namespace

std::vector<std::string> SplitListLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.emplace_back(text.substr(start));
            break;
        }
        lines.emplace_back(text.substr(start, end - start));
        start = end + 1;
        if (text[end] == '\r' && start < text.size() && text[start] == '\n')
            ++start;
    }
    return lines;
}

std::string NormalizeBackslashes(std::string_view path) {
    if (path.empty() || path.front() != '\\')
        return HalveBackslashPairs(path);
    const std::size_t rest = path.find_first_not_of('\\');
    return "\\\\" + HalveBackslashPairs(rest == std::string_view::npos ? std::string_view()
                                                                       : path.substr(rest));
}

std::vector<std::string> SplitAtNul(std::string_view text) {
    std::vector<std::string> pieces;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find('\0', start);
        if (end == std::string_view::npos) {
            pieces.emplace_back(text.substr(start));
            return pieces;
        }
        pieces.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
}

std::string ChosenFilePath(const std::string& folder, const std::string& name,
                           const std::string& separator) {
    if (separator == "\\")
        return NormalizeBackslashes(folder + separator + name);
    const bool endsWithSeparator =
        !separator.empty() && folder.size() >= separator.size() &&
        folder.compare(folder.size() - separator.size(), separator.size(), separator) == 0;
    return endsWithSeparator ? folder + name : folder + separator + name;
}

} // namespace palisade
