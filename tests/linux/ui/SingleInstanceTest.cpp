// One program per user session: a second copy settles with the running one over a socket in
// the user's runtime folder.
#include "linux/ui/SingleInstance.h"

#include "app/Program.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalSocket>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace palisade::qt {
namespace {

using Outcome = SingleInstance::Outcome;

// Leaves a socket file behind with nobody listening, as a crashed copy does.
void LeaveStaleSocket(const QString& path) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray name = path.toLocal8Bit();
    std::memcpy(address.sun_path, name.constData(), static_cast<std::size_t>(name.size()));
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::close(fd);
}

// A second copy started on its own thread while the running one answers on this one.
Outcome SecondStart(const QString& folder, bool canWrite, HandOverTiming timing = {},
                    PeerCheck isCopy = PeerRunsThisProgram) {
    Outcome outcome = Outcome::Unguarded;
    std::unique_ptr<QThread> thread(QThread::create([&] {
        SingleInstance second(folder, canWrite, {}, timing, isCopy);
        outcome = second.claim(TakesOver);
    }));
    thread->start();
    QElapsedTimer wall;
    wall.start();
    while (!thread->isFinished() && wall.elapsed() < 20000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    thread->wait();
    return outcome;
}

TEST(SingleInstance, TheFirstCopyListensAndAStaleSocketIsCleared) {
    QTemporaryDir runtime;
    {
        SingleInstance first(runtime.path(), false);
        EXPECT_EQ(first.claim(TakesOver), Outcome::First);
    }
    SingleInstance again(runtime.path(), false);
    LeaveStaleSocket(again.socketPath());
    EXPECT_EQ(again.claim(TakesOver), Outcome::First);
    EXPECT_TRUE(again.problem().isEmpty());
}

TEST(SingleInstance, WithoutAPrivateRuntimeFolderItRunsUnguarded) {
    SingleInstance copy(QStringLiteral("/nonexistent/run/user/4242"), false);
    EXPECT_EQ(copy.claim(TakesOver), Outcome::Unguarded);
    EXPECT_FALSE(copy.problem().isEmpty());

    // A folder others may write to, or one another user owns (a root copy started with su keeps
    // its user's runtime folder), holds neither socket nor lock.
    const uid_t self = ::geteuid();
    const std::pair<mode_t, uid_t> folders[] = {{01777, self}, {0770, self}, {0700, self + 1}};
    for (const auto& [mode, owner] : folders) {
        if (owner != self && self != 0)
            continue; // only root can give a folder away
        QTemporaryDir runtime;
        const QByteArray path = QFile::encodeName(runtime.path());
        ASSERT_EQ(::chmod(path.constData(), mode), 0);
        ASSERT_EQ(::chown(path.constData(), owner, static_cast<gid_t>(-1)), 0);
        SingleInstance copy(runtime.path(), false);
        EXPECT_EQ(copy.claim(TakesOver), Outcome::Unguarded) << mode << " " << owner;
        EXPECT_TRUE(QDir(runtime.path()).isEmpty()) << mode << " " << owner;
    }
}

struct HandOverCase {
    const char* name;
    bool runningCanWrite;
    bool newCanWrite;
    Outcome outcome;
};

void PrintTo(const HandOverCase& c, std::ostream* os) {
    *os << c.name;
}

class HandOver : public ::testing::TestWithParam<HandOverCase> {};

TEST_P(HandOver, TheCopyThatCanWriteTheHostsFileCarriesOn) {
    const auto& c = GetParam();
    QTemporaryDir runtime;
    auto running = std::make_unique<SingleInstance>(runtime.path(), c.runningCanWrite);
    ASSERT_EQ(running->claim(TakesOver), Outcome::First);
    std::vector<bool> told;
    running->onSecondStart([&](bool other) {
        told.push_back(other);
        // Stepping aside ends the program, which closes the connection.
        if (!TakesOver(other, c.runningCanWrite))
            return false;
        running.reset();
        return true;
    });

    EXPECT_EQ(SecondStart(runtime.path(), c.newCanWrite), c.outcome);
    ASSERT_EQ(told.size(), 1u);
    EXPECT_EQ(told.front(), c.newCanWrite);
    EXPECT_EQ(running == nullptr, c.outcome == Outcome::TookOver);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HandOver,
    ::testing::Values(HandOverCase{"NeitherCanWrite", false, false, Outcome::HandedOver},
                      HandOverCase{"BothCanWrite", true, true, Outcome::HandedOver},
                      HandOverCase{"OnlyTheRunningCanWrite", true, false, Outcome::HandedOver},
                      HandOverCase{"OnlyTheNewCanWrite", false, true, Outcome::TookOver}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SingleInstance, APeerThatNeverEndsItsLineIsCutOff) {
    QTemporaryDir runtime;
    SingleInstance running(runtime.path(), false);
    ASSERT_EQ(running.claim(TakesOver), Outcome::First);
    bool told = false;
    running.onSecondStart([&](bool) { return told = true, false; });
    QLocalSocket peer;
    peer.connectToServer(running.socketPath());
    ASSERT_TRUE(peer.waitForConnected(2000));
    const QByteArray chunk(64 * 1024, 'x');
    QElapsedTimer wall;
    wall.start();
    while (peer.state() == QLocalSocket::ConnectedState && wall.elapsed() < 5000) {
        peer.write(chunk);
        peer.flush();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    EXPECT_NE(peer.state(), QLocalSocket::ConnectedState);
    EXPECT_FALSE(told);
}

// Neither a copy that does not answer, nor a listener of another program's (planted by the user's
// own programs, answering as a copy would), nor a copy with no room for one more caller can make
// a start end: the new copy listens in its place.
TEST(SingleInstance, ANewCopyGivesWayOnlyToACopyThatAnswers) {
    QTemporaryDir runtime;
    SingleInstance running(runtime.path(), false);
    ASSERT_EQ(running.claim(TakesOver), Outcome::First);
    // The running copy's event loop never runs while the second one waits.
    SingleInstance second(runtime.path(), true, {}, {std::chrono::milliseconds(200), {}});
    EXPECT_EQ(second.claim(TakesOver), Outcome::First);
    EXPECT_FALSE(second.problem().isEmpty());

    QTemporaryDir other;
    SingleInstance planted(other.path(), true);
    ASSERT_EQ(planted.claim(TakesOver), Outcome::First);
    planted.onSecondStart([](bool) { return false; });
    EXPECT_EQ(SecondStart(other.path(), false, {}, [](int) { return false; }), Outcome::First);
    QLocalSocket third; // the listener that was there is no longer reached
    third.connectToServer(planted.socketPath());
    EXPECT_FALSE(third.waitForConnected(1000));
}

// Callers that never said who they were stayed connected for good: a thousand of them used up
// the program's descriptors, and starting to block then failed.
TEST(SingleInstance, SilentCallersAreHungUpOnAndOnlyAFewAreHeldAtOnce) {
    QTemporaryDir runtime;
    SingleInstance running(runtime.path(), false, {}, {{}, {}, std::chrono::milliseconds(500)});
    ASSERT_EQ(running.claim(TakesOver), Outcome::First);
    std::vector<std::unique_ptr<QLocalSocket>> callers(4 * MaxCallers);
    for (auto& caller : callers) {
        caller = std::make_unique<QLocalSocket>();
        caller->connectToServer(running.socketPath());
        ASSERT_TRUE(caller->waitForConnected(2000));
    }
    std::vector<long> held;
    QElapsedTimer wall;
    wall.start();
    for (long connected = -1; connected != 0 && wall.elapsed() < 10000;) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        connected = std::count_if(callers.begin(), callers.end(), [](const auto& caller) {
            return caller->state() == QLocalSocket::ConnectedState;
        });
        if (held.empty() || held.back() != connected)
            held.push_back(connected);
    }
    // The system takes them all; the running copy holds the few, then none.
    const auto few = std::find(held.begin(), held.end(), long{MaxCallers});
    ASSERT_NE(few, held.end());
    EXPECT_TRUE(std::is_sorted(few, held.end(), std::greater<>()));
    EXPECT_EQ(held.back(), 0);
}

} // namespace
} // namespace palisade::qt
