#pragma once

#include "app/Form1.h"
#include "common/AppState.h"
#include "settings/Form2.h"
#include "support/FakePorts.h"

namespace palisade::test {

// The main window's controller and the password window's over the ports given, with fakes for
// their other collaborators.
struct Form1Windows {
    explicit Form1Windows(Ports& ports, Platform platform = Platform::Windows)
        : state(platform), form2(ports, form2Controls, controls, state, tray),
          form(ports, controls, state, blocking, tray, skin, form2) {}

    AppState state;
    Form1Controls controls;
    Form2Controls form2Controls;
    RecordingBlocking blocking;
    FakeTray tray;
    RecordingSkin skin;
    Form2 form2;
    Form1 form;
};

// The two windows' controllers with every port and collaborator replaced by a fake.
struct Form1Rig : FakePorts, Form1Windows {
    explicit Form1Rig(Platform platform = Platform::Windows);

    static constexpr const char* DataFolder = "C:\\ProgramData\\Quillmoor\\Palisade Software";
    static constexpr const char* Marker = "C:\\ProgramData\\Quillmoor\\Palisade Software\\iStart";
};

} // namespace palisade::test
