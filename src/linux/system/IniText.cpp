#include "linux/system/IniText.h"

#include <QByteArray>
#include <QString>

namespace palisade {

namespace {

const char Hex[] = "0123456789ABCDEF";

bool IsHexDigit(unsigned char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

bool IsValidUtf8(const std::string& bytes) {
    const QByteArray raw(bytes.data(), static_cast<qsizetype>(bytes.size()));
    return QString::fromUtf8(raw).toUtf8() == raw;
}

// Section and key names: letters, digits, '_', '-' and '.' as they are, '/' as '\', other
// characters as %XX or, beyond Latin-1, %UXXXX per UTF-16 unit.
std::string EscapeName(const std::string& name) {
    std::string out;
    for (const QChar unit : QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()))) {
        const char16_t c = unit.unicode();
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
            c == '_' || c == '-' || c == '.') {
            out += static_cast<char>(c);
        } else if (c == '/') {
            out += '\\';
        } else if (c <= 0xFF) {
            out += {'%', Hex[c >> 4], Hex[c & 15]};
        } else {
            out += {'%', 'U', Hex[c >> 12], Hex[(c >> 8) & 15], Hex[(c >> 4) & 15], Hex[c & 15]};
        }
    }
    return out;
}

std::string Header(const std::string& section) {
    const std::string name = EscapeName(section);
    if (name.empty())
        return "[General]";
    // A section really named so is told apart from the keys outside every section.
    if (QString::fromLatin1(name.data()).compare(QLatin1String("general"), Qt::CaseInsensitive) ==
        0)
        return "[%General]";
    return "[" + name + "]";
}

// A value in quotes. Text keeps its UTF-8 bytes and only doubles a leading '@', which would
// otherwise announce a typed value; other bytes go into "@ByteArray(...)", each byte beyond
// ASCII as an escape. A hex escape runs on while hex digits follow, so a digit right after one
// is escaped too.
std::string QuoteValue(const std::string& value) {
    const bool text = IsValidUtf8(value);
    const std::string content =
        text ? (value.starts_with('@') ? "@" + value : value) : "@ByteArray(" + value + ")";
    std::string out = "\"";
    bool afterHexEscape = false;
    for (const char ch : content) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x20 || c == 0x7F || (c >= 0x80 && !text) || (afterHexEscape && IsHexDigit(c))) {
            out += {'\\', 'x', Hex[c >> 4], Hex[c & 15]};
            afterHexEscape = true;
            continue;
        }
        afterHexEscape = false;
        if (c == '"' || c == '\\')
            out += '\\';
        out += ch;
    }
    return out + "\"";
}

} // namespace

std::string FormatIni(const IniSections& sections) {
    std::string out;
    for (const auto& [section, values] : sections) {
        if (values.empty())
            continue;
        if (!out.empty())
            out += '\n';
        out += Header(section) + '\n';
        for (const auto& [key, value] : values)
            out += EscapeName(key) + '=' + QuoteValue(value) + '\n';
    }
    return out;
}

} // namespace palisade
