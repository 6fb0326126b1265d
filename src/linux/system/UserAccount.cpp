#include "linux/system/UserAccount.h"

#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <pwd.h>
#include <unistd.h>
#include <vector>

namespace palisade {

namespace {

std::optional<uid_t> ParseUid(const std::string& text) {
    unsigned long value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end || value > 0xFFFFFFFEul)
        return std::nullopt;
    return static_cast<uid_t>(value);
}

std::optional<UserAccount> LookUp(uid_t uid) {
    long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    while (::getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &found) == ERANGE)
        buffer.resize(buffer.size() * 2);
    if (found == nullptr)
        return std::nullopt;
    return UserAccount{found->pw_uid, found->pw_gid, found->pw_dir ? found->pw_dir : ""};
}

} // namespace

AccountLookup RealAccountLookup() {
    return {
        [] { return ::geteuid(); },
        [](const std::string& name) -> std::optional<std::string> {
            const char* value = std::getenv(name.c_str());
            if (value == nullptr)
                return std::nullopt;
            return std::string(value);
        },
        LookUp,
    };
}

std::optional<UserAccount> OnBehalfOf(const AccountLookup& lookup) {
    if (lookup.effectiveUser() != 0)
        return std::nullopt;
    for (const char* name : {"PKEXEC_UID", "SUDO_UID"}) {
        const auto text = lookup.environment(name);
        if (!text)
            continue;
        const auto uid = ParseUid(*text);
        if (!uid || *uid == 0)
            return std::nullopt;
        auto account = lookup.byUid(*uid);
        if (!account || account->home.empty())
            return std::nullopt;
        return account;
    }
    return std::nullopt;
}

std::string RuntimeFolder(const AccountLookup& lookup, const std::optional<UserAccount>& onBehalf) {
    if (onBehalf)
        return "/run/user/" + std::to_string(onBehalf->uid);
    const auto own = lookup.environment("XDG_RUNTIME_DIR");
    if (own && !own->empty() && own->front() == '/')
        return *own;
    return "/run/user/" + std::to_string(lookup.effectiveUser());
}

std::string ConfigFolderOf(const UserAccount& account) {
    std::string home = account.home;
    while (home.size() > 1 && home.back() == '/')
        home.pop_back();
    return (home == "/" ? "" : home) + "/.config";
}

} // namespace palisade
