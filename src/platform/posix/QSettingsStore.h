#pragma once

#include "platform/SettingsStore.h"

#include <memory>
#include <optional>

class QSettings;

namespace palisade {

// The settings store as a per-user INI file, <config folder>/<application>/Palisade Software.ini
// (normally ~/.config/Quillmoor/Palisade Software.ini), one group per section. The file holds
// the password in plain text, so it is only ever readable by its owner (mode 0600).
//
// Values round-trip byte for byte: valid UTF-8 is kept as text so the file stays readable,
// anything else is stored as a byte array. Needs no Qt application object.
class QSettingsStore : public SettingsStore {
public:
    // The user's own configuration folder ($XDG_CONFIG_HOME, else ~/.config).
    QSettingsStore();
    // A configuration folder of the caller's choosing in place of the user's.
    explicit QSettingsStore(std::string configFolder);
    ~QSettingsStore() override;

    std::string read(const std::string& application, const std::string& section,
                     const std::string& key, const std::string& defaultValue) override;
    void write(const std::string& application, const std::string& section, const std::string& key,
               const std::string& value) override;

private:
    std::unique_ptr<QSettings> open(const std::string& application) const;

    std::optional<std::string> configFolder_;
};

} // namespace palisade
