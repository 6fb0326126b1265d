#pragma once

#include "platform/AdminTest.h"
#include "platform/Autostart.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/EventPump.h"
#include "platform/FileSystem.h"
#include "platform/HostsLock.h"
#include "platform/NotificationShell.h"
#include "platform/SettingsStore.h"
#include "platform/SystemInfo.h"
#include "platform/Timer.h"

namespace palisade {

// Everything outside the core, handed to the controllers as one bundle.
struct Ports {
    FileSystem& fs;
    SettingsStore& settings;
    Dialogs& dialogs;
    EventPump& pump;
    AdminTest& admin;
    Autostart& autostart;
    SystemInfo& system;
    NotificationShell& shell;
    Clock& clock;
    HostsLock& hostsLock;
    Timer& timer;
};

} // namespace palisade
