#pragma once

#include "blocking/BlockCommand.h"
#include "blocking/HostsBlocker.h"
#include "common/AppState.h"
#include "support/FakePorts.h"

#include <string>

namespace palisade::test {

// The blocker and the block command on fakes of every port, with Windows-like paths.
struct BlockingRig : FakePorts {
    BlockingRig();

    static constexpr const char* Hosts = "C:\\WINDOWS\\system32\\drivers\\etc\\hosts";
    static constexpr const char* Snapshot = "C:\\ProgramData\\Quillmoor\\Palisade Software\\hosts";
    static constexpr const char* Original = "# sample hosts\r\n127.0.0.1       localhost\r\n";

    Form1Controls controls;
    AppState state;
    HostsBlocker blocker{ports, controls, state, WindowsHostsPaths(system)};

    void add(const std::string& entry) { controls.ListView1.add(entry); }
    // As the callers do just before a start.
    void switchCaptionOn();
    std::string hosts() const;
    bool hasSnapshot() const { return fs.files.count(Snapshot) != 0; }
    // Whether any operation changed a file (the lookups do not count).
    bool anyFileWritten() const;
    int countOps(const std::string& prefix) const;
};

// "127.0.0.1", ten spaces, host and the Windows line end.
std::string BlockLine(const std::string& host);

} // namespace palisade::test
