#include "PosixTestSupport.h"
#include "linux/system/PosixFileSystem.h"

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <optional>
#include <sched.h>
#include <sys/mount.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace palisade {
namespace {

using test::slurp;
using test::spit;

// The real calls, with the faults a full disk, a flaky device or a mount point would cause.
class FaultySyscalls : public Syscalls {
public:
    int renameError = 0;
    std::optional<size_t> writeBudget; // bytes that get written before writes fail
    int writeError = ENOSPC;
    int fsyncError = 0;
    int mkstempError = 0;
    std::string mountedFile; // stat reports it on a device of its own
    size_t written = 0;
    int renames = 0;
    int setxattrError = 0;
    std::vector<std::string> temporaryTemplates;

    int mkstemp(char* pathTemplate) override {
        temporaryTemplates.push_back(pathTemplate);
        if (mkstempError) {
            errno = mkstempError;
            return -1;
        }
        return Syscalls::mkstemp(pathTemplate);
    }
    int stat(const char* path, struct stat* st) override {
        const int result = Syscalls::stat(path, st);
        if (result == 0 && path == mountedFile)
            st->st_dev += 1;
        return result;
    }

    ssize_t write(int fd, const void* buffer, size_t size) override {
        if (writeBudget) {
            if (written >= *writeBudget) {
                errno = writeError;
                return -1;
            }
            size = std::min(size, *writeBudget - written); // a short write first
        }
        const ssize_t n = Syscalls::write(fd, buffer, size);
        if (n > 0)
            written += static_cast<size_t>(n);
        return n;
    }
    int fsync(int fd) override {
        if (fsyncError) {
            errno = fsyncError;
            return -1;
        }
        return Syscalls::fsync(fd);
    }
    int fsetxattr(int fd, const char* name, const void* value, size_t size, int flags) override {
        errno = setxattrError;
        return setxattrError ? -1 : Syscalls::fsetxattr(fd, name, value, size, flags);
    }
    int rename(const char* from, const char* to) override {
        ++renames;
        if (renameError) {
            errno = renameError;
            return -1;
        }
        return Syscalls::rename(from, to);
    }
};

std::string errorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const RuntimeError& e) {
        return e.what();
    }
    return "(no error)";
}

const std::string OldHosts = "127.0.0.1 localhost\n::1 localhost\n# a longer old content\n";
const std::string NewHosts = "127.0.0.1 localhost\n";

class ReplaceFileTest : public ::testing::Test {
protected:
    test::TempFolder dir;
    FaultySyscalls sys;
    PosixFileSystem fs{sys};
    std::string hosts = dir / "hosts";

    void SetUp() override { spit(hosts, OldHosts); }
};

TEST_F(ReplaceFileTest, ReplacesContentCompletelyKeepingModeAndOwner) {
    ASSERT_EQ(::chmod(hosts.c_str(), 0640), 0);
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown(hosts.c_str(), 1234, 5678), 0);
    }
    const ino_t oldInode = test::statOf(hosts).st_ino;

    const std::string bytes("a\r\nnul\0\xff\n", 10);
    fs.replaceFile(hosts, bytes);

    EXPECT_EQ(slurp(hosts), bytes);
    const struct stat st = test::statOf(hosts);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    if (root) {
        EXPECT_EQ(st.st_uid, 1234u);
        EXPECT_EQ(st.st_gid, 5678u);
    }
    EXPECT_NE(st.st_ino, oldInode) << "a new file is renamed into place";
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"hosts"});
}

TEST_F(ReplaceFileTest, NewFileGetsReadableModeWhateverTheUmask) {
    const mode_t previous = ::umask(077);
    fs.replaceFile(dir / "snapshot", NewHosts);
    ::umask(previous);

    EXPECT_EQ(slurp(dir / "snapshot"), NewHosts);
    EXPECT_EQ(test::statOf(dir / "snapshot").st_mode & 07777, 0644u);
    EXPECT_EQ(dir.entries(), (std::vector<std::string>{"hosts", "snapshot"}));
}

