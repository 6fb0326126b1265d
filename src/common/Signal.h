#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace palisade {

// A handle on one slot of a Signal. Dropping it leaves the slot connected; disconnect() takes the
// slot out, and is harmless once the signal has gone.
class Connection {
public:
    Connection() = default;
    explicit Connection(std::weak_ptr<bool> connected) : connected_(std::move(connected)) {}

    void disconnect() {
        if (auto connected = connected_.lock())
            *connected = false;
        connected_.reset();
    }

private:
    std::weak_ptr<bool> connected_;
};

// Keeps a slot connected for as long as it lives: a subscriber that may go before the signal
// holds one per slot, so that nothing raised after it has gone reaches it.
class ScopedConnection {
public:
    ScopedConnection() = default;
    ScopedConnection(Connection connection) : connection_(std::move(connection)) {}
    ScopedConnection(ScopedConnection&& other) noexcept
        : connection_(std::exchange(other.connection_, Connection())) {}
    ScopedConnection& operator=(ScopedConnection&& other) noexcept {
        if (this != &other) {
            connection_.disconnect();
            connection_ = std::exchange(other.connection_, Connection());
        }
        return *this;
    }
    ScopedConnection(const ScopedConnection&) = delete;
    ScopedConnection& operator=(const ScopedConnection&) = delete;
    ~ScopedConnection() { connection_.disconnect(); }

private:
    Connection connection_;
};

// A list of callbacks. Controllers connect event handlers, front ends connect view updates.
template <typename... Args> class Signal {
public:
    using Slot = std::function<void(Args...)>;

    Connection connect(Slot slot) {
        // Slots taken out are dropped here rather than while the signal may be running them.
        std::erase_if(slots_, [](const Entry& entry) { return !*entry.connected; });
        auto connected = std::make_shared<bool>(true);
        slots_.push_back(Entry{std::make_shared<Slot>(std::move(slot)), connected});
        return Connection(connected);
    }

    void operator()(Args... args) const {
        // A slot may connect further slots while running; iterate over a copy. One taken out by
        // an earlier slot of the same call is not run.
        auto slots = slots_;
        for (const auto& entry : slots)
            if (*entry.connected)
                (*entry.slot)(args...);
    }

private:
    struct Entry {
        std::shared_ptr<Slot> slot;
        std::shared_ptr<bool> connected;
    };
    std::vector<Entry> slots_;
};

} // namespace palisade
