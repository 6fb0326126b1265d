#include "linux/ui/SingleInstance.h"

#include "linux/system/FsIdentity.h"
#include "linux/system/UniqueFd.h"

#include <QFile>
#include <QLocalSocket>
#include <QPointer>
#include <QTimer>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace palisade::qt {

namespace {

const QByteArray Greeting = "PALISADE ";
constexpr qsizetype MaxLineBytes = 256;

QByteArray Line(bool canWrite) {
    return Greeting + (canWrite ? "1" : "0") + "\n";
}

// The other copy's answer: 1 or 0 after the greeting; nothing for anything else.
std::optional<bool> Parse(const QByteArray& line) {
    const QByteArray text = line.trimmed();
    if (text == Greeting + "1")
        return true;
    if (text == Greeting + "0")
        return false;
    return std::nullopt;
}

// Holds an exclusive lock on a file for as long as it lives, so that two copies starting at
// once do not both find no socket and both listen.
class StartLock {
public:
    explicit StartLock(const QString& path)
        : fd_(RealSyscalls(), ::open(QFile::encodeName(path).constData(),
                                     O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600)) {
        if (fd_.valid())
            ::flock(fd_.get(), LOCK_EX);
    }

private:
    UniqueFd fd_;
};

// A runtime folder only its user can reach. One taken from the environment may be anything: a
// root copy started with su keeps its user's, and /tmp is no private place either. A socket or
// lock there would be in the hands of whoever owns the folder.
bool IsPrivateFolder(const QString& path, uid_t user) {
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 && S_ISDIR(st.st_mode) &&
           st.st_uid == user && (st.st_mode & 077) == 0;
}

} // namespace

SingleInstance::SingleInstance(QString folder, bool canWriteHosts, std::optional<UserAccount> owner,
                               HandOverTiming timing, PeerCheck isCopy)
    : folder_(std::move(folder)), canWriteHosts_(canWriteHosts), owner_(std::move(owner)),
      timing_(timing), isCopy_(std::move(isCopy)) {
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&server_, &QLocalServer::newConnection, this, [this] { accept(); });
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::socketPath() const {
    return folder_ + QStringLiteral("/palisade.socket");
}

SingleInstance::Outcome
SingleInstance::claim(const std::function<bool(bool self, bool running)>& decides) {
    problem_.clear();
    if (!IsPrivateFolder(folder_, owner_ ? owner_->uid : ::geteuid())) {
        problem_ = QStringLiteral("no private runtime folder (%1)").arg(folder_);
        return Outcome::Unguarded;
    }
    std::optional<StartLock> lock;
    {
        AsUser as(owner_);
        lock.emplace(folder_ + QStringLiteral("/palisade.lock"));
    }

    Outcome outcome = Outcome::First;
    QLocalSocket socket;
    socket.connectToServer(socketPath());
    if (socket.waitForConnected(1000)) {
        // Only a copy of this program that answers as it does is given way to: this copy never
        // ends unless the running one has come forward in its place.
        if (!isCopy_(static_cast<int>(socket.socketDescriptor()))) {
            problem_ = QStringLiteral("another program listens at %1; this copy takes its place")
                           .arg(socketPath());
        } else if (const auto running = greetRunningCopy(socket); !running) {
            problem_ = QStringLiteral("the running copy does not answer; this copy carries on");
        } else if (!decides(canWriteHosts_, *running)) {
            return Outcome::HandedOver;
        } else {
            // The running copy ends as at the session's end; its closing connection says it is
            // gone.
            if (socket.state() == QLocalSocket::ConnectedState)
                socket.waitForDisconnected(static_cast<int>(timing_.handOver.count()));
            outcome = Outcome::TookOver;
        }
        socket.abort();
    }
    // No copy there, or none that answers: a socket file left there is stale or not ours.
    if (!listen())
        return Outcome::Unguarded;
    return outcome;
}

std::optional<bool> SingleInstance::greetRunningCopy(QLocalSocket& socket) {
    socket.write(Line(canWriteHosts_));
    socket.flush();
    QByteArray answer;
    while (!answer.contains('\n') && answer.size() <= MaxLineBytes &&
           socket.waitForReadyRead(static_cast<int>(timing_.reply.count())))
        answer += socket.readAll();
    return Parse(answer);
}

bool SingleInstance::listen() {
    AsUser as(owner_);
    QLocalServer::removeServer(socketPath());
    if (server_.listen(socketPath()))
        return true;
    problem_ = QStringLiteral("cannot listen at %1: %2").arg(socketPath(), server_.errorString());
    return false;
}

void SingleInstance::onSecondStart(std::function<bool(bool)> handler) {
    handler_ = std::move(handler);
}

void SingleInstance::accept() {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        // Every caller holds a descriptor while it is there: beyond a few at once, they would
        // use up the ones the program needs for its files.
        if (callers_ >= MaxCallers) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        ++callers_;
        connect(socket, &QObject::destroyed, this, [this] { --callers_; });
        hear(socket);
    }
}

void SingleInstance::hear(QLocalSocket* raw) {
    QPointer<QLocalSocket> socket(raw);
    auto received = std::make_shared<QByteArray>();
    auto greeted = std::make_shared<bool>(false);
    // A copy greets the moment it has connected; a caller that does not is hung up on.
    QTimer::singleShot(timing_.greeting, raw, [socket, greeted] {
        if (socket && !*greeted) {
            socket->abort();
            socket->deleteLater();
        }
    });
    connect(raw, &QLocalSocket::readyRead, this, [this, socket, received, greeted] {
        if (!socket)
            return;
        const QByteArray bytes = socket->readAll();
        if (*greeted)
            return; // nothing after the greeting is listened to
        *received += bytes;
        if (!received->contains('\n')) {
            // A greeting is a dozen bytes; a peer that sends on and on is not another copy.
            if (received->size() > MaxLineBytes) {
                received->clear();
                socket->abort();
            }
            return;
        }
        const auto other = Parse(*received);
        received->clear();
        if (!other) {
            socket->disconnectFromServer();
            return;
        }
        *greeted = true;
        socket->write(Line(canWriteHosts_));
        socket->flush();
        // The answer is on its way; what follows may end this program, from the event loop
        // rather than from inside the socket's signal. A copy that carries on hangs up; one that
        // steps aside ends, and its ending tells the caller.
        const bool otherCanWrite = *other;
        QTimer::singleShot(0, this, [this, socket, otherCanWrite] {
            const bool stepsAside = handler_ && handler_(otherCanWrite);
            if (!stepsAside && socket)
                socket->disconnectFromServer();
        });
    });
}

} // namespace palisade::qt
