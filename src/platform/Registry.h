#pragma once

#include <cstdint>
#include <string>

namespace palisade {

// A registry status: 0 for success, otherwise the system's error code.
using RegStatus = std::int32_t;

inline constexpr RegStatus RegSuccess = 0;
inline constexpr RegStatus RegFileNotFound = 2;
inline constexpr RegStatus RegAccessDenied = 5;
inline constexpr RegStatus RegInvalidHandle = 6;
inline constexpr RegStatus RegInvalidParameter = 87;

// Hives as the 32-bit handle values Windows defines for them.
inline constexpr std::uint32_t HiveLocalMachine = 0x80000002;

inline constexpr std::uint32_t KeyAllAccess = 0x3F;

// Value types.
inline constexpr std::uint32_t RegTypeSz = 1;
inline constexpr std::uint32_t RegTypeDword = 4;

// The machine-wide list of programs started at log-on.
inline constexpr const char* RunSubKey = "SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION\\RUN\\";

// The four registry operations the program needs. Failures come back as status codes and are
// never thrown.
class Registry {
public:
    // An open key; NoKey is never a valid one.
    using Key = std::uintptr_t;
    static constexpr Key NoKey = 0;

    virtual ~Registry() = default;

    // Opens an existing key (never creates one). key receives the handle on success and is left
    // alone on failure.
    virtual RegStatus openKey(std::uint32_t hive, const std::string& subKey, std::uint32_t access,
                              Key& key) = 0;
    // Stores data as given, bytes and length: a text value carries its terminating NUL.
    virtual RegStatus setValue(Key key, const std::string& name, std::uint32_t type,
                               const std::string& data) = 0;
    virtual RegStatus deleteValue(Key key, const std::string& name) = 0;
    virtual RegStatus closeKey(Key key) = 0;
};

} // namespace palisade
