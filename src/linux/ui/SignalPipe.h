#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <functional>
#include <memory>
#include <vector>

namespace palisade::qt {

// Turns termination signals into a call on the event loop. The signal handler only writes the
// signal's number into a socket pair; the rest happens in the loop, where the program may run
// its close handling. One per process.
class SignalPipe : public QObject {
public:
    SignalPipe(std::vector<int> caught, std::function<void(int)> handler);
    ~SignalPipe() override;
    SignalPipe(const SignalPipe&) = delete;
    SignalPipe& operator=(const SignalPipe&) = delete;

private:
    void drain();

    std::function<void(int)> handler_;
    std::unique_ptr<QSocketNotifier> notifier_;
    std::vector<int> caught_;
};

} // namespace palisade::qt
