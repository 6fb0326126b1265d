#pragma once

namespace palisade {

// Registration of the program for automatic start at log-on. Each call says whether it took
// effect: false when the registration could not be written or removed, as for a user without
// the rights to the machine-wide entry.
class Autostart {
public:
    virtual ~Autostart() = default;
    virtual bool EnableWindowsStartup() = 0;
    virtual bool DisableWindowsStartup() = 0;
};

} // namespace palisade
