#pragma once

#include "platform/SystemInfo.h"

namespace palisade {

// Facts about the running Windows system and program, from the ANSI API.
class Win32SystemInfo final : public SystemInfo {
public:
    std::string separator() override;
    std::string lineEnd() override;
    std::string programFolder() override;
    std::string executablePath() override;
    std::optional<std::string> specialFolder(int id) override;
    std::string systemDirectory() override;
    std::string environmentVariable(const std::string& name) override;
};

// The folder part of a full path: no trailing backslash except at a drive root ("C:\").
std::string FolderOfPath(const std::string& path);

} // namespace palisade
