#pragma once

#include "platform/SettingsStore.h"
#include "settings/SettingsKeys.h"

#include <string>

namespace palisade {

// The program's own view of the store: one application, one section, the keys of the table.
class Settings {
public:
    explicit Settings(SettingsStore& store) : store_(store) {}

    // The stored text, or the key's default when it is absent.
    std::string read(const SettingKey& key) const;
    // Throws RuntimeError when the store refuses the write.
    void write(const SettingKey& key, std::string_view value);

    // True only when the stored text is exactly "On".
    bool isOn(const SettingKey& key) const { return read(key) == On; }

private:
    SettingsStore& store_;
};

// The text of a setting as a number, as the locale-aware conversion reads it: surrounding
// blanks are allowed, anything else that is not a number is a type mismatch (RuntimeError).
double ToNumber(const std::string& text);

} // namespace palisade
