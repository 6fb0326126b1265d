#pragma once

#include "platform/SettingsStore.h"

namespace palisade {

// The per-user area where Windows programs of the classic Basic runtime keep their settings.
inline constexpr const char* BasicProgramSettingsRoot = "Software\\VB and VBA Program Settings";

// The settings store in the current user's registry: one key per application with one sub-key
// per section under HKEY_CURRENT_USER\<root>, one REG_SZ value per setting, named after its key.
// By default it is the area that runtime's own read-setting and save-setting functions use, so
// settings kept there before are found.
class RegistrySettingsStore final : public SettingsStore {
public:
    // root is the sub-key of HKEY_CURRENT_USER that holds every application's key.
    explicit RegistrySettingsStore(std::string root = BasicProgramSettingsRoot);

    std::string read(const std::string& application, const std::string& section,
                     const std::string& key, const std::string& defaultValue) override;
    void write(const std::string& application, const std::string& section, const std::string& key,
               const std::string& value) override;

private:
    std::string sectionPath(const std::string& application, const std::string& section) const;

    std::string root_;
};

} // namespace palisade
