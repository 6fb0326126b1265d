#pragma once

#include "common/Signal.h"

#include <cstdint>
#include <functional>
#include <string>

namespace palisade {

// What the notification area is told, field by field as the shell's record has them.
namespace tray {
inline constexpr std::uint32_t NimAdd = 0;
inline constexpr std::uint32_t NimModify = 1;
inline constexpr std::uint32_t NimDelete = 2;

inline constexpr std::uint32_t NifMessage = 0x1;
inline constexpr std::uint32_t NifIcon = 0x2;
inline constexpr std::uint32_t NifTip = 0x4;
inline constexpr std::uint32_t NifInfo = 0x10;

// The message the shell sends the control's window for every mouse or balloon event.
inline constexpr std::uint32_t CallbackMessage = 1125;

// Codes the callback carries.
inline constexpr std::uint32_t MouseMove = 0x200;
inline constexpr std::uint32_t LeftButtonDown = 0x201;
inline constexpr std::uint32_t LeftButtonUp = 0x202;
inline constexpr std::uint32_t LeftButtonDblClk = 0x203;
inline constexpr std::uint32_t RightButtonDown = 0x204;
inline constexpr std::uint32_t RightButtonUp = 0x205;
inline constexpr std::uint32_t RightButtonDblClk = 0x206;
inline constexpr std::uint32_t BalloonShow = 1026;
inline constexpr std::uint32_t BalloonHide = 1027;
inline constexpr std::uint32_t BalloonTimeout = 1028;
inline constexpr std::uint32_t BalloonUserClick = 1029;

// The longest texts the record's fields hold, without their terminating NUL.
inline constexpr std::size_t MaxTip = 127;
inline constexpr std::size_t MaxInfo = 255;
inline constexpr std::size_t MaxInfoTitle = 63;
} // namespace tray

// An icon as the platform knows it; 0 is none.
using IconHandle = std::uintptr_t;

// One notification record. Fields an operation does not name stay zero or empty; texts are
// already cut to fit their fields.
struct NotifyIconData {
    std::uint32_t id = 0;
    std::uint32_t flags = 0;
    std::uint32_t callbackMessage = 0;
    IconHandle icon = 0;
    std::string tip;
    std::string info;
    std::string infoTitle;
    std::uint32_t timeoutMs = 0;
    std::uint32_t infoFlags = 0;
};

// The system's notification area, as the tray control needs it.
class NotificationShell {
public:
    using Callback = std::function<void(std::uint32_t code, std::uint32_t id)>;

    virtual ~NotificationShell() = default;

    // Sends one record with NimAdd, NimModify or NimDelete. The result is not examined.
    virtual void notify(std::uint32_t message, const NotifyIconData& data) = 0;

    // Routes the shell's callback messages for the control's window to callback (on Windows:
    // the window procedure replaced and the control's address kept with the window). Installed
    // before an icon is added, removed after it is deleted.
    virtual void installHook(Callback callback) = 0;
    virtual void removeHook() = 0;

    // Whether the desktop offers a notification area now. A program started with the session
    // can come up before the panel, so callers ask each time they need to know.
    virtual bool available() = 0;

    // The program's own icon, for the tray.
    virtual IconHandle programIcon() = 0;

    // Raised when the notification area has come back after a restart, empty.
    Signal<> restarted;
};

} // namespace palisade
