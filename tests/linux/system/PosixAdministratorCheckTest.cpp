#include "linux/system/PosixAdministratorCheck.h"

#include <gtest/gtest.h>
#include <map>
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

TEST(PosixAdministratorCheck, RealProcessAnswersAsItsAccountIs) {
    const std::int32_t result = PosixAdministratorCheck().IsAdministrator();
    if (geteuid() == 0)
        EXPECT_EQ(result, -1);
    else
        EXPECT_TRUE(result == 0 || result == -1);
}

} // namespace
} // namespace palisade
