#pragma once

#include <functional>
#include <optional>
#include <string>
#include <sys/types.h>

namespace palisade {

// A user as the password database knows them.
struct UserAccount {
    uid_t uid = 0;
    gid_t gid = 0;
    std::string home;
};

// What finding the user needs of the system, as seams for the tests.
struct AccountLookup {
    std::function<uid_t()> effectiveUser;
    std::function<std::optional<std::string>(const std::string&)> environment;
    std::function<std::optional<UserAccount>(uid_t)> byUid;
};

AccountLookup RealAccountLookup();

// The user a copy run as root works for: the one who asked pkexec (PKEXEC_UID), else sudo
// (SUDO_UID). Nothing when the process is not root, when neither is set, or when the number is
// root itself or names nobody in the password database.
std::optional<UserAccount> OnBehalfOf(const AccountLookup& lookup);

// The user's private runtime folder, where the one-program socket lives: $XDG_RUNTIME_DIR for
// the user running the process, /run/user/<uid> for a user worked for (pkexec clears the
// variable, and root's own would be the wrong one). Never a shared folder such as /tmp.
std::string RuntimeFolder(const AccountLookup& lookup, const std::optional<UserAccount>& onBehalf);

// The user's configuration folder for a user worked for: ~/.config from the password database,
// since their environment is not ours.
std::string ConfigFolderOf(const UserAccount& account);

} // namespace palisade
