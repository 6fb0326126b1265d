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
    "You must run this software as administrator (root) in order to block sites. Choose 'Run as "
    "administrator' in its menu entry, or start it with sudo; an administrator's password is "
    "asked for.",
    "You must run this software as administrator (root) in order to block sites. Choose 'Run as "
    "administrator' in its menu entry, or start it with sudo.",
    "You must run this software as administrator (root) in order to stop block sites. Choose 'Run "
    "as administrator' in its menu entry, or start it with sudo; an administrator's password is "
    "asked for.",
    "Please make sure you run this software as administrator (root): choose 'Run as "
    "administrator' in its menu entry, or start it with sudo.",
};

} // namespace

const PlatformTexts& TextsFor(Platform platform) {
    return platform == Platform::Linux ? LinuxTexts : WindowsTexts;
}

} // namespace palisade
