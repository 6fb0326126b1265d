#pragma once

#include "linux/system/PeerProgram.h"
#include "linux/system/UserAccount.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QObject>
#include <QString>
#include <chrono>
#include <functional>
#include <optional>

namespace palisade::qt {

// How long a new copy waits for the running one: for its answer, and for it to end when the new
// one takes over; and how long the running copy waits for a caller to say who it is.
struct HandOverTiming {
    std::chrono::milliseconds reply{5000};
    std::chrono::milliseconds handOver{10000};
    std::chrono::milliseconds greeting{2000};
};

// Whether the process at the other end of a connected socket is a copy of this program.
using PeerCheck = std::function<bool(int socketDescriptor)>;

// How many callers the running copy holds at once; more are hung up on at once. Copies start one
// at a time, so only something else would ever fill them.
inline constexpr int MaxCallers = 8;

// One program per user session. The running copy listens on a socket in the user's private
// runtime folder; a new copy connects, and each tells the other whether it can write the hosts
// file ("PALISADE 1" or "PALISADE 0", one line each way). Then both know which one carries on.
// The new copy gives way only to a listener that runs this program and answers as it does: in
// the place of anything else it listens itself, so that no other program can make it end.
class SingleInstance : public QObject {
public:
    enum class Outcome {
        First,      // no copy was running; this one listens now
        TookOver,   // the running copy has ended for this one, which listens now
        HandedOver, // the running copy carries on; this one ends without touching anything
        Unguarded,  // no private runtime folder, or its socket cannot be made: runs unguarded
    };

    // folder: the user's runtime folder; unless it is theirs and closed to everyone else, this
    // copy runs unguarded. owner: the user whose files the socket and its lock are, when this
    // copy runs as root for them. isCopy: how a listener is known to be a copy of this program.
    SingleInstance(QString folder, bool canWriteHosts, std::optional<UserAccount> owner = {},
                   HandOverTiming timing = HandOverTiming(),
                   PeerCheck isCopy = PeerRunsThisProgram);
    ~SingleInstance() override;

    // Settles with a running copy, if there is one; decides(self, running) says whether this
    // copy takes over. Blocks for at most the timing's reply and hand-over waits.
    Outcome claim(const std::function<bool(bool self, bool running)>& decides);

    // A later copy has arrived and told whether it can write the hosts file; this copy's answer
    // has already gone back. The handler answers whether this copy steps aside (and ends).
    void onSecondStart(std::function<bool(bool otherCanWriteHosts)> handler);

    QString socketPath() const;
    // Why the last claim ran unguarded, or went on without the listener it found, for the user;
    // empty otherwise.
    const QString& problem() const { return problem_; }

private:
    bool listen();
    void accept();
    // Tells the running copy whether this one can write the hosts file: its own answer, or
    // nothing when it gives none the program would give in time.
    std::optional<bool> greetRunningCopy(QLocalSocket& socket);
    // The running copy's side of one caller.
    void hear(QLocalSocket* socket);

    QString folder_;
    bool canWriteHosts_;
    std::optional<UserAccount> owner_;
    HandOverTiming timing_;
    PeerCheck isCopy_;
    int callers_ = 0;
    QLocalServer server_;
    std::function<bool(bool)> handler_;
    QString problem_;
};

} // namespace palisade::qt
