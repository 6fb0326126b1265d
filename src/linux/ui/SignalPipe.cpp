#include "linux/ui/SignalPipe.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace palisade::qt {

namespace {

int pipeEnds[2] = {-1, -1};

extern "C" void Forward(int signal) {
    const int saved = errno;
    const unsigned char number = static_cast<unsigned char>(signal);
    [[maybe_unused]] const auto written = ::write(pipeEnds[0], &number, 1);
    errno = saved;
}

} // namespace

SignalPipe::SignalPipe(std::vector<int> caught, std::function<void(int)> handler)
    : handler_(std::move(handler)), caught_(std::move(caught)) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, pipeEnds) != 0)
        return;
    notifier_ = std::make_unique<QSocketNotifier>(pipeEnds[1], QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, [this] { drain(); });
    struct sigaction action {};
    action.sa_handler = Forward;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : caught_)
        ::sigaction(signal, &action, nullptr);
}

SignalPipe::~SignalPipe() {
    for (int signal : caught_)
        ::signal(signal, SIG_DFL);
    notifier_.reset();
    for (int& end : pipeEnds) {
        if (end >= 0)
            ::close(end);
        end = -1;
    }
}

void SignalPipe::drain() {
    unsigned char number = 0;
    while (::read(pipeEnds[1], &number, 1) == 1)
        if (handler_)
            handler_(number);
}

} // namespace palisade::qt
