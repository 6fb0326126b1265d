// What a replaced file keeps besides its content, and what a replacement leaves beside it.
#include "FaultySyscalls.h"
#include "PosixTestSupport.h"
#include "platform/posix/PosixFileSystem.h"

#include <ctime>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/xattr.h>

namespace palisade {
namespace {

using test::slurp;
using test::spit;

const std::string OldHosts = "127.0.0.1 localhost\n# old\n";
const std::string NewHosts = "127.0.0.1 localhost\n";

std::string AttributeOf(const std::string& path, const char* name) {
    char value[256];
    const ssize_t n = ::getxattr(path.c_str(), name, value, sizeof value);
    return n < 0 ? std::string("<none>") : std::string(value, static_cast<size_t>(n));
}

void Age(const std::string& path, time_t seconds) {
    const struct timespec times[2] = {{::time(nullptr) - seconds, 0},
                                      {::time(nullptr) - seconds, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW), 0);
}

class ReplaceFileTidyTest : public ::testing::Test {
protected:
    void SetUp() override {
        spit(hosts, OldHosts);
        if (::setxattr(hosts.c_str(), "user.palisade.label", "kept", 4, 0) != 0)
            GTEST_SKIP() << "the temporary folder's file system has no user attributes";
        ASSERT_EQ(::setxattr(hosts.c_str(), "user.palisade.empty", "", 0, 0), 0);
    }

    test::TempFolder dir;
    FaultySyscalls sys;
    PosixFileSystem fs{sys};
    std::string hosts = dir / "hosts";
};

TEST_F(ReplaceFileTidyTest, ExtendedAttributesGoWithTheFileUnlessTheyCannotBeSet) {
    struct Case {
        int setError;
        bool replaced;
        const char* label; // afterwards
    };
    for (const Case& c : {Case{0, true, "kept"}, Case{ENOTSUP, true, "<none>"},
                          Case{EPERM, true, "<none>"}, Case{ENOSPC, false, "kept"}}) {
        SCOPED_TRACE(c.setError);
        spit(hosts, OldHosts);
        ASSERT_EQ(::setxattr(hosts.c_str(), "user.palisade.label", "kept", 4, 0), 0);
        sys.setxattrError = c.setError;
        bool threw = false;
        try {
            fs.replaceFile(hosts, NewHosts);
        } catch (const RuntimeError&) {
            threw = true;
        }
        EXPECT_EQ(threw, !c.replaced);
        EXPECT_EQ(slurp(hosts), c.replaced ? NewHosts : OldHosts);
        EXPECT_EQ(AttributeOf(hosts, "user.palisade.label"), c.label);
        EXPECT_EQ(dir.entries(), std::vector<std::string>{"hosts"});
    }
    sys.setxattrError = 0;
    spit(hosts, OldHosts);
    ASSERT_EQ(::setxattr(hosts.c_str(), "user.palisade.empty", "", 0, 0), 0);
    fs.replaceFile(hosts, NewHosts);
    EXPECT_EQ(AttributeOf(hosts, "user.palisade.empty"), "");
}

TEST_F(ReplaceFileTidyTest, TemporaryFilesAreNamedForUsAndStaleOnesGo) {
    const std::vector<std::pair<std::string, time_t>> planted = {
        {".hosts.palisade-Ab12Cd", 120}, // left by a crash: goes
        {".hosts.palisade-Fresh1", 10},  // another replacement may still be writing it
        {".hosts.palisade-short", 120},  // not a name we make
        {".other.palisade-Ab12Cd", 120}, // beside another file
        {"hosts.palisade-Ab12Cd", 120},
    };
    for (const auto& [name, age] : planted) {
        spit(dir / name, "partial");
        Age(dir / name, age);
    }
    ASSERT_EQ(::mkdir((dir / ".hosts.palisade-Folder").c_str(), 0755), 0);
    Age(dir / ".hosts.palisade-Folder", 120);

    fs.replaceFile(hosts, NewHosts);

    ASSERT_EQ(sys.temporaryTemplates.size(), 1u);
    EXPECT_EQ(sys.temporaryTemplates[0], dir / ".hosts.palisade-XXXXXX");
    EXPECT_EQ(slurp(hosts), NewHosts);
    EXPECT_EQ(dir.entries(),
              (std::vector<std::string>{".hosts.palisade-Folder", ".hosts.palisade-Fresh1",
                                        ".hosts.palisade-short", ".other.palisade-Ab12Cd", "hosts",
                                        "hosts.palisade-Ab12Cd"}));
}

} // namespace
} // namespace palisade