TEST_F(ReplaceFileTest, SymlinkStaysALinkAndItsTargetIsReplaced) {
    // etc/hosts -> ../real/hosts.link -> hosts (relative links, two hops)
    ASSERT_EQ(::mkdir((dir / "etc").c_str(), 0755), 0);
    ASSERT_EQ(::mkdir((dir / "real").c_str(), 0755), 0);
    spit(dir / "real/hosts", OldHosts);
    ASSERT_EQ(::symlink("hosts", (dir / "real/hosts.link").c_str()), 0);
    ASSERT_EQ(::symlink("../real/hosts.link", (dir / "etc/hosts").c_str()), 0);

    fs.replaceFile(dir / "etc/hosts", NewHosts);

    EXPECT_TRUE(S_ISLNK(test::lstatOf(dir / "etc/hosts").st_mode));
    EXPECT_TRUE(S_ISLNK(test::lstatOf(dir / "real/hosts.link").st_mode));
    EXPECT_EQ(slurp(dir / "real/hosts"), NewHosts);
    EXPECT_EQ(test::entriesOf(dir / "etc"), std::vector<std::string>{"hosts"});
    EXPECT_EQ(test::entriesOf(dir / "real"), (std::vector<std::string>{"hosts", "hosts.link"}));

    ASSERT_EQ(::symlink("real/created", (dir / "dangling").c_str()), 0);
    fs.replaceFile(dir / "dangling", NewHosts);
    EXPECT_TRUE(S_ISLNK(test::lstatOf(dir / "dangling").st_mode));
    EXPECT_EQ(slurp(dir / "real/created"), NewHosts);
}

class ReplaceOnMountPoint : public ReplaceFileTest, public ::testing::WithParamInterface<int> {};

TEST_P(ReplaceOnMountPoint, WritesInPlaceWhenTheFileCannotBeRenamedOver) {
    sys.renameError = GetParam();
    const ino_t inode = test::statOf(hosts).st_ino;

    fs.replaceFile(hosts, NewHosts);

    EXPECT_EQ(sys.renames, 1);
    EXPECT_EQ(slurp(hosts), NewHosts) << "shorter content leaves no tail of the old";
    EXPECT_EQ(test::statOf(hosts).st_ino, inode);
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"hosts"});

    const std::string longer = OldHosts + OldHosts;
    fs.replaceFile(hosts, longer);
    EXPECT_EQ(slurp(hosts), longer);
}

INSTANTIATE_TEST_SUITE_P(BusyOrOtherDevice, ReplaceOnMountPoint, ::testing::Values(EBUSY, EXDEV));

TEST_F(ReplaceFileTest, FailureLeavesOldContentAndNoTemporaryFile) {
    struct Case {
        const char* what;
        std::function<void(FaultySyscalls&)> inject;
        const char* description;
    };
    const std::vector<Case> cases = {
        {"disk full part-way", [](FaultySyscalls& s) { s.writeBudget = 7; }, "Disk full"},
        {"disk full at once", [](FaultySyscalls& s) { s.writeBudget = 0; }, "Disk full"},
        {"sync fails", [](FaultySyscalls& s) { s.fsyncError = EIO; }, nullptr},
        {"rename refused", [](FaultySyscalls& s) { s.renameError = EACCES; }, "Permission denied"},
        {"rename on read-only", [](FaultySyscalls& s) { s.renameError = EROFS; },
         "Permission denied"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FaultySyscalls faulty;
        c.inject(faulty);
        PosixFileSystem failing(faulty);

        const std::string error = errorOf([&] { failing.replaceFile(hosts, NewHosts + NewHosts); });

        EXPECT_NE(error, "(no error)");
        if (c.description) {
            EXPECT_EQ(error, c.description);
        }
        EXPECT_EQ(slurp(hosts), OldHosts);
        EXPECT_EQ(dir.entries(), std::vector<std::string>{"hosts"});
    }
}

TEST_F(ReplaceFileTest, InPlaceFallbackReportsItsOwnWriteFailure) {
    // The caller keeps its safety copy until replaceFile returns, so the failure must show.
    sys.renameError = EBUSY;
    sys.fsyncError = 0;
    sys.writeBudget = NewHosts.size() * 2 + 5; // the temporary file gets everything, then fails
    EXPECT_EQ(errorOf([&] { fs.replaceFile(hosts, NewHosts + NewHosts); }), "Disk full");
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"hosts"});
}

TEST_F(ReplaceFileTest, ReadOnlyFolderRewritesOnlyAFileMountedOnIt) {
    sys.mkstempError = EROFS;
    EXPECT_EQ(errorOf([&] { fs.replaceFile(hosts, NewHosts); }), "Permission denied");
    EXPECT_EQ(slurp(hosts), OldHosts);

    sys.mountedFile = hosts;
    fs.replaceFile(hosts, NewHosts);
    EXPECT_EQ(slurp(hosts), NewHosts);
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"hosts"});
}

