#pragma once

#include "blocking/Blocking.h"
#include "platform/Ports.h"
#include "platform/TrayControl.h"
#include "support/CallLog.h"
#include "ui/Skin.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace palisade::test {

// The settings store as an in-memory table; writes to the keys in failingKeys throw.
class MemorySettingsStore : public SettingsStore {
public:
    std::map<std::tuple<std::string, std::string, std::string>, std::string> values;
    std::set<std::string> failingKeys;
    std::vector<std::pair<std::string, std::string>> writes; // key, value, in order
    CallLog* log = nullptr;
    bool logReads = false; // reads go into the log too, for tests of a whole sequence

    std::string read(const std::string& application, const std::string& section,
                     const std::string& key, const std::string& defaultValue) override;
    void write(const std::string& application, const std::string& section, const std::string& key,
               const std::string& value) override;

    // The program's own section.
    void set(const std::string& key, const std::string& value);
    bool has(const std::string& key) const;
    std::string get(const std::string& key) const;
    int writeCount(const std::string& key) const;
};

struct ShownMessage {
    std::string text;
    std::string title;
    MessageIcon icon;
};

// Records what was shown; answers input boxes and open-file dialogs from queues.
class RecordingDialogs : public Dialogs {
public:
    std::vector<ShownMessage> messages;
    std::deque<std::string> inputAnswers;
    std::deque<std::string> openFileAnswers;
    std::vector<std::string> prompts;
    std::vector<OpenFileRequest> openFileRequests;
    CallLog* log = nullptr;

    void messageBox(const std::string& text, const std::string& title, MessageIcon icon) override;
    std::string inputBox(const std::string& prompt, const std::string& title,
                         const std::string& defaultText) override;
    std::string openFile(const OpenFileRequest& request) override;
    int cancelled = 0;
    void cancelAll() override;

    std::vector<std::string> texts() const;
};

// A clock that moves only when told to.
class FakeClock : public Clock {
public:
    TimePoint time{};
    TimePoint now() override { return time; }
    void advance(std::chrono::milliseconds by) { time += by; }
};

// Keeps the work it is given until the test lets the time pass.
class FakeTimer : public Timer {
public:
    struct Waiting {
        std::chrono::milliseconds delay;
        std::function<void()> work;
    };
    std::vector<Waiting> waiting;

    void singleShot(std::chrono::milliseconds delay, std::function<void()> work) override {
        waiting.push_back({delay, std::move(work)});
    }
    // Runs the work waiting now, in order; work it asks for waits for the next call.
    void fire() {
        auto due = std::move(waiting);
        waiting.clear();
        for (auto& w : due)
            w.work();
    }
};

// Counts the yields. Events a test queues in `pending` run at the next yield, in order; a wait
// with nothing pending lets the whole timeout pass on the clock it is given.
class CountingEventPump : public EventPump {
public:
    int count = 0;
    int waits = 0;
    CallLog* log = nullptr;
    FakeClock* clock = nullptr;
    std::deque<std::function<void()>> pending;

    void doEvents() override;
    void waitEvents(std::chrono::milliseconds timeout) override;
};

// Records every call to the notification area; `deliver` plays the shell's callback.
class RecordingShell : public NotificationShell {
public:
    struct Record {
        std::uint32_t message;
        NotifyIconData data;
    };
    std::vector<Record> records;
    CallLog* log = nullptr;
    Callback hook;
    bool isAvailable = true;
    IconHandle icon = 0x51;

    void notify(std::uint32_t message, const NotifyIconData& data) override;
    void installHook(Callback callback) override;
    void removeHook() override;
    bool available() override { return isAvailable; }
    IconHandle programIcon() override { return icon; }

    // The shell's callback message with a code, as a click or a balloon event sends it.
    void deliver(std::uint32_t code, std::uint32_t id = 0);
};

// The machine-wide hosts lock, re-entrant as the real ones are. Another program holds it for the
// first `busyAttempts` tries (every try when negative); `unavailable` fails every try for good.
class FakeHostsLock : public HostsLock {
public:
    int busyAttempts = 0;
    bool unavailable = false;
    int depth = 0, attempts = 0;
    std::vector<std::string> folders;
    CallLog* log = nullptr;

    LockAttempt tryLock(const std::string& dataFolder) override {
        ++attempts;
        folders.push_back(dataFolder);
        if (unavailable)
            return LockAttempt::Unavailable;
        if (depth == 0 && busyAttempts != 0 && busyAttempts--)
            return LockAttempt::Busy;
        if (depth++ == 0 && log)
            log->add("hostsLock.lock");
        return LockAttempt::Taken;
    }
    void unlock() override {
        if (--depth == 0 && log)
            log->add("hostsLock.unlock");
    }
};

class FakeAdminTest : public AdminTest {
public:
    std::int32_t result = 0;
    int calls = 0;
    CallLog* log = nullptr;
    std::int32_t IsAdministrator() override {
        ++calls;
        if (log)
            log->add("IsAdministrator");
        return result;
    }
};

class RecordingAutostart : public Autostart {
public:
    CallLog* log = nullptr;
    int enabled = 0;
    int disabled = 0;
    bool works = true; // false: every call fails, as for a user without the rights
    bool EnableWindowsStartup() override;
    bool DisableWindowsStartup() override;
};

// A Windows-like system: backslashes and CRLF.
class FakeSystemInfo : public SystemInfo {
public:
    std::string sep = "\\";
    std::string eol = "\r\n";
    std::string program = "C:\\Program Files\\Palisade";
    std::string exe = "C:\\Program Files\\Palisade\\Palisade.exe";
    std::optional<std::string> commonAppData = std::string("C:\\ProgramData");
    std::string systemDir = "C:\\WINDOWS\\system32";
    std::map<std::string, std::string> environment{{"WINDIR", "C:\\WINDOWS"}};

    std::string separator() override { return sep; }
    std::string lineEnd() override { return eol; }
    std::string programFolder() override { return program; }
    std::string executablePath() override { return exe; }
    std::optional<std::string> specialFolder(int id) override;
    std::string systemDirectory() override { return systemDir; }
    std::string environmentVariable(const std::string& name) override;
};

class RecordingBlocking : public Blocking {
public:
    CallLog* log = nullptr;
    std::vector<bool> starts; // reapply flags
    std::vector<bool> stops;  // quiet flags
    std::vector<StopRequest> stopRequests;
    int settled = 0;
    void StartBlocking(bool reapply) override;
    void StopBlocking(bool quiet, StopRequest request) override;
    void SettleInterruptedChange() override { ++settled; }
};

class FakeTray : public TrayControl {
public:
    CallLog* log = nullptr;
    std::string tip;
    bool added = false;
    struct Balloon {
        std::string text, title;
        std::int32_t seconds;
        std::int16_t showOnce;
    };
    std::vector<Balloon> balloons;

    void setTrayTip(const std::string& tip) override;
    bool inTray() const override { return added; }
    bool trayAvailable = true;
    bool available() override { return trayAvailable; }
    void setInTray(bool inTray) override;
    void ShowBalloon(const std::string& text, const std::string& title, std::int32_t seconds,
                     std::int16_t showOnce) override;
};

class RecordingSkin : public Skin {
public:
    CallLog* log = nullptr;
    int applied = 0;
    void ApplySkin() override;
};

} // namespace palisade::test
