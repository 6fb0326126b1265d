#pragma once

#include "blocking/HostsBlocker.h"
#include "blocking/HostsPaths.h"
#include "common/AppState.h"
#include "ui/model/Form1Controls.h"

#include <string>
#include <utility>
#include <vector>

namespace palisade::test {

// The real blocker over ports whose file system, system information and hosts lock a test has
// swapped for the real ones, run by an administrator, with the data folder given.
struct RealBlocker {
    RealBlocker(Ports& ports, HostsPaths paths, std::string dataFolder)
        : blocker(ports, controls, state, std::move(paths)) {
        state.DataFolder = std::move(dataFolder);
        state.UserIsAdmin = true;
    }

    // Blocks the entries as a click on Start Blocking does.
    void start(const std::vector<std::string>& entries) {
        for (const auto& e : entries)
            controls.ListView1.add(e);
        state.SavedBlockCaption = controls.PushButton2.caption();
        controls.PushButton2.setCaption(std::string(StopBlockingCaption));
        blocker.StartBlocking(false);
    }

    Form1Controls controls;
    AppState state;
    HostsBlocker blocker;
};

} // namespace palisade::test
