#pragma once

#include "platform/Registry.h"
#include "windows/system/Handles.h"

#include <map>

namespace palisade {

// The registry port over the ANSI registry functions. Keys stay owned here until closed, so
// none outlives the object even when a caller forgets one.
class Win32Registry final : public Registry {
public:
    RegStatus openKey(std::uint32_t hive, const std::string& subKey, std::uint32_t access,
                      Key& key) override;
    RegStatus setValue(Key key, const std::string& name, std::uint32_t type,
                       const std::string& data) override;
    RegStatus deleteValue(Key key, const std::string& name) override;
    RegStatus closeKey(Key key) override;

    // The predefined key of a hive given as its 32-bit value, widened as Windows widens it.
    static HKEY HiveKey(std::uint32_t hive);

private:
    HKEY find(Key key) const;

    std::map<Key, UniqueHKey> open_;
};

} // namespace palisade
