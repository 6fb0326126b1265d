#include "platform/cSysTray.h"

#include "platform/RuntimeError.h"

#include <chrono>
#include <limits>
#include <memory>

namespace palisade {

namespace {
std::string Cut(const std::string& text, std::size_t longest) {
    return text.size() > longest ? text.substr(0, longest) : text;
}

// 1 for the left button, 2 for the right, 0 for a code that is no button of these.
int ButtonOf(std::uint32_t code) {
    switch (code) {
    case tray::LeftButtonDown:
    case tray::LeftButtonUp:
    case tray::LeftButtonDblClk:
        return 1;
    case tray::RightButtonDown:
    case tray::RightButtonUp:
    case tray::RightButtonDblClk:
        return 2;
    default:
        return 0;
    }
}
} // namespace

cSysTray::cSysTray(NotificationShell& shell, Timer& timer)
    : shell_(shell), timer_(timer), icon_{PictureType::Icon, shell.programIcon()},
      alive_(std::make_shared<cSysTray*>(this)) {
    // The notification area forgets its icons when it restarts; put ours back.
    restarted_ = shell_.restarted.connect([this] {
        if (iconAdded_)
            AddTrayIcon();
    });
}

cSysTray::~cSysTray() {
    try {
        if (inTray_)
            setInTray(false);
    } catch (...) {
        // The shell's answers are never examined; a failing one must not escape a destructor.
    }
}

NotifyIconData cSysTray::Record() const {
    NotifyIconData data;
    data.id = iconId_;
    return data;
}

void cSysTray::AddTrayIcon() {
    NotifyIconData data = Record();
    data.flags = tray::NifMessage;
    data.callbackMessage = tray::CallbackMessage;
    if (icon_.handle != 0) {
        data.flags |= tray::NifIcon;
        data.icon = icon_.handle;
    }
    if (!tip_.empty()) {
        data.flags |= tray::NifTip;
        data.tip = Cut(tip_, tray::MaxTip);
    }
    shell_.notify(tray::NimAdd, data);
}

void cSysTray::RemoveTrayIcon() {
    shell_.notify(tray::NimDelete, Record());
}

void cSysTray::setInTray(bool inTray) {
    if (inTray == inTray_)
        return;
    if (inTray) {
        shell_.installHook(
            [weak = std::weak_ptr<cSysTray*>(alive_)](std::uint32_t code, std::uint32_t id) {
                if (auto self = weak.lock())
                    (*self)->HandleTrayMessage(code, id);
            });
        AddTrayIcon();
        iconAdded_ = true;
    } else if (iconAdded_) {
        RemoveTrayIcon();
        shell_.removeHook();
        iconAdded_ = false;
    }
    inTray_ = inTray;
}

void cSysTray::setTrayTip(const std::string& tip) {
    if (iconAdded_) {
        NotifyIconData data = Record();
        data.flags = tray::NifTip;
        data.tip = Cut(tip, tray::MaxTip);
        shell_.notify(tray::NimModify, data);
    }
    tip_ = tip;
}

void cSysTray::setTrayIcon(const std::optional<Picture>& picture) {
    if (!picture || picture->type != PictureType::Icon)
        return;
    if (iconAdded_) {
        NotifyIconData data = Record();
        data.flags = tray::NifIcon;
        data.icon = picture->handle;
        shell_.notify(tray::NimModify, data);
    }
    icon_ = *picture;
}

void cSysTray::ShowBalloon(const std::string& text, const std::string& title, std::int32_t seconds,
                           std::int16_t showOnce) {
    if (!(showOnce == 0 || (showOnce == -1 && onceBalloonCount_ < 1)))
        return;

    NotifyIconData data = Record();
    data.flags = tray::NifInfo;
    data.info = Cut(text, tray::MaxInfo);
    data.infoTitle = Cut(title, tray::MaxInfoTitle);
    if (seconds > 0) {
        if (seconds > std::numeric_limits<std::int32_t>::max() / 1000)
            throw RuntimeError("Overflow");
        data.timeoutMs = static_cast<std::uint32_t>(seconds) * 1000;
    }
    shell_.notify(tray::NimModify, data);
    const auto balloon = ++balloonsSent_;
    balloonShowing_ = true;
    if (showOnce == -1)
        ++onceBalloonCount_;

    if (seconds > 0) {
        // The caller (the minimise, inside the command that minimised) must not wait out the
        // balloon: a button clicked meanwhile would wait with it. The same record with empty
        // texts takes it down later; the flag stays set until the shell reports it gone.
        data.info.clear();
        data.infoTitle.clear();
        timer_.singleShot(std::chrono::milliseconds(data.timeoutMs),
                          [weak = std::weak_ptr<cSysTray*>(alive_), balloon, hide = data] {
                              auto self = weak.lock();
                              if (self && (*self)->balloonShowing_ &&
                                  (*self)->balloonsSent_ == balloon)
                                  (*self)->shell_.notify(tray::NimModify, hide);
                          });
    }
}

void cSysTray::HandleTrayMessage(std::uint32_t code, std::uint32_t id) {
    const auto iconId = static_cast<std::int32_t>(id);
    switch (code) {
    case tray::MouseMove:
        mouseMove(iconId);
        break;
    case tray::LeftButtonDown:
    case tray::RightButtonDown:
        mouseDown(ButtonOf(code), iconId);
        break;
    case tray::LeftButtonUp:
    case tray::RightButtonUp:
        mouseUp(ButtonOf(code), iconId);
        break;
    case tray::LeftButtonDblClk:
    case tray::RightButtonDblClk:
        mouseDblClick(ButtonOf(code), iconId);
        break;
    case tray::BalloonHide:
    case tray::BalloonTimeout:
    case tray::BalloonUserClick:
        balloonShowing_ = false;
        break;
    default:
        break;
    }
}

} // namespace palisade
