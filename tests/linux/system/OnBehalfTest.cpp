// A copy run as root for a user: who that user is, where their things are, and that their files
// are worked on with their rights only.
#include "PosixTestSupport.h"
#include "linux/system/FsIdentity.h"
#include "linux/system/OnBehalfFileSystem.h"
#include "linux/system/OnBehalfSettingsStore.h"
#include "linux/system/PosixFileSystem.h"
#include "linux/system/QSettingsStore.h"
#include "linux/system/UserAccount.h"
#include "platform/RuntimeError.h"

#include <grp.h>
#include <gtest/gtest.h>
#include <map>
#include <sys/stat.h>
#include <unistd.h>

namespace palisade {
namespace {

AccountLookup Lookup(uid_t euid, std::map<std::string, std::string> env) {
    return {
        [euid] { return euid; },
        [env](const std::string& name) -> std::optional<std::string> {
            const auto it = env.find(name);
            return it == env.end() ? std::nullopt : std::optional(it->second);
        },
        [](uid_t uid) -> std::optional<UserAccount> {
            if (uid == 1000)
                return UserAccount{1000, 100, "/home/ann"};
            if (uid == 1001)
                return UserAccount{1001, 100, "/home/bob/"};
            return std::nullopt;
        },
    };
}

struct BehalfCase {
    const char* name;
    uid_t euid;
    std::map<std::string, std::string> env;
    std::optional<uid_t> user;
    std::string runtime;
};

void PrintTo(const BehalfCase& c, std::ostream* os) {
    *os << c.name;
}

class OnBehalf : public ::testing::TestWithParam<BehalfCase> {};

TEST_P(OnBehalf, FindsTheUserAndTheirRuntimeFolder) {
    const auto& c = GetParam();
    const auto lookup = Lookup(c.euid, c.env);
    const auto user = OnBehalfOf(lookup);
    ASSERT_EQ(user.has_value(), c.user.has_value());
    if (user) {
        EXPECT_EQ(user->uid, *c.user);
    }
    EXPECT_EQ(RuntimeFolder(lookup, user), c.runtime);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OnBehalf,
    ::testing::Values(
        BehalfCase{
            "OrdinaryUser", 1000, {{"XDG_RUNTIME_DIR", "/run/user/1000"}}, {}, "/run/user/1000"},
        BehalfCase{
            "OrdinaryUserSudoUidIgnored", 1000, {{"SUDO_UID", "1001"}}, {}, "/run/user/1000"},
        BehalfCase{"RootAlone", 0, {}, {}, "/run/user/0"},
        BehalfCase{"RootOwnRuntimeDir", 0, {{"XDG_RUNTIME_DIR", "/tmp/r"}}, {}, "/tmp/r"},
        BehalfCase{"RelativeRuntimeDirRefused", 0, {{"XDG_RUNTIME_DIR", "r"}}, {}, "/run/user/0"},
        BehalfCase{"Pkexec", 0, {{"PKEXEC_UID", "1000"}}, 1000, "/run/user/1000"},
        BehalfCase{"Sudo",
                   0,
                   {{"SUDO_UID", "1001"}, {"XDG_RUNTIME_DIR", "/run/user/0"}},
                   1001,
                   "/run/user/1001"},
        BehalfCase{"PkexecBeforeSudo",
                   0,
                   {{"PKEXEC_UID", "1000"}, {"SUDO_UID", "1001"}},
                   1000,
                   "/run/user/1000"},
        BehalfCase{"ForRootItself", 0, {{"SUDO_UID", "0"}}, {}, "/run/user/0"},
        BehalfCase{"NotANumber", 0, {{"SUDO_UID", "10x"}}, {}, "/run/user/0"},
        BehalfCase{"Nobody", 0, {{"PKEXEC_UID", "4242"}}, {}, "/run/user/0"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(OnBehalf, ConfigFolderComesFromTheHomeInThePasswordDatabase) {
    EXPECT_EQ(ConfigFolderOf({1, 1, "/home/ann"}), "/home/ann/.config");
    EXPECT_EQ(ConfigFolderOf({1, 1, "/home/bob/"}), "/home/bob/.config");
    EXPECT_EQ(ConfigFolderOf({1, 1, "/"}), "/.config");
}

TEST(OnBehalf, OnlyTheHostsFileAndWhatIsInTheDataFolderAreTheSystems) {
    const auto isSystem = SystemPaths({"/etc/hosts"}, {"/var/lib/Q"});
    const std::pair<const char*, bool> cases[] = {{"/etc/hosts", true},
                                                  {"/var/lib/Q/Palisade Software/hosts", true},
                                                  {"/var/lib/Quillmoor", false},
                                                  {"/var/lib/Q/../../../etc/shadow", false},
                                                  {"/var/lib/Q/a/..", false}};
    for (const auto& [path, expected] : cases)
        EXPECT_EQ(isSystem(path), expected) << path;
}

// The unprivileged account the tests work for.
const UserAccount Someone{65534, 65534, "/nonexistent"};

class OnBehalfFiles : public ::testing::Test {
protected:
    void SetUp() override {
        if (::geteuid() != 0)
            GTEST_SKIP() << "switching the file-system identity needs root";
        ASSERT_EQ(::chmod(dir.path().c_str(), 0777), 0);
        test::spit(dir / "secret", "root only\n");
        ASSERT_EQ(::chmod((dir / "secret").c_str(), 0600), 0);
    }

    test::TempFolder dir;
    PosixFileSystem real;
    OnBehalfFileSystem fs{real, Someone, SystemPaths({dir / "hosts"}, {dir / "data"})};
};

TEST_F(OnBehalfFiles, TheUsersFilesAreTheirsAndTheSystemsStayRoots) {
    struct Write {
        std::string path;
        uid_t owner;
    };
    real.createFolder(dir / "data");
    fs.writeFile(dir / "hosts", "127.0.0.1 localhost\n");
    fs.copyFile(dir / "hosts", dir / "data/hosts");
    fs.writeFile(dir / "list.txt", "a.example\n");
    fs.copyFile(dir / "hosts", dir / "copy-for-the-user");
    fs.createFolder(dir / "users-folder");
    for (const Write& w : std::vector<Write>{{dir / "hosts", 0},
                                             {dir / "data/hosts", 0},
                                             {dir / "list.txt", Someone.uid},
                                             {dir / "copy-for-the-user", Someone.uid},
                                             {dir / "users-folder", Someone.uid}})
        EXPECT_EQ(test::statOf(w.path).st_uid, w.owner) << w.path;
    EXPECT_EQ(::geteuid(), 0u);
    EXPECT_EQ(real.readFile(dir / "list.txt"), "a.example\n");
}

TEST_F(OnBehalfFiles, ALinkTheUserPlantedReachesNothingTheyCouldNotReach) {
    ASSERT_EQ(::symlink((dir / "secret").c_str(), (dir / "planted.txt").c_str()), 0);
    EXPECT_THROW(fs.readFile(dir / "planted.txt"), RuntimeError);
    EXPECT_THROW(fs.readFile(dir / "secret"), RuntimeError);
    // And root's own work is unchanged after all that.
    EXPECT_EQ(real.readFile(dir / "secret"), "root only\n");
}

TEST_F(OnBehalfFiles, RootsGroupIsNotLentToTheUser) {
    test::spit(dir / "root-group", "root's group only\n");
    ASSERT_EQ(::chmod((dir / "root-group").c_str(), 0640), 0);
    std::vector<gid_t> saved(256);
    saved.resize(static_cast<std::size_t>(::getgroups(256, saved.data())));
    const gid_t rootOnly = 0; // as pkexec and sudo leave root's copy
    ASSERT_EQ(::setgroups(1, &rootOnly), 0);
    EXPECT_TRUE(TakeGroupsOf(Someone));
    EXPECT_THROW(fs.readFile(dir / "root-group"), RuntimeError);
    ::setgroups(saved.size(), saved.data());
}

TEST_F(OnBehalfFiles, SettingsAreWrittenAsTheUser) {
    QSettingsStore inner(dir / "config");
    ASSERT_EQ(::mkdir((dir / "config").c_str(), 0700), 0);
    ASSERT_EQ(::chown((dir / "config").c_str(), Someone.uid, Someone.gid), 0);
    OnBehalfSettingsStore store(inner, Someone);
    store.write("Quillmoor", "Palisade Software", "Password", "pw");
    EXPECT_EQ(store.read("Quillmoor", "Palisade Software", "Password", ""), "pw");
    EXPECT_EQ(test::statOf(dir / "config/Quillmoor/Palisade Software.ini").st_uid, Someone.uid);
}

} // namespace
} // namespace palisade
