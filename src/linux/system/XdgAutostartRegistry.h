#pragma once

#include "platform/Registry.h"

#include <set>
#include <string>

namespace palisade {

// The machine-wide Run key as Linux desktops know it: the XDG autostart folder. A value is the
// desktop entry "<value name>.desktop" in that folder, starting the program its text names;
// deleting the value deletes the file. Only that one key exists: every other key is missing.
//
// Opening with write access fails for a user who cannot write the folder, as the Run key does
// for a standard user on Windows.
class XdgAutostartRegistry : public Registry {
public:
    static constexpr const char* DefaultFolder = "/etc/xdg/autostart";

    explicit XdgAutostartRegistry(std::string folder = DefaultFolder);

    RegStatus openKey(std::uint32_t hive, const std::string& subKey, std::uint32_t access,
                      Key& key) override;
    // Only text values: the data up to its first NUL is the program's path.
    RegStatus setValue(Key key, const std::string& name, std::uint32_t type,
                       const std::string& data) override;
    RegStatus deleteValue(Key key, const std::string& name) override;
    RegStatus closeKey(Key key) override;

    // The desktop entry file that holds the value name.
    std::string EntryPath(const std::string& name) const;

private:
    std::string folder_;
    std::set<Key> open_;
    Key next_ = 1;
};

} // namespace palisade
