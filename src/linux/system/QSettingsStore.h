#pragma once

#include "linux/system/IniText.h"
#include "linux/system/Syscalls.h"
#include "platform/SettingsStore.h"

#include <cstddef>
#include <map>
#include <string>

namespace palisade {

// The site list's key. Its value can run to megabytes, so it is kept in a file of its own and
// writing any other setting does not rewrite it.
inline constexpr const char* SiteListKey = "Blocked Websites";

// The largest files the store reads or writes; whatever is larger stays as it is, unread. A list
// may run to four times the largest list file the program loads, for its stored form adds a
// separator to every entry. Settings are small, but a list an earlier version kept among them
// may not be.
inline constexpr std::size_t StoredListLimit = std::size_t{256} << 20;
inline constexpr std::size_t SettingsFileLimit = std::size_t{64} << 20;

// The settings store as per-user files in <config folder>/<application>/ (normally
// ~/.config/Quillmoor/):
//  - "Palisade Software.ini", an INI file with one group per section, holding every key but one;
//  - "<section>.Blocked Websites", the site list's bytes exactly as written.
// Only these files are read: no organisation-wide or system-wide file stands in for a missing
// key. Both hold texts the user typed (the password in plain text), so they are only ever
// readable by their owner (mode 0600).
//
// Both are read only when they are regular files within their limits (a pipe or a device in
// their place is as good as no stored value) and never replaced unless they were read.
//
// Values round-trip byte for byte: in the INI file valid UTF-8 is kept as text so the file stays
// readable, anything else is stored as a byte array. A line of the INI file that cannot be read
// costs only that line. Needs no Qt application object.
class QSettingsStore : public SettingsStore {
public:
    // The user's own configuration folder ($XDG_CONFIG_HOME, else ~/.config).
    QSettingsStore();
    // A configuration folder of the caller's choosing in place of the user's.
    explicit QSettingsStore(std::string configFolder, Syscalls& sys = RealSyscalls());
    ~QSettingsStore() override;

    std::string read(const std::string& application, const std::string& section,
                     const std::string& key, const std::string& defaultValue) override;
    void write(const std::string& application, const std::string& section, const std::string& key,
               const std::string& value) override;

private:
    std::string iniPath(const std::string& application) const;
    std::string listPath(const std::string& application, const std::string& section) const;
    // Moves site lists an earlier version kept in the settings file to their own files.
    void moveListsOut(IniSections& sections, const std::string& application);
    void writeList(const std::string& application, const std::string& section,
                   const std::string& value);
    void makeFolder(const std::string& application);

    std::string configFolder_;
    Syscalls& sys_;
    // List files that exist but could not be read, with why: replacing one would lose the list.
    std::map<std::string, std::string> unreadableLists_;
};

} // namespace palisade