TEST_F(ReplaceFileTest, UnsuitableTargetsAreRefused) {
    EXPECT_EQ(errorOf([&] { fs.replaceFile(dir / "missing/hosts", NewHosts); }), "Path not found");
    ASSERT_EQ(::mkdir((dir / "folder").c_str(), 0755), 0);
    EXPECT_EQ(errorOf([&] { fs.replaceFile(dir / "folder", NewHosts); }), "Path/File access error");
    ASSERT_EQ(::symlink("loop", (dir / "loop").c_str()), 0);
    EXPECT_NE(errorOf([&] { fs.replaceFile(dir / "loop", NewHosts); }), "(no error)");
    EXPECT_EQ(sys.renames, 0);
}

TEST_F(ReplaceFileTest, BindMountedFileIsRewrittenInPlace) {
    // What containers do to /etc/hosts, in a private mount namespace of a child process.
    spit(dir / "outside", OldHosts);
    const int status = test::runInChild([&] {
        if (::unshare(CLONE_NEWNS) != 0 ||
            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount((dir / "outside").c_str(), hosts.c_str(), nullptr, MS_BIND, nullptr) != 0)
            ::_exit(test::ChildCannotRun);
        PosixFileSystem real;
        real.replaceFile(hosts, NewHosts);
        return slurp(hosts) == NewHosts && test::entriesOf(dir.path()).size() == 2;
    });
    if (status == test::ChildCannotRun)
        GTEST_SKIP() << "no permission for a private mount namespace";
    EXPECT_EQ(status, 0);
    EXPECT_EQ(slurp(dir / "outside"), NewHosts) << "the mounted file got the content";
    EXPECT_EQ(slurp(hosts), OldHosts) << "the file under the mount was never touched";
    EXPECT_EQ(dir.entries(), (std::vector<std::string>{"hosts", "outside"}));
}

TEST_F(ReplaceFileTest, ExtendedAttributesGoWithTheFileUnlessTheyCannotBeSet) {
    // An attribute as an access list or a security label would be.
    const auto label = [&] {
        char value[16];
        const ssize_t n = ::getxattr(hosts.c_str(), "user.palisade", value, sizeof value);
        return n < 0 ? std::string("<none>") : std::string(value, static_cast<size_t>(n));
    };
    for (int error : {0, ENOTSUP, EPERM, ENOSPC}) {
        spit(hosts, OldHosts);
        if (::setxattr(hosts.c_str(), "user.palisade", "kept", 4, 0) != 0)
            GTEST_SKIP() << "the temporary folder's file system has no user attributes";
        sys.setxattrError = error;
        const bool replaced = error != ENOSPC; // only those two may be passed over
        EXPECT_EQ(errorOf([&] { fs.replaceFile(hosts, NewHosts); }) == "(no error)", replaced);
        EXPECT_EQ(slurp(hosts), replaced ? NewHosts : OldHosts) << error;
        EXPECT_EQ(label(), error == 0 || !replaced ? "kept" : "<none>") << error;
        EXPECT_EQ(dir.entries(), std::vector<std::string>{"hosts"});
    }
}

TEST_F(ReplaceFileTest, TemporaryFilesAreNamedForUsAndStaleOnesGo) {
    // Left by a crash two minutes ago, still being written, not our names, beside another file.
    for (const auto& [name, age] :
         std::vector<std::pair<std::string, time_t>>{{".hosts.palisade-Ab12Cd", 120},
                                                     {".hosts.palisade-Fresh1", 10},
                                                     {".hosts.palisade-short", 120},
                                                     {"hosts.palisade-Ab12Cd", 120},
                                                     {".other.palisade-Ab12Cd", 120}}) {
        spit(dir / name, "partial");
        const struct timespec then[2] = {{::time(nullptr) - age, 0}, {::time(nullptr) - age, 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, (dir / name).c_str(), then, 0), 0);
    }
    fs.replaceFile(hosts, NewHosts);
    EXPECT_EQ(sys.temporaryTemplates, std::vector<std::string>{dir / ".hosts.palisade-XXXXXX"});
    EXPECT_EQ(dir.entries(), (std::vector<std::string>{
                                 ".hosts.palisade-Fresh1", ".hosts.palisade-short",
                                 ".other.palisade-Ab12Cd", "hosts", "hosts.palisade-Ab12Cd"}));
}

} // namespace
} // namespace palisade
