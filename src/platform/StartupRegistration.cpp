#include "platform/StartupRegistration.h"

#include "platform/FileHelpers.h"

namespace palisade {

bool ChangeStartup(Autostart& autostart, FileSystem& fs, SystemInfo& system, EventPump& pump,
                   const std::string& marker, bool on) {
    if (!(on ? autostart.EnableWindowsStartup() : autostart.DisableWindowsStartup()))
        return false;
    if (autostart.keepsMarker())
        return true;
    bool marked = false;
    if (on) {
        marked = WriteTextFile(fs, system, marker, " ");
    } else {
        RemoveFile(fs, pump, marker);
        marked = !PathExists(fs, marker);
    }
    if (!marked && on)
        autostart.DisableWindowsStartup();
    else if (!marked)
        autostart.EnableWindowsStartup();
    return marked;
}

} // namespace palisade
