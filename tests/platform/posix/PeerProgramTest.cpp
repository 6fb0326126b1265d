#include "platform/posix/PeerProgram.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

namespace palisade {
namespace {

// A child that sleeps until it is killed, having run exec or not.
pid_t Child(bool exec) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (exec)
            ::execl("/bin/sleep", "sleep", "60", static_cast<char*>(nullptr));
        ::pause();
        ::_exit(0);
    }
    return pid;
}

TEST(PeerProgram, OnlyAProcessRunningThisExecutableIsACopy) {
    EXPECT_TRUE(RunsThisProgram(::getpid()));
    int pair[2];
    ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM, 0, pair), 0);
    EXPECT_TRUE(PeerRunsThisProgram(pair[0]));
    ::close(pair[0]);
    ::close(pair[1]);
    EXPECT_FALSE(PeerRunsThisProgram(-1));
    for (const bool exec : {false, true}) {
        const pid_t child = Child(exec);
        ASSERT_GT(child, 0);
        // Until the exec has happened the child still runs this program.
        for (int i = 0; exec && i < 100 && RunsThisProgram(child); ++i)
            ::usleep(20000);
        EXPECT_EQ(RunsThisProgram(child), !exec);
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
    }
    EXPECT_FALSE(RunsThisProgram(0));
}

} // namespace
} // namespace palisade
