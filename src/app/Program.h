#pragma once

#include "blocking/HostsPaths.h"
#include "platform/Ports.h"
#include "ui/model/Form1Controls.h"
#include "ui/model/Signal.h"

#include <memory>

namespace palisade {

enum class Platform { Windows, Linux };

// The whole program, built from the ports: both windows' models and controllers, the blocker,
// the block and list commands and the tray control. A front end binds its widgets to form1()
// and form2(), calls Start(), and runs its event loop until quit is raised; everything else
// reaches the program through the models' events and the entries below.
class Program {
public:
    // canWriteHosts: whether this copy may write the hosts file (root on Linux, an elevated
    // token on Windows), as told to another copy at a hand-over.
    Program(Ports& ports, Platform platform, HostsPaths paths, bool canWriteHosts);
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

    // Raised once, when the program is to end; never while a handler is still running.
    Signal<> quit;

private:
    struct Parts;
    std::unique_ptr<Parts> parts_;
};

// A new copy's side of a hand-over: true when it takes over from the running copy rather than
// handing over to it.
bool TakesOver(bool selfCanWriteHosts, bool runningCanWriteHosts);

} // namespace palisade
