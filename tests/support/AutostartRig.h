#pragma once

#include "platform/RegStuff.h"
#include "platform/Registry.h"
#include "platform/StartUp.h"
#include "support/Form1Rig.h"

#include <string>

namespace palisade::test {

// The main window's controller with the real start-up registration over the given registry in
// place of the fake, and fakes for every other port. Loaded already: Check1's clicks take effect
// at once.
struct AutostartRig : FakePorts, Form1Windows {
    explicit AutostartRig(Registry& registry,
                          std::string dataFolder = "C:\\ProgramData\\Quillmoor\\Palisade Software");

    // Changes Check1 as a click of the user does, raising its click handler.
    void setCheck1(bool checked);
    std::string markerPath() { return form.StartupMarkerPath(); }

    RegStuff regStuff;
    mStartUp startUp{regStuff, system};
};

} // namespace palisade::test
