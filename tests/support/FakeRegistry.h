#pragma once

#include "platform/Registry.h"
#include "support/CallLog.h"

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <utility>

namespace palisade::test {

// An in-memory registry. Keys exist only when listed in existingKeys (under their hive and
// exact sub-key), as they are never created. Opening with write access fails with
// "access denied" while denyWrite is set, as it does for a standard user under the machine hive.
class FakeRegistry : public Registry {
public:
    struct Value {
        std::uint32_t type = 0;
        std::string data;
        bool operator==(const Value&) const = default;
    };
    using KeyName = std::pair<std::uint32_t, std::string>;

    std::set<KeyName> existingKeys{{HiveLocalMachine, RunSubKey}};
    std::map<KeyName, std::map<std::string, Value>> values;
    bool denyWrite = false;
    CallLog* log = nullptr;
    std::set<Key> openKeys;       // opened and not yet closed
    std::uint32_t lastAccess = 0; // access asked for by the last open

    RegStatus openKey(std::uint32_t hive, const std::string& subKey, std::uint32_t access,
                      Key& key) override;
    RegStatus setValue(Key key, const std::string& name, std::uint32_t type,
                       const std::string& data) override;
    RegStatus deleteValue(Key key, const std::string& name) override;
    RegStatus closeKey(Key key) override;

    // The values under the Run key.
    std::map<std::string, Value>& run() { return values[{HiveLocalMachine, RunSubKey}]; }

private:
    std::map<Key, KeyName> handles_;
    Key next_ = 0x100;
};

} // namespace palisade::test
