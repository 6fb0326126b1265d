// One program per user session: a second copy settles with the running one over a socket in
// the user's runtime folder.
#include "ui/qt/SingleInstance.h"

#include "app/Program.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalSocket>
#include <QTemporaryDir>
#include <QThread>
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

// Neither a copy that does not answer nor a listener that is no copy (one planted by another
// program of the user's, silent or answering as a copy would) can make a start end: the new copy
// listens in its place.
TEST(SingleInstance, ANewCopyGivesWayOnlyToACopyThatAnswers) {
    {
        QTemporaryDir runtime;
        SingleInstance running(runtime.path(), false);
        ASSERT_EQ(running.claim(TakesOver), Outcome::First);
        // The running copy's event loop never runs while the second one waits.
        SingleInstance second(runtime.path(), true, {}, {std::chrono::milliseconds(200), {}});
        EXPECT_EQ(second.claim(TakesOver), Outcome::First);
        EXPECT_FALSE(second.problem().isEmpty());
    }
    for (const bool answers : {true, false}) {
        QTemporaryDir runtime;
        SingleInstance planted(runtime.path(), true); // answers "PALISADE 1" when it answers
        ASSERT_EQ(planted.claim(TakesOver), Outcome::First);
        planted.onSecondStart([](bool) { return false; });
        const auto notACopy = [](int) { return false; };
        const HandOverTiming timing{
            answers ? std::chrono::milliseconds(5000) : std::chrono::milliseconds(200), {}};
        EXPECT_EQ(answers ? SecondStart(runtime.path(), false, timing, notACopy)
                          : [&] {
                                SingleInstance second(runtime.path(), false, {}, timing, notACopy);
                                return second.claim(TakesOver);
                            }(),
                  Outcome::First)
            << answers;
        // The listener that was there is no longer reached.
        QLocalSocket third;
        third.connectToServer(planted.socketPath());
        EXPECT_FALSE(third.waitForConnected(1000)) << answers;
    }
}

// Callers that never say who they are used to stay connected for good: a thousand of them used
// up the program's descriptors, and starting to block then failed.
TEST(SingleInstance, SilentCallersAreHungUpOnAndOnlyAFewAreHeldAtOnce) {
    QTemporaryDir runtime;
    SingleInstance running(runtime.path(), false, {}, {{}, {}, std::chrono::milliseconds(60000)});
    ASSERT_EQ(running.claim(TakesOver), Outcome::First);
    running.onSecondStart([](bool) { return false; });
    std::vector<std::unique_ptr<QLocalSocket>> callers;
    for (int i = 0; i < 4 * MaxCallers; ++i) {
        callers.push_back(std::make_unique<QLocalSocket>());
        callers.back()->connectToServer(running.socketPath());
        ASSERT_TRUE(callers.back()->waitForConnected(2000));
    }
    const auto connected = [&] {
        return std::count_if(callers.begin(), callers.end(), [](const auto& socket) {
            return socket->state() == QLocalSocket::ConnectedState;
        });
    };
    QElapsedTimer wall;
    wall.start();
    while (connected() > MaxCallers && wall.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_EQ(connected(), MaxCallers);
    // With every place taken, a new copy still starts rather than ending unseen.
    EXPECT_EQ(SecondStart(runtime.path(), false), Outcome::First);

    QTemporaryDir other;
    SingleInstance brief(other.path(), false, {}, {{}, {}, std::chrono::milliseconds(100)});
    ASSERT_EQ(brief.claim(TakesOver), Outcome::First);
    QLocalSocket silent;
    silent.connectToServer(brief.socketPath());
    ASSERT_TRUE(silent.waitForConnected(2000));
    wall.restart();
    while (silent.state() == QLocalSocket::ConnectedState && wall.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_NE(silent.state(), QLocalSocket::ConnectedState);
}

} // namespace
} // namespace palisade::qt
