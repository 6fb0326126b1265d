#pragma once

#include "platform/Ports.h"

#include <string>

namespace palisade {

// Registers the program for start at log-on and writes the startup marker at marker (on), or the
// reverse; whether both took effect. When only the registration did, it is undone: the option
// stays wholly as it was.
bool ChangeStartup(Autostart& autostart, FileSystem& fs, SystemInfo& system, EventPump& pump,
                   const std::string& marker, bool on);

} // namespace palisade
