#pragma once

#include "app/Form1.h"
#include "common/AppState.h"
#include "platform/RegStuff.h"
#include "platform/Registry.h"
#include "platform/StartUp.h"
#include "settings/Form2.h"
#include "support/FakePorts.h"

#include <string>

namespace palisade::test {

// The main window's controller with the real start-up registration over the given registry in
// place of the fake, and fakes for every other port. Loaded already: Check1's clicks take effect
// at once.
struct AutostartRig : FakePorts {
    explicit AutostartRig(Registry& registry,
                          std::string dataFolder = "C:\\ProgramData\\Quillmoor\\Palisade Software");

    // Changes Check1 as a click of the user does, raising its click handler.
    void setCheck1(bool checked);
    std::string markerPath() { return form.StartupMarkerPath(); }

    RegStuff regStuff;
    mStartUp startUp{regStuff, system};

    AppState state;
    Form1Controls controls;
    Form2Controls form2Controls;
    RecordingBlocking blocking;
    FakeTray tray;
    RecordingSkin skin;
    Form2 form2{ports, form2Controls, controls, state, tray};
    Form1 form{ports, controls, state, blocking, tray, skin, form2};
};

} // namespace palisade::test
