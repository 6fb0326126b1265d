#include "linux/system/DesktopEntry.h"

#include <string_view>

namespace palisade {

namespace {

// Characters that force an Exec argument into double quotes.
constexpr std::string_view Reserved = " \t\n\"'\\><~|&;$*?#()`";
// Characters that need a backslash inside the double quotes.
constexpr std::string_view EscapedInQuotes = "\"`$\\";

} // namespace

std::string DesktopString(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\r':
            out += "\\r";
            break;
        case ' ':
            out += i == 0 ? "\\s" : " ";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string DesktopExecArgument(const std::string& path) {
    std::string argument;
    const bool quote = path.empty() || path.find_first_of(Reserved) != std::string::npos;
    if (quote)
        argument += '"';
    for (const char c : path) {
        if (quote && EscapedInQuotes.find(c) != std::string_view::npos)
            argument += '\\';
        argument += c;
        if (c == '%')
            argument += '%';
    }
    if (quote)
        argument += '"';
    return DesktopString(argument);
}

std::string AutostartDesktopEntry(const std::string& name, const std::string& path) {
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=" +
           DesktopString(name) +
           "\n"
           "Exec=" +
           DesktopExecArgument(path) +
           "\n"
           "TryExec=" +
           DesktopString(path) + "\n";
}

} // namespace palisade
