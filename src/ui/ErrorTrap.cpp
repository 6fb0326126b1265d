#include "ui/ErrorTrap.h"

namespace palisade {

std::string ErrorReportText(const std::string& description, std::string_view window,
                            std::string_view procedure, int line) {
    std::string text = description;
    text += "\r\n";
    text += "in ";
    text += LocationTag;
    text += '.';
    text += window;
    text += '.';
    text += procedure;
    text += ' ';
    text += "at line ";
    text += std::to_string(line);
    text += "\r\r";
    text += "Please email screenshot of this message to ";
    text += SupportAddress;
    return text;
}

void ErrorTrap::report(const std::string& description, int line) {
    try {
        dialogs_.messageBox(ErrorReportText(description, window_, procedure_, line),
                            std::string(ErrorTitle), MessageIcon::Warning);
    } catch (...) {
        // The report is the last resort; a failure to show it must not end the program.
    }
}

} // namespace palisade
