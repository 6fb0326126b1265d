#pragma once

#include "platform/Registry.h"
#include "platform/SystemInfo.h"

#include <cstdint>
#include <string>
#include <variant>

namespace palisade {

// A value handed to the registry: text or a 32-bit integer, converted to the type asked for.
using RegValue = std::variant<std::string, std::int32_t>;

// A thin wrapper over the registry that writes and deletes values under the Run key. Each call
// gives the status of the first registry call that failed (success when none did), so that a
// user without write access can be told that nothing was written. A value that cannot be
// converted to the type asked for throws RuntimeError, which passes to the caller.
class RegStuff {
public:
    RegStuff(Registry& registry, SystemInfo& system) : registry_(registry), system_(system) {}

    // Writes the Run value named fileName, holding the program folder's path of that file.
    RegStatus AddToRunKey(const std::string& fileName);
    // A value (or Run key) that is not there counts as removed.
    RegStatus RemoveFromRunKey(const std::string& fileName);

    RegStatus WriteRegValue(std::uint32_t hive, const std::string& subKey,
                            const std::string& valueName, const RegValue& value,
                            std::uint32_t type);
    // Types other than text and 32-bit integer write nothing and give success.
    RegStatus SetRegValue(Registry::Key key, const std::string& valueName, std::uint32_t type,
                          const RegValue& value);
    RegStatus DeleteRegValue(std::uint32_t hive, const std::string& subKey,
                             const std::string& valueName);

private:
    Registry& registry_;
    SystemInfo& system_;
};

} // namespace palisade
