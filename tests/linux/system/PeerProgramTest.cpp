#include "linux/system/PeerProgram.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace palisade {
namespace {

TEST(PeerProgram, OnlyAProcessRunningThisExecutableIsACopy) {
    EXPECT_TRUE(RunsThisProgram(::getpid()));
    const pid_t other = ::fork();
    if (other == 0)
        ::_exit(::execl("/bin/sleep", "sleep", "60", static_cast<char*>(nullptr)));
    for (int i = 0; i < 100 && RunsThisProgram(other); ++i) // this program until the exec
        ::usleep(20000);
    EXPECT_FALSE(RunsThisProgram(other));
    ::kill(other, SIGKILL);
    ::waitpid(other, nullptr, 0);
}

} // namespace
} // namespace palisade
