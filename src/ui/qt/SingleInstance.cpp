#include "ui/qt/SingleInstance.h"

#include "platform/posix/FsIdentity.h"

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
    explicit StartLock(const QString& path) {
        fd_ = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC,
                     0600);
        if (fd_ >= 0)
            ::flock(fd_, LOCK_EX);
    }
    ~StartLock() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    StartLock(const StartLock&) = delete;
    StartLock& operator=(const StartLock&) = delete;

private:
    int fd_ = -1;
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
                               HandOverTiming timing)
    : folder_(std::move(folder)), canWriteHosts_(canWriteHosts), owner_(std::move(owner)),
      timing_(timing) {
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
        socket.write(Line(canWriteHosts_));
        socket.flush();
        QByteArray answer;
        while (!answer.contains('\n') &&
               socket.waitForReadyRead(static_cast<int>(timing_.reply.count())))
            answer += socket.readAll();
        const auto running = Parse(answer);
        if (!running) {
            problem_ = QStringLiteral("a running copy does not answer");
            return Outcome::HandedOver;
        }
        if (!decides(canWriteHosts_, *running))
            return Outcome::HandedOver;
        // The running copy ends as at the session's end; its closing connection says it is gone.
        if (socket.state() == QLocalSocket::ConnectedState)
            socket.waitForDisconnected(static_cast<int>(timing_.handOver.count()));
        outcome = Outcome::TookOver;
    }
    // No answer at the socket: nothing runs, and a socket file left there is stale.
    if (!listen())
        return Outcome::Unguarded;
    return outcome;
}

bool SingleInstance::listen() {
    AsUser as(owner_);
    QLocalServer::removeServer(socketPath());
    if (server_.listen(socketPath()))
        return true;
    problem_ = QStringLiteral("cannot listen at %1: %2").arg(socketPath(), server_.errorString());
    return false;
}

void SingleInstance::onSecondStart(std::function<void(bool)> handler) {
    handler_ = std::move(handler);
}

void SingleInstance::accept() {
    while (QLocalSocket* raw = server_.nextPendingConnection()) {
        QPointer<QLocalSocket> socket(raw);
        connect(raw, &QLocalSocket::disconnected, raw, &QObject::deleteLater);
        auto received = std::make_shared<QByteArray>();
        connect(raw, &QLocalSocket::readyRead, this, [this, socket, received] {
            if (!socket)
                return;
            *received += socket->readAll();
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
            socket->write(Line(canWriteHosts_));
            socket->flush();
            // The answer is on its way; what follows may end this program, from the event
            // loop rather than from inside the socket's signal.
            const bool otherCanWrite = *other;
            QTimer::singleShot(0, this, [this, otherCanWrite] {
                if (handler_)
                    handler_(otherCanWrite);
            });
        });
    }
}

} // namespace palisade::qt
