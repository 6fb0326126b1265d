#include "app/PrivilegedAutostart.h"

#include "app/Form1.h"
#include "blocking/PrivilegedBlocker.h"

namespace palisade {

bool PrivilegedAutostart::Change(bool on) {
    if (!UsesHelper())
        return on ? inProcess_.EnableWindowsStartup() : inProcess_.DisableWindowsStartup();
    last_ = helper_->autostart(on);
    return last_.status == helper_status::Done;
}

std::optional<std::string> PrivilegedAutostart::failureMessage() {
    if (!UsesHelper())
        return inProcess_.failureMessage();
    return HelperMessage(last_, StartupNotChangedText);
}

} // namespace palisade
