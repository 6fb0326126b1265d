#include "support/Fakes.h"

#include "settings/SettingsKeys.h"

namespace palisade::test {

namespace {
std::tuple<std::string, std::string, std::string> Own(const std::string& key) {
    return {std::string(SettingsApplication), std::string(SettingsSection), key};
}
} // namespace

std::string MemorySettingsStore::read(const std::string& application, const std::string& section,
                                      const std::string& key, const std::string& defaultValue) {
    if (log && logReads)
        log->add("read " + key);
    auto it = values.find({application, section, key});
    return it == values.end() ? defaultValue : it->second;
}

void MemorySettingsStore::write(const std::string& application, const std::string& section,
                                const std::string& key, const std::string& value) {
    if (log)
        log->add("write " + key + "=" + value);
    if (failingKeys.count(key))
        throw RuntimeError("Permission denied");
    values[{application, section, key}] = value;
    writes.emplace_back(key, value);
}

void MemorySettingsStore::set(const std::string& key, const std::string& value) {
    values[Own(key)] = value;
}

bool MemorySettingsStore::has(const std::string& key) const {
    return values.count(Own(key)) != 0;
}

std::string MemorySettingsStore::get(const std::string& key) const {
    auto it = values.find(Own(key));
    return it == values.end() ? std::string() : it->second;
}

int MemorySettingsStore::writeCount(const std::string& key) const {
    int n = 0;
    for (const auto& w : writes)
        n += w.first == key;
    return n;
}

void RecordingDialogs::messageBox(const std::string& text, const std::string& title,
                                  MessageIcon icon) {
    if (log)
        log->add("message " + text);
    messages.push_back({text, title, icon});
}

std::string RecordingDialogs::inputBox(const std::string& prompt, const std::string&,
                                       const std::string&) {
    prompts.push_back(prompt);
    if (inputAnswers.empty())
        return {};
    auto answer = inputAnswers.front();
    inputAnswers.pop_front();
    return answer;
}

std::string RecordingDialogs::openFile(const OpenFileRequest& request) {
    openFileRequests.push_back(request);
    if (openFileAnswers.empty())
        return {};
    auto answer = openFileAnswers.front();
    openFileAnswers.pop_front();
    return answer;
}

void RecordingDialogs::cancelAll() {
    ++cancelled;
    if (log)
        log->add("dialogs.cancelAll");
}

std::vector<std::string> RecordingDialogs::texts() const {
    std::vector<std::string> result;
    for (const auto& m : messages)
        result.push_back(m.text);
    return result;
}

void CountingEventPump::doEvents() {
    ++count;
    if (log)
        log->add("doEvents");
    while (!pending.empty()) {
        auto event = std::move(pending.front());
        pending.pop_front();
        event();
    }
}

void CountingEventPump::waitEvents(std::chrono::milliseconds timeout) {
    ++waits;
    if (log)
        log->add("waitEvents");
    if (pending.empty()) {
        if (clock)
            clock->advance(timeout);
        return;
    }
    auto event = std::move(pending.front());
    pending.pop_front();
    event();
}

void RecordingShell::notify(std::uint32_t message, const NotifyIconData& data) {
    records.push_back({message, data});
    if (log)
        log->add(message == tray::NimAdd      ? "shell.add"
                 : message == tray::NimDelete ? "shell.delete"
                                              : "shell.modify");
}

void RecordingShell::installHook(Callback callback) {
    hook = std::move(callback);
    if (log)
        log->add("shell.hook");
}

void RecordingShell::removeHook() {
    hook = nullptr;
    if (log)
        log->add("shell.unhook");
}

void RecordingShell::deliver(std::uint32_t code, std::uint32_t id) {
    if (hook) {
        auto callback = hook; // the handler may remove the hook while it runs
        callback(code, id);
    }
}

bool RecordingAutostart::EnableWindowsStartup() {
    ++enabled;
    if (log)
        log->add("EnableWindowsStartup");
    return works;
}

bool RecordingAutostart::DisableWindowsStartup() {
    ++disabled;
    if (log)
        log->add("DisableWindowsStartup");
    return works;
}

std::optional<std::string> FakeSystemInfo::specialFolder(int id) {
    if (id == 35)
        return commonAppData;
    return std::nullopt;
}

std::string FakeSystemInfo::environmentVariable(const std::string& name) {
    auto it = environment.find(name);
    return it == environment.end() ? std::string() : it->second;
}

void RecordingBlocking::StartBlocking(bool reapply) {
    starts.push_back(reapply);
    if (log)
        log->add(reapply ? "StartBlocking(reapply)" : "StartBlocking");
}

void RecordingBlocking::StopBlocking(bool quiet, StopRequest request) {
    stops.push_back(quiet);
    stopRequests.push_back(request);
    if (log)
        log->add(quiet                           ? "StopBlocking(quiet)"
                 : request == StopRequest::Close ? "StopBlocking(at close)"
                                                 : "StopBlocking");
}

void FakeTray::setTrayTip(const std::string& newTip) {
    tip = newTip;
    if (log)
        log->add("TrayTip " + newTip);
}

void FakeTray::setInTray(bool inTray) {
    added = inTray;
    if (log)
        log->add(inTray ? "InTray true" : "InTray false");
}

void FakeTray::ShowBalloon(const std::string& text, const std::string& title, std::int32_t seconds,
                           std::int16_t showOnce) {
    balloons.push_back({text, title, seconds, showOnce});
    if (log)
        log->add("ShowBalloon");
}

void RecordingSkin::ApplySkin() {
    ++applied;
    if (log)
        log->add("ApplySkin");
}

} // namespace palisade::test
