#pragma once

#include "app/Form1.h"
#include "common/AppState.h"
#include "support/FakePorts.h"

namespace palisade::test {

// The main window's controller with every port and collaborator replaced by a fake.
struct Form1Rig : FakePorts {
    Form1Rig();

    Form1Controls controls;
    AppState state;
    RecordingBlocking blocking;
    FakeTray tray;
    RecordingSkin skin;
    Form1 form{ports, controls, state, blocking, tray, skin};

    static constexpr const char* DataFolder = "C:\\ProgramData\\Quillmoor\\Palisade Software";
    static constexpr const char* Marker = "C:\\ProgramData\\Quillmoor\\Palisade Software\\iStart";
};

} // namespace palisade::test
