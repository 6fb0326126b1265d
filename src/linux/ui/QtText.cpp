#include "linux/ui/QtText.h"

#include <cmath>

namespace palisade::qt {

QString Shown(const std::string& bytes) {
    return QString::fromLocal8Bit(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::string Typed(const QString& text) {
    const QByteArray bytes = text.toLocal8Bit();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

QString MessageText(const std::string& bytes) {
    QString text = Shown(bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

int Pixels(int twips) {
    return static_cast<int>(std::lround(twips / 15.0));
}

QColor ColorOf(Color color, const QPalette& system) {
    if ((color & 0x80000000u) == 0)
        return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                      static_cast<int>((color >> 16) & 0xFF));
    switch (color & 0xFF) {
    case 5: // window background
        return system.color(QPalette::Base);
    case 8: // window text
        return system.color(QPalette::WindowText);
    case 15: // button face
        return system.color(QPalette::Button);
    case 18: // button text
        return system.color(QPalette::ButtonText);
    default:
        return system.color(QPalette::Window);
    }
}

QFont FontOf(const Font& font) {
    QFont result(QString::fromStdString(font.face));
    result.setPointSizeF(font.points);
    result.setBold(font.bold);
    return result;
}

} // namespace palisade::qt
