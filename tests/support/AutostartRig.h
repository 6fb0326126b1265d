#pragma once

#include "app/Form1.h"
#include "common/AppState.h"
#include "platform/RegStuff.h"
#include "platform/Registry.h"
#include "platform/StartUp.h"
#include "support/FakeFileSystem.h"
#include "support/Fakes.h"

#include <string>

namespace palisade::test {

// The main window's controller with the real start-up registration over the given registry,
// and fakes for every other port. Loaded already: Check1's clicks take effect at once.
struct AutostartRig {
    explicit AutostartRig(Registry& registry,
                          std::string dataFolder = "C:\\ProgramData\\Quillmoor\\Palisade Software");

    // Changes Check1 as a click of the user does, raising its click handler.
    void setCheck1(bool checked);
    std::string markerPath() { return form.StartupMarkerPath(); }

    FakeFileSystem fs;
    MemorySettingsStore settings;
    RecordingDialogs dialogs;
    CountingEventPump pump;
    FakeAdminTest admin;
    FakeSystemInfo system;
    RegStuff regStuff;
    mStartUp startUp{regStuff, system};
    RecordingShell shell;
    FakeClock clock;
    FakeHostsLock hostsLock;
    Ports ports{fs, settings, dialogs, pump, admin, startUp, system, shell, clock, hostsLock};

    Form1Controls controls;
    AppState state;
    RecordingBlocking blocking;
    FakeTray tray;
    RecordingSkin skin;
    Form1 form{ports, controls, state, blocking, tray, skin};
};

} // namespace palisade::test
