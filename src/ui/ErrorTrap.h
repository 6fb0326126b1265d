#pragma once

#include "platform/Dialogs.h"

#include <exception>
#include <string>
#include <string_view>

namespace palisade {

inline constexpr std::string_view ErrorTitle = "Application Error";
inline constexpr std::string_view LocationTag = "Hedgerow2021/08/31";
inline constexpr std::string_view SupportAddress = "support@quillmoor.example";

// The text of the error report for a failure of statement `line` of window.procedure.
std::string ErrorReportText(const std::string& description, std::string_view window,
                            std::string_view procedure, int line);

// A procedure's local error trap. Each statement of the procedure runs through it under its
// own fixed number (100, 102, ...): a failure is reported with that number and execution goes
// on with the next statement.
//
//     ErrorTrap trap(dialogs, "Form1", "Form_Load");
//     trap(100, [&] { state.Loading = true; });
//     if (trap.when(102, [&] { return PathExists(...); })) { ... }
class ErrorTrap {
public:
    ErrorTrap(Dialogs& dialogs, std::string_view window, std::string_view procedure)
        : dialogs_(dialogs), window_(window), procedure_(procedure) {}

    template <typename Statement> void operator()(int line, Statement&& statement) {
        try {
            statement();
        } catch (const std::exception& e) {
            report(e.what(), line);
        } catch (...) {
            report("Application-defined or object-defined error", line);
        }
    }

    // Evaluates a condition. A condition that fails counts as met, so execution resumes with
    // the first statement it governs.
    template <typename Condition> bool when(int line, Condition&& condition) {
        try {
            return static_cast<bool>(condition());
        } catch (const std::exception& e) {
            report(e.what(), line);
        } catch (...) {
            report("Application-defined or object-defined error", line);
        }
        return true;
    }

private:
    void report(const std::string& description, int line);

    Dialogs& dialogs_;
    std::string window_;
    std::string procedure_;
};

} // namespace palisade
