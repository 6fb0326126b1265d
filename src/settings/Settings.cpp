#include "settings/Settings.h"

#include "platform/RuntimeError.h"

#include <cctype>
#include <charconv>

namespace palisade {

std::string Settings::read(const SettingKey& key) const {
    return store_.read(std::string(SettingsApplication), std::string(SettingsSection),
                       std::string(key.name), std::string(key.defaultValue));
}

void Settings::write(const SettingKey& key, std::string_view value) {
    store_.write(std::string(SettingsApplication), std::string(SettingsSection),
                 std::string(key.name), std::string(value));
}

double ToNumber(const std::string& text) {
    auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && isBlank(text[first]))
        ++first;
    while (last > first && isBlank(text[last - 1]))
        --last;
    const char* begin = text.data() + first;
    const char* end = text.data() + last;
    if (begin != end && *begin == '+')
        ++begin;
    // Only decimal numbers: from_chars would also take "inf" and "nan".
    const char* digits = (begin != end && *begin == '-') ? begin + 1 : begin;
    if (digits == end || !(std::isdigit(static_cast<unsigned char>(*digits)) || *digits == '.'))
        throw RuntimeError("Type mismatch");
    double value = 0;
    const auto [ptr, ec] = std::from_chars(begin, end, value, std::chars_format::general);
    if (begin == end || ec != std::errc() || ptr != end)
        throw RuntimeError("Type mismatch");
    return value;
}

} // namespace palisade
