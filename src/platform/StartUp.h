#pragma once

#include "platform/Autostart.h"
#include "platform/RegStuff.h"
#include "platform/SystemInfo.h"

#include <string>

namespace palisade {

// Registers the running program's own executable for start at log-on. Its own file, not the
// first executable found in its folder: beside an uninstaller or another tool, a folder search
// would register the wrong program and later remove the wrong value.
class mStartUp : public Autostart {
public:
    mStartUp(RegStuff& regStuff, SystemInfo& system) : regStuff_(regStuff), system_(system) {}

    // An executable of unknown name cannot be registered, and nothing can be registered under
    // it: enabling fails and disabling has nothing to remove.
    bool EnableWindowsStartup() override;
    bool DisableWindowsStartup() override;

    // The file name of the running executable, without its folder; empty when unknown.
    std::string ExecutableName();

private:
    RegStuff& regStuff_;
    SystemInfo& system_;
};

} // namespace palisade
