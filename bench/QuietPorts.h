#pragma once

// The ports that the hosts-file benchmarks do not reach, doing nothing.
#include "platform/Ports.h"

#include <chrono>
#include <functional>
#include <string>
#include <thread>

namespace palisade::bench {

struct QuietDialogs : Dialogs {
    int shown = 0;
    void messageBox(const std::string&, const std::string&, MessageIcon) override { ++shown; }
    std::string inputBox(const std::string&, const std::string&, const std::string&) override {
        return {};
    }
    std::string openFile(const OpenFileRequest&) override { return {}; }
    void cancelAll() override {}
};
struct NoSettings : SettingsStore {
    std::string read(const std::string&, const std::string&, const std::string&,
                     const std::string& defaultValue) override {
        return defaultValue;
    }
    void write(const std::string&, const std::string&, const std::string&,
               const std::string&) override {}
};
struct NoEvents : EventPump {
    void doEvents() override {}
    void waitEvents(std::chrono::milliseconds timeout) override {
        std::this_thread::sleep_for(timeout);
    }
};
struct Administrator : AdminTest {
    std::int32_t IsAdministrator() override { return -1; }
};
struct NoAutostart : Autostart {
    bool EnableWindowsStartup() override { return true; }
    bool DisableWindowsStartup() override { return true; }
};
struct NoShell : NotificationShell {
    void notify(std::uint32_t, const NotifyIconData&) override {}
    void installHook(Callback) override {}
    void removeHook() override {}
    bool available() override { return false; }
    IconHandle programIcon() override { return 0; }
};
struct NoTimer : Timer {
    void singleShot(std::chrono::milliseconds, std::function<void()>) override {}
};

// The ports a hosts-file benchmark reaches: the platform's own file system, system facts and hosts
// lock, and the quiet rest.
template <class FileSystemType, class SystemInfoType, class HostsLockType> struct HostsBenchPorts {
    FileSystemType fs;
    NoSettings settings;
    QuietDialogs dialogs;
    NoEvents pump;
    Administrator admin;
    NoAutostart autostart;
    SystemInfoType system;
    NoShell shell;
    SteadyClock clock;
    HostsLockType lock;
    NoTimer timer;
    Ports ports{fs, settings, dialogs, pump, admin, autostart, system, shell, clock, lock, timer};
};

} // namespace palisade::bench
