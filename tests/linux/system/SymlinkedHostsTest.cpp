#include "RealHostsRig.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace palisade::test {
namespace {

// Distributions that manage the hosts file elsewhere link /etc/hosts to it: unblocking must
// replace the file behind the link and leave the link in place.
TEST(SymlinkedHostsFile, StopReplacesTheLinkedFileAndKeepsLinkAndMode) {
    ScratchFolder scratch;
    ASSERT_FALSE(scratch.path().empty());
    std::filesystem::create_directory(scratch / "real");
    const std::string real = scratch / "real/hosts";
    const std::string link = scratch / "hosts";
    const std::string original = "127.0.0.1 localhost\n# managed elsewhere\n";
    WriteWhole(real, original);
    ASSERT_EQ(::chmod(real.c_str(), 0640), 0);
    std::filesystem::create_symlink(real, link);

    RealHostsRig rig(link, scratch / "data");
    rig.start({"one.palisade.test", "http://two.palisade.test/"});
    ASSERT_TRUE(rig.dialogs.messages.empty()) << rig.dialogs.messages[0].text;
    EXPECT_EQ(ReadWhole(real), original + "127.0.0.1          one.palisade.test\n"
                                          "127.0.0.1          two.palisade.test\n");
    EXPECT_EQ(ReadWhole(scratch / "data/hosts"), original);
    struct stat before {};
    ASSERT_EQ(::stat(real.c_str(), &before), 0);

    rig.blocker.StopBlocking(false, StopRequest::BlockButton);

    EXPECT_TRUE(rig.dialogs.messages.empty());
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(std::filesystem::read_symlink(link), real);
    EXPECT_EQ(ReadWhole(real), original);
    struct stat after {};
    ASSERT_EQ(::stat(real.c_str(), &after), 0);
    EXPECT_NE(after.st_ino, before.st_ino) << "not replaced through a rename";
    EXPECT_EQ(after.st_mode & 07777, 0640u);
    EXPECT_FALSE(std::filesystem::exists(scratch / "data/hosts"));
    // Nothing but the file itself is left in its folder: no temporary files.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(scratch / "real"),
                            std::filesystem::directory_iterator()),
              1);
}

} // namespace
} // namespace palisade::test
