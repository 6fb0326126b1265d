#pragma once

#include <string>

namespace palisade {

// A per-user persistent table of texts addressed by application, section and key.
// Values come back exactly as written, byte for byte.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    // The stored text, or defaultValue when the application, section or key is absent.
    // Never fails.
    virtual std::string read(const std::string& application, const std::string& section,
                             const std::string& key, const std::string& defaultValue) = 0;

    // Throws RuntimeError when the value could not be stored.
    virtual void write(const std::string& application, const std::string& section,
                       const std::string& key, const std::string& value) = 0;
};

} // namespace palisade
