#include "linux/system/PosixAdministratorCheck.h"

#include <algorithm>
#include <cerrno>
#include <grp.h>
#include <string_view>
#include <unistd.h>

namespace palisade {

namespace {

constexpr std::string_view AdminGroups[] = {"sudo", "wheel", "admin"};

class SystemAccounts : public PosixAccounts {
public:
    uid_t effectiveUser() override { return geteuid(); }
    gid_t effectiveGroup() override { return getegid(); }

    std::vector<gid_t> supplementaryGroups() override {
        // The list may grow between the two calls; ask again until it fits.
        for (int attempt = 0; attempt < 4; ++attempt) {
            const int count = getgroups(0, nullptr);
            if (count <= 0)
                return {};
            std::vector<gid_t> groups(static_cast<std::size_t>(count));
            const int got = getgroups(count, groups.data());
            if (got >= 0) {
                groups.resize(static_cast<std::size_t>(got));
                return groups;
            }
            if (errno != EINVAL)
                return {};
        }
        return {};
    }

    std::optional<std::string> groupName(gid_t group) override {
        std::vector<char> buffer(1024);
        while (true) {
            struct group entry {};
            struct group* found = nullptr;
            const int rc = getgrgid_r(group, &entry, buffer.data(), buffer.size(), &found);
            if (rc == ERANGE && buffer.size() < (1u << 20)) {
                buffer.resize(buffer.size() * 2);
                continue;
            }
            if (rc != 0 || found == nullptr || found->gr_name == nullptr)
                return std::nullopt;
            return std::string(found->gr_name);
        }
    }
};

} // namespace

PosixAccounts& RealAccounts() {
    static SystemAccounts accounts;
    return accounts;
}

std::int32_t PosixAdministratorCheck::IsAdministrator() {
    try {
        if (accounts_.effectiveUser() == 0)
            return -1;
        std::vector<gid_t> groups = accounts_.supplementaryGroups();
        groups.push_back(accounts_.effectiveGroup());
        for (gid_t group : groups) {
            const auto name = accounts_.groupName(group);
            if (name && std::find(std::begin(AdminGroups), std::end(AdminGroups), *name) !=
                            std::end(AdminGroups))
                return -1;
        }
    } catch (...) {
        // The test raises nothing: what cannot be determined is "not a member".
    }
    return 0;
}

} // namespace palisade
