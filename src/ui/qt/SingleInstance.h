#pragma once

#include "platform/posix/UserAccount.h"

#include <QLocalServer>
#include <QObject>
#include <QString>
#include <chrono>
#include <functional>
#include <optional>

namespace palisade::qt {

// How long a new copy waits for the running one: for its answer, and for it to end when the new
// one takes over.
struct HandOverTiming {
    std::chrono::milliseconds reply{5000};
    std::chrono::milliseconds handOver{10000};
};

// One program per user session. The running copy listens on a socket in the user's private
// runtime folder; a new copy connects, and each tells the other whether it can write the hosts
// file ("PALISADE 1" or "PALISADE 0", one line each way). Then both know which one carries on.
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
    // copy runs as root for them.
    SingleInstance(QString folder, bool canWriteHosts, std::optional<UserAccount> owner = {},
                   HandOverTiming timing = HandOverTiming());
    ~SingleInstance() override;

    // Settles with a running copy, if there is one; decides(self, running) says whether this
    // copy takes over. Blocks for at most the timing's reply and hand-over waits.
    Outcome claim(const std::function<bool(bool self, bool running)>& decides);

    // A later copy has arrived and told whether it can write the hosts file; this copy's answer
    // has already gone back.
    void onSecondStart(std::function<void(bool otherCanWriteHosts)> handler);

    QString socketPath() const;
    // Why the last claim ran unguarded or could not settle, for the user; empty otherwise.
    const QString& problem() const { return problem_; }

private:
    bool listen();
    void accept();

    QString folder_;
    bool canWriteHosts_;
    std::optional<UserAccount> owner_;
    HandOverTiming timing_;
    QLocalServer server_;
    std::function<void(bool)> handler_;
    QString problem_;
};

} // namespace palisade::qt
