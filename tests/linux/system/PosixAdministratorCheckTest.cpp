#include "linux/system/PosixAdministratorCheck.h"

#include <algorithm>
#include <grp.h>
#include <gtest/gtest.h>
#include <map>
#include <string_view>
#include <sys/wait.h>
#include <unistd.h>

namespace palisade {
namespace {

struct FakeAccounts : PosixAccounts {
    uid_t user = 1000;
    gid_t group = 1000;
    std::vector<gid_t> groups;
    std::map<gid_t, std::string> names{{1000, "alice"}};
    std::vector<gid_t> lookups;

    uid_t effectiveUser() override { return user; }
    gid_t effectiveGroup() override { return group; }
    std::vector<gid_t> supplementaryGroups() override { return groups; }
    std::optional<std::string> groupName(gid_t g) override {
        lookups.push_back(g);
        auto it = names.find(g);
        if (it == names.end())
            return std::nullopt;
        return it->second;
    }
};

TEST(PosixAdministratorCheck, RootIsAnAdministratorWithoutLookingAtGroups) {
    FakeAccounts accounts;
    accounts.user = 0;
    EXPECT_EQ(PosixAdministratorCheck(accounts).IsAdministrator(), -1);
    EXPECT_TRUE(accounts.lookups.empty());
}

TEST(PosixAdministratorCheck, MemberOfAnAdministratorsGroupIsAnAdministrator) {
    for (const char* name : {"sudo", "wheel", "admin"}) {
        FakeAccounts accounts;
        accounts.groups = {1000, 27};
        accounts.names[27] = name;
        EXPECT_EQ(PosixAdministratorCheck(accounts).IsAdministrator(), -1) << name;
    }
    // The effective group counts even when the supplementary list cannot be read.
    FakeAccounts accounts;
    accounts.group = 10;
    accounts.names[10] = "wheel";
    EXPECT_EQ(PosixAdministratorCheck(accounts).IsAdministrator(), -1);
}

TEST(PosixAdministratorCheck, NamesMustMatchExactly) {
    FakeAccounts accounts;
    accounts.groups = {1, 2, 3, 4};
    accounts.names = {{1, "Sudo"}, {2, "sudoers"}, {3, "admins"}, {4, " wheel"}};
    EXPECT_EQ(PosixAdministratorCheck(accounts).IsAdministrator(), 0);
}

TEST(PosixAdministratorCheck, GroupWithoutANameIsPassedOver) {
    FakeAccounts accounts;
    accounts.groups = {4242, 27};
    accounts.names[27] = "sudo";
    EXPECT_EQ(PosixAdministratorCheck(accounts).IsAdministrator(), -1);
    EXPECT_EQ(accounts.lookups.front(), 4242u);
}

// Whether the running process is in a group named as an administrators' group, looked up apart
// from the check.
bool InAnAdministratorsGroup() {
    std::vector<gid_t> groups(static_cast<std::size_t>(std::max(getgroups(0, nullptr), 0)));
    groups.resize(static_cast<std::size_t>(
        std::max(getgroups(static_cast<int>(groups.size()), groups.data()), 0)));
    groups.push_back(getegid());
    for (gid_t g : groups)
        if (const struct group* entry = getgrgid(g))
            for (std::string_view admin : {"sudo", "wheel", "admin"})
                if (entry->gr_name == admin)
                    return true;
    return false;
}

TEST(PosixAdministratorCheck, RealProcessAnswersAsItsAccountIs) {
    const std::int32_t result = PosixAdministratorCheck().IsAdministrator();
    if (geteuid() != 0) {
        EXPECT_EQ(result, InAnAdministratorsGroup() ? -1 : 0);
        return;
    }
    EXPECT_EQ(result, -1);
    // An ordinary user with no administrators' group: a child that drops to nobody's account.
    const pid_t child = fork();
    if (child == 0) {
        if (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0)
            _exit(2);
        _exit(!InAnAdministratorsGroup() && PosixAdministratorCheck().IsAdministrator() == 0 ? 0
                                                                                             : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 2)
        GTEST_SKIP() << "cannot drop to nobody's account here";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "an ordinary user was taken for an administrator";
}

} // namespace
} // namespace palisade
