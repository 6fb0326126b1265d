#pragma once

#include "common/Signal.h"
#include "platform/NotificationShell.h"
#include "platform/Timer.h"
#include "platform/TrayControl.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace palisade {

enum class PictureType { None = 0, Bitmap = 1, Metafile = 2, Icon = 3, EnhancedMetafile = 4 };

// A picture as a property takes it; only icons go into the notification area.
struct Picture {
    PictureType type = PictureType::None;
    IconHandle handle = 0;
};

// The tip a control has until its host sets one.
inline constexpr std::string_view DefaultTrayTip = "Telnet Server";

// Owns one icon in the notification area on behalf of its window, shows balloons from it and
// turns the shell's mouse notifications into events.
class cSysTray : public TrayControl {
public:
    cSysTray(NotificationShell& shell, Timer& timer);
    // Takes the icon out of the notification area when it is there.
    ~cSysTray() override;
    cSysTray(const cSysTray&) = delete;
    cSysTray& operator=(const cSysTray&) = delete;

    bool inTray() const override { return inTray_; }
    // Hook first, then the icon; on the way out the icon goes before the hook, so the window
    // never gets a callback without a handler in place.
    void setInTray(bool inTray) override;

    const std::string& trayTip() const { return tip_; }
    void setTrayTip(const std::string& tip) override;

    const Picture& trayIcon() const { return icon_; }
    // A null picture or one that is not an icon is ignored; the stored icon stays.
    void setTrayIcon(const std::optional<Picture>& picture);

    // Shows a balloon and returns. When seconds have passed, the event loop takes it down unless
    // the shell has reported it gone first (or a later balloon has replaced it). showOnce -1
    // shows it only on the first such call of this control; 0 always; any other value never.
    // Throws RuntimeError("Overflow") when seconds * 1000 does not fit 32 bits.
    void ShowBalloon(const std::string& text, const std::string& title, std::int32_t seconds,
                     std::int16_t showOnce) override;

    bool available() override { return shell_.available(); }

    // Whether the shell holds the icon now (set once the add has been sent).
    bool iconAdded() const { return iconAdded_; }
    bool balloonShowing() const { return balloonShowing_; }
    std::int32_t onceBalloonCount() const { return onceBalloonCount_; }

private:
    void HandleTrayMessage(std::uint32_t code, std::uint32_t id);
    void AddTrayIcon();
    void RemoveTrayIcon();
    NotifyIconData Record() const;

    NotificationShell& shell_;
    Timer& timer_;

    bool inTray_ = false;
    const std::uint32_t iconId_ = 0;
    std::string tip_{DefaultTrayTip};
    Picture icon_;
    bool iconAdded_ = false;
    bool balloonShowing_ = false;
    std::int32_t onceBalloonCount_ = 0;
    // Balloons sent so far: a time that runs out takes down only the balloon it was set for.
    std::uint64_t balloonsSent_ = 0;

    // Neither a timer's work nor the shell's hook can be taken back: both hold this weakly, so
    // what comes after the control is gone does nothing.
    std::shared_ptr<cSysTray*> alive_;
    // The shell may restart after the control has gone.
    ScopedConnection restarted_;
};

} // namespace palisade
