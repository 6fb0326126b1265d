#pragma once

#include "ScratchFolder.h"
#include "linux/system/FolderLock.h"
#include "linux/system/PosixFileSystem.h"
#include "linux/system/PosixSystemInfo.h"
#include "support/FakePorts.h"
#include "support/RealBlocker.h"

#include <filesystem>
#include <string>

namespace palisade::test {

// The real Linux file system (through sys), system information and hosts lock, ahead of the
// ports that name them.
struct RealPosixPorts {
    explicit RealPosixPorts(Syscalls& sys) : realFs(sys) {}

    PosixFileSystem realFs;
    PosixSystemInfo realSystem;
    FolderLock realLock;
};

// The real blocker on the real Linux ports, with the hosts file at hostsPath; the other ports are
// the bundle's fakes, the settings too unless a store is given.
struct RealHostsRig : RealPosixPorts, FakePorts, RealBlocker {
    explicit RealHostsRig(const std::string& hostsPath, const std::string& dataFolder,
                          Syscalls& sys = RealSyscalls(), SettingsStore* store = nullptr)
        : RealPosixPorts(sys),
          FakePorts(PortSwaps{
              .fs = &realFs, .settings = store, .system = &realSystem, .hostsLock = &realLock}),
          RealBlocker(ports, FixedHostsPaths(hostsPath), dataFolder) {
        std::filesystem::create_directories(dataFolder);
    }
};

} // namespace palisade::test
