#include "linux/ui/DisplayCheck.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <cstdio>
#include <cstdlib>

namespace palisade::qt {

namespace {

std::optional<std::string> Variable(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || *value == '\0')
        return std::nullopt;
    return std::string(value);
}

bool IsX11(const std::string& windowSystem) {
    return windowSystem.rfind("xcb", 0) == 0;
}

QtMessageHandler previousHandler = nullptr;

void StartHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtFatalMsg) {
        const std::string windowSystem = Variable("QT_QPA_PLATFORM").value_or("xcb");
        const std::string line = StartFailureLine(
            windowSystem, Variable(IsX11(windowSystem) ? "DISPLAY" : "WAYLAND_DISPLAY"));
        std::fprintf(stderr, "%s\n", line.c_str());
        std::fflush(stderr);
        std::_Exit(1);
    }
    // The window system's own warnings would only repeat the line above in Qt's words.
    const char* category = context.category ? context.category : "";
    if (QByteArray(category).startsWith("qt.qpa"))
        return;
    if (previousHandler)
        previousHandler(type, context, message);
}

} // namespace

std::string ChooseWindowSystem() {
    if (const auto chosen = Variable("QT_QPA_PLATFORM"))
        return *chosen;
    qputenv("QT_QPA_PLATFORM", "xcb");
    return "xcb";
}

std::optional<std::string> MissingDisplay(const std::string& windowSystem,
                                          const std::optional<std::string>& display) {
    if (IsX11(windowSystem) && !display)
        return "Palisade cannot open its window: there is no display (DISPLAY is not set). "
               "Start it from a desktop session.";
    return std::nullopt;
}

std::string StartFailureLine(const std::string& windowSystem,
                             const std::optional<std::string>& display) {
    if (IsX11(windowSystem))
        return "Palisade cannot open its window: the display \"" + display.value_or("") +
               "\" cannot be reached. Start it from a desktop session.";
    return "Palisade cannot open its window: the window system \"" + windowSystem +
           "\" cannot be started.";
}

void OneLineStartFailures(bool on) {
    if (on)
        previousHandler = qInstallMessageHandler(StartHandler);
    else
        qInstallMessageHandler(previousHandler);
}

} // namespace palisade::qt
