#pragma once

#include <optional>
#include <string>

namespace palisade {

// Registration of the program for automatic start at log-on. Each call says whether it took
// effect: false when the registration could not be written or removed, as for a user without
// the rights to the machine-wide entry.
class Autostart {
public:
    virtual ~Autostart() = default;
    virtual bool EnableWindowsStartup() = 0;
    virtual bool DisableWindowsStartup() = 0;

    // Whether each call writes or removes the startup marker too, as a helper with root's rights
    // does; otherwise the caller keeps the marker itself.
    virtual bool keepsMarker() const { return false; }
    // After a call that did not take effect: the message to show in place of the program's own,
    // the empty text for none at all (the user cancelled); nothing for the program's own.
    virtual std::optional<std::string> failureMessage() { return std::nullopt; }
};

} // namespace palisade
