#pragma once

#include "blocking/HostsPaths.h"
#include "common/AppState.h"
#include "common/PlatformTexts.h"
#include "common/Signal.h"
#include "platform/Ports.h"
#include "platform/PrivilegedHosts.h"
#include "ui/model/Form1Controls.h"
#include "ui/model/Form2Controls.h"

#include <memory>

namespace palisade {

// The whole program, built from the ports: both windows' models and controllers, the blocker,
// the block and list commands and the tray control. A front end's main builds the ports, a
// Program, binds its widgets to form1() and form2(), calls Start(), and runs its event loop until
// quit is raised.
//
// What a front end does, and nothing more (it holds no logic of its own):
//
// It raises, for what the user does:
//   - PushButton::press() for a click or a keyboard press of a push button;
//   - CheckBox::setValue() with the new value when the user ticks or clears a check box;
//   - TextBox::setText() with the whole new text on every edit of a text box;
//   - ListView::select() when the user selects an item (0 for none), dblClick() on a double
//     click, keyDown(key code, shift state) on a key press, with Windows key codes (46 Delete);
//   - Window::setState() when the user minimises or restores a window (also from the task bar);
//   - Window::requestClose() for the close box, the system menu or Alt+F4; it never closes a
//     window itself;
//   - Window::pressDefault() on Enter and Window::pressCancel() on Escape, where the key is not
//     taken by the focused control; only windows that name such buttons (the password window)
//     act on them;
//   - Control::mouseMove() while the pointer moves over a control or a window's own surface.
//
// It follows, through Control::changed and the signals named here:
//   - every control's caption, visibility, colours, font and geometry as the model holds them;
//     the keyboard focus order is tabOrder() of each window's controls (hidden ones passed over);
//   - Window: visible() (show or hide), state() (normal, minimised on the task bar, maximised),
//     loaded() (an unloaded window is hidden and shown afresh, centred, when it is loaded again;
//     unloaded is raised then), icon(), mousePointer() (0 default, 11 busy, 99 the hand of
//     mouseIcon(), or an ordinary hand without one), activateRequested (bring the window to
//     the front and give it the keyboard focus);
//   - TextBox: text(), the selection, focusRequested; ListView: its items through itemAdded,
//     itemRemoved and itemsCleared, the selection, its column and tool tip.
//   - Program::quit: leave the event loop. No handler is running then; the windows' state need
//     not be saved, the program has done so.
//
// The ports it implements: Dialogs (modal message, input and open-file boxes, and cancelAll
// closing the open ones as cancelled), EventPump (running pending events; waiting for one
// without spinning), NotificationShell (the tray icon, see cSysTray), Timer (work run once by the
// event loop after a delay) and the others in Ports.
//
// Its entries for the system: SessionEnding() when the session asks whether it may end,
// SessionEnd() when it ends for certain (SIGTERM, the session manager's last word,
// WM_ENDSESSION with TRUE), and, for one copy per user session, TakesOver() on the new copy and
// SecondStart() on the running one. Each may be called from inside a nested event loop.
class Program {
public:
    // canWriteHosts: whether this copy may write the hosts file (root on Linux, an elevated
    // token on Windows), as told to another copy at a hand-over. helper (may be null): where a
    // copy that may not write it sends an administrator's writes instead.
    Program(Ports& ports, Platform platform, HostsPaths paths, bool canWriteHosts,
            PrivilegedHosts* helper = nullptr);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    Form1Controls& form1();
    Form2Controls& form2();

    // Loads the main window and shows it, or hides it into the notification area.
    void Start();

    // The session or the computer is about to end, and the question can still be cancelled:
    // the list and "BlockOnStart" are written as at close; nothing else happens.
    void SessionEnding();
    // The session ends for certain: the close handler runs at once without a message box,
    // open boxes and the password window are cancelled, and quit follows.
    void SessionEnd();

    // Whether this copy may write the hosts file.
    bool canWriteHosts() const;
    // The running copy's side of a hand-over: a second start has arrived. True when this copy
    // steps aside (it ends as at the session's end, and the new one carries on); otherwise it is
    // brought forward as after a tray click, and the new one ends.
    bool SecondStart(bool otherCanWriteHosts);

    // The process-wide state, for a look from outside (tests, diagnostics).
    const AppState& state() const;

    // Raised once, when the program is to end; never while a handler is still running.
    Signal<> quit;

private:
    void RequestQuit();

    struct Parts;
    std::unique_ptr<Parts> parts_;
    bool quitRequested_ = false;
};

// A new copy's side of a hand-over: true when it takes over from the running copy rather than
// handing over to it.
bool TakesOver(bool selfCanWriteHosts, bool runningCanWriteHosts);

} // namespace palisade
