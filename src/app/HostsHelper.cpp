#include "app/HostsHelper.h"

#include "app/Form1.h"
#include "blocking/HostsBlocker.h"
#include "platform/FileHelpers.h"
#include "platform/StartupRegistration.h"

#include <map>
#include <optional>

namespace palisade {

namespace {

// Notes the first failure of a write, the cause the answer names; passes everything on.
class FaultNotingFileSystem : public FileSystem {
public:
    explicit FaultNotingFileSystem(FileSystem& inner) : inner_(inner) {}
    std::optional<std::string> fault;

    bool find(const std::string& path, EntryFilter filter) override {
        return inner_.find(path, filter);
    }
    bool canOpenExisting(const std::string& path) override { return inner_.canOpenExisting(path); }
    void createFolder(const std::string& path) override { inner_.createFolder(path); }
    std::string readFile(const std::string& path) override { return inner_.readFile(path); }
    std::string readFileUpTo(const std::string& path, std::size_t limit) override {
        return inner_.readFileUpTo(path, limit);
    }
    void writeFile(const std::string& path, const std::string& bytes) override {
        Noted([&] { inner_.writeFile(path, bytes); });
    }
    void appendFile(const std::string& path, const std::string& bytes) override {
        Noted([&] { inner_.appendFile(path, bytes); });
    }
    void appendLines(const std::string& path, LineSource& lines,
                     const std::string& journal) override {
        Noted([&] { inner_.appendLines(path, lines, journal); });
    }
    void syncFile(const std::string& path) override { inner_.syncFile(path); }
    void replaceFile(const std::string& path, const std::string& bytes) override {
        Noted([&] { inner_.replaceFile(path, bytes); });
    }
    void replaceFileJournaled(const std::string& path, const std::string& bytes,
                              const std::string& journal) override {
        Noted([&] { inner_.replaceFileJournaled(path, bytes, journal); });
    }
    void finishJournal(const std::string& journal) override {
        Noted([&] { inner_.finishJournal(journal); });
    }
    void copyFile(const std::string& source, const std::string& destination) override {
        Noted([&] { inner_.copyFile(source, destination); });
    }
    void removeFile(const std::string& path) override { inner_.removeFile(path); }
    void forceRemoveFile(const std::string& path) override { inner_.forceRemoveFile(path); }

private:
    template <typename Write> void Noted(Write write) {
        try {
            write();
        } catch (const std::exception& e) {
            if (!fault)
                fault = e.what();
            throw;
        }
    }

    FileSystem& inner_;
};

// Notes a lock that could not be had.
class AttemptNotingLock : public HostsLock {
public:
    explicit AttemptNotingLock(HostsLock& inner) : inner_(inner) {}
    std::optional<LockAttempt> refused;

    LockAttempt tryLock(const std::string& dataFolder) override {
        const LockAttempt attempt = inner_.tryLock(dataFolder);
        if (attempt != LockAttempt::Taken)
            refused = attempt;
        else
            refused.reset();
        return attempt;
    }
    void unlock() override { inner_.unlock(); }

private:
    HostsLock& inner_;
};

// Keeps what the blocker would tell its user, for the answer's line.
class NotingDialogs : public Dialogs {
public:
    std::vector<std::string> texts;
    void messageBox(const std::string& text, const std::string&, MessageIcon) override {
        texts.push_back(text);
    }
    std::string inputBox(const std::string&, const std::string&, const std::string&) override {
        return {};
    }
    std::string openFile(const OpenFileRequest&) override { return {}; }
    void cancelAll() override {}
};

// The blocker's record of the user's intent belongs to the window's user; here it goes nowhere.
class ForgettingSettings : public SettingsStore {
public:
    std::string read(const std::string&, const std::string&, const std::string&,
                     const std::string& defaultValue) override {
        return defaultValue;
    }
    void write(const std::string&, const std::string&, const std::string&,
               const std::string&) override {}
};

// The helper runs as root: an administrator.
class RootAdminTest : public AdminTest {
public:
    std::int32_t IsAdministrator() override { return -1; }
};

class NoShell : public NotificationShell {
public:
    void notify(std::uint32_t, const NotifyIconData&) override {}
    void installHook(Callback) override {}
    void removeHook() override {}
    bool available() override { return false; }
    IconHandle programIcon() override { return 0; }
};

class NoTimer : public Timer {
public:
    void singleShot(std::chrono::milliseconds, std::function<void()>) override {}
};

std::string OneLine(std::string text) {
    for (char& c : text)
        if (c == '\r' || c == '\n')
            c = ' ';
    return text;
}

} // namespace

HelperAnswer RunHelperRequest(const HelperPorts& ports, const HelperPlaces& places,
                              const HelperRequest& request,
                              const std::vector<std::string>& entries) {
    FaultNotingFileSystem fs(ports.fs);
    AttemptNotingLock lock(ports.hostsLock);
    NotingDialogs dialogs;
    ForgettingSettings settings;
    RootAdminTest admin;
    NoShell shell;
    NoTimer timer;
    Ports own{fs,           settings, dialogs,     ports.pump, admin, ports.autostart,
              ports.system, shell,    ports.clock, lock,       timer};

    std::string_view failedText;
    bool done = true;
    if (request.operation == HelperRequest::Autostart) {
        failedText = StartupNotChangedText;
        const std::string marker =
            JoinPath(ports.system, places.dataFolder, std::string(StartupMarkerName));
        done = ChangeStartup(ports.autostart, fs, ports.system, ports.pump, marker, request.on);
    } else {
        AppState state(Platform::Linux);
        state.UserIsAdmin = true;
        state.DataFolder = places.dataFolder;
        state.SavedBlockCaption = std::string(StartBlockingCaption);
        Form1Controls controls;
        for (const auto& entry : entries)
            controls.ListView1.add(entry);
        controls.PushButton2.setCaption(std::string(StopBlockingCaption));
        HostsBlocker blocker(own, controls, state, FixedHostsPaths(places.hostsFile));
        if (request.operation == HelperRequest::Start) {
            failedText = StartFailedText;
            blocker.StartBlocking(request.reapply);
        } else {
            failedText = RestoreFailedText;
            blocker.StopBlocking(false,
                                 request.atClose ? StopRequest::Close : StopRequest::BlockButton);
        }
        // The window names the skipped entries itself; every other message is a failure.
        for (const auto& text : dialogs.texts)
            if (!text.starts_with(SkippedEntriesText))
                done = false;
    }
    if (done && !fs.fault && !lock.refused)
        return {helper_status::Done, {}};

    std::string line(failedText);
    if (lock.refused == LockAttempt::Busy)
        line += " The hosts file is busy: another program is changing it. Try again in a moment.";
    else if (lock.refused)
        line += " The lock that guards the hosts file cannot be taken.";
    else if (fs.fault)
        line += " " + *fs.fault + ".";
    else if (!dialogs.texts.empty() && !dialogs.texts.front().starts_with(failedText))
        line += " " + dialogs.texts.front(); // an error report: its description comes first
    return {helper_status::Failed, OneLine(line)};
}

} // namespace palisade
