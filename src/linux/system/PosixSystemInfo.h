#pragma once

#include "platform/SystemInfo.h"

namespace palisade {

// Facts about the running Linux system and program.
class PosixSystemInfo : public SystemInfo {
public:
    std::string separator() override;
    std::string lineEnd() override;
    std::string programFolder() override;
    std::string executablePath() override;
    // Only the shared program-data folder (id 35) is known: /var/lib.
    std::optional<std::string> specialFolder(int id) override;
    // "/etc". The hosts file lives directly in it on Linux, not in a drivers subfolder, so
    // callers that append a Windows-style subpath need their own Linux path.
    std::string systemDirectory() override;
    std::string environmentVariable(const std::string& name) override;
};

} // namespace palisade
