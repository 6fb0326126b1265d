#pragma once

#include "platform/Ports.h"
#include "support/CallLog.h"
#include "support/FakeFileSystem.h"
#include "support/Fakes.h"

namespace palisade::test {

// Real ports (or other doubles) that a rig puts in place of single fakes; null keeps the fake.
// A rig may name its own members here: they are only bound, not used, while the bundle is built.
struct PortSwaps {
    FileSystem* fs = nullptr;
    SettingsStore* settings = nullptr;
    Dialogs* dialogs = nullptr;
    EventPump* pump = nullptr;
    AdminTest* admin = nullptr;
    Autostart* autostart = nullptr;
    SystemInfo* system = nullptr;
    NotificationShell* shell = nullptr;
    Clock* clock = nullptr;
    HostsLock* hostsLock = nullptr;
    Timer* timer = nullptr;
};

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
    FakeTimer timer;
    Ports ports;

    explicit FakePorts(const PortSwaps& swaps = {})
        : ports{Pick(swaps.fs, fs),           Pick(swaps.settings, settings),
                Pick(swaps.dialogs, dialogs), Pick(swaps.pump, pump),
                Pick(swaps.admin, admin),     Pick(swaps.autostart, autostart),
                Pick(swaps.system, system),   Pick(swaps.shell, shell),
                Pick(swaps.clock, clock),     Pick(swaps.hostsLock, hostsLock),
                Pick(swaps.timer, timer)} {
        pump.clock = &clock;
    }
    FakePorts(const FakePorts&) = delete;
    FakePorts& operator=(const FakePorts&) = delete;

private:
    template <typename Port, typename Fake> static Port& Pick(Port* swap, Fake& fake) {
        return swap ? *swap : static_cast<Port&>(fake);
    }
};

} // namespace palisade::test
