#pragma once

#include "platform/Ports.h"
#include "support/CallLog.h"
#include "support/FakeFileSystem.h"
#include "support/Fakes.h"

namespace palisade::test {

// A fake for every port, bundled. Nothing is logged until a rig points a fake at the log.
struct FakePorts {
    CallLog log;
    FakeFileSystem fs;
    MemorySettingsStore settings;
    RecordingDialogs dialogs;
    CountingEventPump pump;
    FakeAdminTest admin;
    RecordingAutostart autostart;
    FakeSystemInfo system;
    RecordingShell shell;
    FakeClock clock;
    FakeHostsLock hostsLock;
    Ports ports{fs, settings, dialogs, pump, admin, autostart, system, shell, clock, hostsLock};

    FakePorts() { pump.clock = &clock; }
    FakePorts(const FakePorts&) = delete;
    FakePorts& operator=(const FakePorts&) = delete;
};

} // namespace palisade::test
