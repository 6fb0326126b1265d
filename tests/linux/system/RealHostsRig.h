#pragma once

#include "blocking/HostsBlocker.h"
#include "common/AppState.h"
#include "linux/system/FolderLock.h"
#include "linux/system/PosixFileSystem.h"
#include "linux/system/PosixSystemInfo.h"
#include "support/FakePorts.h"
#include "ui/model/Form1Controls.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdlib.h>
#include <string>
#include <vector>

namespace palisade::test {

// A folder of its own under the temporary folder, removed with its content.
class HostsScratch {
public:
    // Under parent, or the temporary folder.
    explicit HostsScratch(const std::string& parent = "") {
        std::string pattern = ((parent.empty() ? std::filesystem::temp_directory_path()
                                               : std::filesystem::path(parent)) /
                               "palisade-hosts-XXXXXX")
                                  .string();
        if (::mkdtemp(pattern.data()) != nullptr)
            path_ = pattern;
    }
    ~HostsScratch() {
        std::error_code ignored;
        if (!path_.empty())
            std::filesystem::remove_all(path_, ignored);
    }
    HostsScratch(const HostsScratch&) = delete;
    HostsScratch& operator=(const HostsScratch&) = delete;

    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

inline void WriteBytes(const std::string& path, const std::string& bytes, bool append = false) {
    std::ofstream out(path, std::ios::binary | (append ? std::ios::app : std::ios::trunc));
    out << bytes;
}

// The real blocker on the real Linux file system (through sys), system information and hosts
// lock, with the hosts file at hostsPath; the other ports are the bundle's fakes, the settings
// too unless a store is given.
struct RealHostsRig : FakePorts {
    explicit RealHostsRig(const std::string& hostsPath, const std::string& dataFolder,
                          Syscalls& sys = RealSyscalls(), SettingsStore* store = nullptr)
        : FakePorts(PortSwaps{
              .fs = &realFs, .settings = store, .system = &realSystem, .hostsLock = &realLock}),
          realFs(sys), blocker(ports, controls, state, FixedHostsPaths(hostsPath)) {
        state.DataFolder = dataFolder;
        state.UserIsAdmin = true;
        std::filesystem::create_directories(dataFolder);
    }

    void start(const std::vector<std::string>& entries) {
        for (const auto& e : entries)
            controls.ListView1.add(e);
        state.SavedBlockCaption = controls.PushButton2.caption();
        controls.PushButton2.setCaption("Stop Blocking");
        blocker.StartBlocking(false);
    }

    PosixFileSystem realFs;
    PosixSystemInfo realSystem;
    FolderLock realLock;
    Form1Controls controls;
    AppState state;
    HostsBlocker blocker;
};

} // namespace palisade::test
