#include "common/PlatformTexts.h"

namespace palisade {

namespace {

constexpr PlatformTexts WindowsTexts{
    "Load this software on Windows startup",
    "You must be logged in as Administrator in Windows in order to block sites.",
    "You must be logged in as Administrator in Windows in order to block sites. You need to lower "
    "your User Account Control settings to have this software work.",
    "You must be logged in as Administrator in Windows in order to stop block sites.",
    "Please check your UAC settings to make sure they are on 'Never Notify'. Please make sure you "
    "run this software as administrator by right clicking the desktop icon for this software and "
    "choosing 'Run as administrator'",
};

constexpr PlatformTexts LinuxTexts{
    "Load this software at desktop login",
    "Only an administrator (a member of the sudo, wheel or admin group) can block sites: ask an "
    "administrator to start blocking.",
    "Blocking sites changes the computer's hosts file, which only an administrator (a member of "
    "the sudo, wheel or admin group) may do: when an administrator starts or stops blocking, "
    "their password is asked for.",
    "Only an administrator (a member of the sudo, wheel or admin group) can stop blocking sites: "
    "ask an administrator to stop blocking.",
    "An administrator must do this, and give their password when it is asked for.",
};

} // namespace

const PlatformTexts& TextsFor(Platform platform) {
    return platform == Platform::Linux ? LinuxTexts : WindowsTexts;
}

} // namespace palisade
