#include "linux/system/PkexecHelper.h"

#include "linux/system/UniqueFd.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace palisade {

namespace {

// The most of the helper's answer that is kept: one line.
constexpr std::size_t AnswerLimit = 4096;
// How long a look at the pipes waits before the window's events run again.
constexpr int PollMs = 20;

std::string Input(const std::vector<std::string>& entries) {
    std::size_t size = 0;
    for (const auto& entry : entries)
        size += entry.size() + 1;
    std::string input;
    input.reserve(size);
    for (const auto& entry : entries)
        input.append(entry).push_back('\n');
    return input;
}

} // namespace

PkexecHelper::PkexecHelper(EventPump& pump, std::string helperPath, std::string pkexec)
    : pump_(pump), helperPath_(std::move(helperPath)), pkexec_(std::move(pkexec)) {}

HelperAnswer PkexecHelper::start(const std::vector<std::string>& entries, bool reapply) {
    return Run({"start", reapply ? "reapply" : "button"}, entries);
}

HelperAnswer PkexecHelper::stop(const std::vector<std::string>& entries, bool atClose) {
    return Run({"stop", atClose ? "close" : "button"}, entries);
}

HelperAnswer PkexecHelper::autostart(bool on) {
    return Run({"autostart", on ? "on" : "off"}, {});
}

HelperAnswer PkexecHelper::Run(const std::vector<std::string>& arguments,
                               const std::vector<std::string>& entries) {
    if (::access(helperPath_.c_str(), X_OK) != 0)
        return {helper_status::Missing, helperPath_};
    Syscalls& sys = RealSyscalls();

    // The input goes through a socket: a helper that ends early makes a send fail with EPIPE
    // rather than raise SIGPIPE in the window.
    int inPair[2];
    int outPipe[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, inPair) != 0)
        return {helper_status::NotRun, std::strerror(errno)};
    UniqueFd inOurs(sys, inPair[0]), inTheirs(sys, inPair[1]);
    if (::pipe2(outPipe, O_CLOEXEC) != 0)
        return {helper_status::NotRun, std::strerror(errno)};
    UniqueFd outOurs(sys, outPipe[0]), outTheirs(sys, outPipe[1]);
    ::shutdown(inTheirs.get(), SHUT_WR);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, inTheirs.get(), STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, outTheirs.get(), STDOUT_FILENO);
    std::vector<std::string> words{pkexec_, helperPath_};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    pid_t child = -1;
    const int spawned =
        ::posix_spawn(&child, pkexec_.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return {helper_status::NotRun, pkexec_ + ": " + std::strerror(spawned)};
    inTheirs.close();
    outTheirs.close();
    ::fcntl(inOurs.get(), F_SETFL, O_NONBLOCK);
    ::fcntl(outOurs.get(), F_SETFL, O_NONBLOCK);

    const std::string input = Input(entries);
    std::size_t sent = 0;
    if (input.empty())
        inOurs.close();
    std::string answer;
    int status = 0;
    bool exited = false;
    while (!exited || outOurs.valid()) {
        const bool exitedBefore = exited; // everything it wrote is in the pipe by now
        pollfd fds[2] = {{inOurs.get(), POLLOUT, 0}, {outOurs.get(), POLLIN, 0}};
        ::poll(fds, 2, exited ? 0 : PollMs);
        if (inOurs.valid() && fds[0].revents != 0) {
            const ssize_t n = ::send(inOurs.get(), input.data() + sent, input.size() - sent,
                                     MSG_NOSIGNAL | MSG_DONTWAIT);
            if (n > 0)
                sent += static_cast<std::size_t>(n);
            if ((n < 0 && errno != EAGAIN && errno != EINTR) || sent == input.size())
                inOurs.close(); // the end of the list, or a helper that takes no more
        }
        if (outOurs.valid() && fds[1].revents != 0) {
            char buffer[1024];
            const ssize_t n = ::read(outOurs.get(), buffer, sizeof buffer);
            if (n > 0 && answer.size() < AnswerLimit)
                answer.append(buffer, std::min<std::size_t>(static_cast<std::size_t>(n),
                                                            AnswerLimit - answer.size()));
            if (n == 0 || (n < 0 && errno != EAGAIN && errno != EINTR))
                outOurs.close();
        }
        if (!exited) {
            const pid_t done = ::waitpid(child, &status, WNOHANG);
            exited = done == child || (done < 0 && errno != EINTR);
        }
        // A helper that ended has left its whole answer in the pipe; once that is read, nothing
        // that may have inherited the pipe keeps the window waiting.
        if (exitedBefore && outOurs.valid() && fds[1].revents == 0)
            outOurs.close();
        pump_.doEvents();
    }

    answer = answer.substr(0, answer.find('\n'));
    if (WIFEXITED(status))
        return {WEXITSTATUS(status), answer};
    return {helper_status::NotRun,
            "the helper ended on signal " + std::to_string(WTERMSIG(status))};
}

} // namespace palisade
