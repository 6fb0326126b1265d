#include "platform/posix/PeerProgram.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

namespace palisade {
namespace {

TEST(PeerProgram, OnlyAProcessRunningThisExecutableIsACopy) {
    int pair[2];
    ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM, 0, pair), 0);
    EXPECT_TRUE(PeerRunsThisProgram(pair[0]));
    ::close(pair[0]);
    EXPECT_FALSE(PeerRunsThisProgram(pair[0]));
    const pid_t other = ::fork();
    if (other == 0)
        ::_exit(::execl("/bin/sleep", "sleep", "60", static_cast<char*>(nullptr)));
    for (int i = 0; i < 100 && RunsThisProgram(other); ++i) // this program until the exec
        ::usleep(20000);
    EXPECT_FALSE(RunsThisProgram(other));
    ::kill(other, SIGKILL);
    ::waitpid(other, nullptr, 0);
    ::close(pair[1]);
}

} // namespace
} // namespace palisade
