#pragma once

#include "platform/SettingsStore.h"

namespace palisade {

// The settings store in the current user's registry: one key per application and section
// under HKEY_CURRENT_USER\<root>, one REG_SZ value per setting, named after its key.
class RegistrySettingsStore final : public SettingsStore {
public:
    // root is the sub-key of HKEY_CURRENT_USER that holds every application's key.
    explicit RegistrySettingsStore(std::string root = "Software");

    std::string read(const std::string& application, const std::string& section,
                     const std::string& key, const std::string& defaultValue) override;
    void write(const std::string& application, const std::string& section, const std::string& key,
               const std::string& value) override;

private:
    std::string sectionPath(const std::string& application, const std::string& section) const;

    std::string root_;
};

} // namespace palisade
