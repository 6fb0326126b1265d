#pragma once

#include "linux/system/UserAccount.h"
#include "platform/SettingsStore.h"

#include <optional>

namespace palisade {

// A settings store read and written with the file-system identity of the user a root copy works
// for, so the settings file stays theirs.
class OnBehalfSettingsStore : public SettingsStore {
public:
    OnBehalfSettingsStore(SettingsStore& inner, std::optional<UserAccount> user)
        : inner_(inner), user_(std::move(user)) {}

    std::string read(const std::string& application, const std::string& section,
                     const std::string& key, const std::string& defaultValue) override;
    void write(const std::string& application, const std::string& section, const std::string& key,
               const std::string& value) override;

private:
    SettingsStore& inner_;
    std::optional<UserAccount> user_;
};

} // namespace palisade
