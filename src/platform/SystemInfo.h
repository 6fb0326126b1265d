#pragma once

#include <optional>
#include <string>

namespace palisade {

// Facts about the running system and program.
class SystemInfo {
public:
    virtual ~SystemInfo() = default;

    // The platform's path separator: "\\" on Windows, "/" elsewhere.
    virtual std::string separator() = 0;
    // The platform's text line end: "\r\n" on Windows, "\n" elsewhere.
    virtual std::string lineEnd() = 0;

    // The folder of the running executable (no trailing separator except at a root).
    virtual std::string programFolder() = 0;
    // The full path of the running executable.
    virtual std::string executablePath() = 0;

    // The raw path of a special folder as the system returns it, or nothing when the lookup
    // failed. May carry NULs and padding; GetSpecialFolder tidies it.
    virtual std::optional<std::string> specialFolder(int id) = 0;

    // The system directory as the system reports it (no trailing separator).
    virtual std::string systemDirectory() = 0;

    // The value of an environment variable; empty when it is not set.
    virtual std::string environmentVariable(const std::string& name) = 0;
};

} // namespace palisade
