#pragma once

namespace palisade {

// Registration of the program for automatic start at log-on. Failures pass silently.
class Autostart {
public:
    virtual ~Autostart() = default;
    virtual void EnableWindowsStartup() = 0;
    virtual void DisableWindowsStartup() = 0;
};

} // namespace palisade
