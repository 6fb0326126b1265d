#include "linux/system/ChangeJournal.h"

#include "PosixTestSupport.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace palisade {
namespace {

using test::slurp;
using test::spit;

// Only a record this program's user wrote, as it writes them, is acted on; anything else at the
// journal's path (one planted to have root write the hosts file, say) goes unread.
TEST(ChangeJournal, OnlyItsOwnRecordIsActedOnAndAnythingElseGoes) {
    enum Plant { Own, Link, ReadableByOthers, OtherOwner, CutShort };
    for (Plant plant : {Own, Link, ReadableByOthers, OtherOwner, CutShort}) {
        test::TempFolder dir;
        const std::string hosts = dir / "hosts";
        const std::string journal = dir / "journal";
        spit(hosts, "old\n");
        ChangeJournal(RealSyscalls(), journal).recordRewrite(hosts, "new\n");
        const std::string record = slurp(journal);
        if (plant == Link) {
            spit(dir / "elsewhere", record);
            ASSERT_EQ(::unlink(journal.c_str()), 0);
            ASSERT_EQ(::symlink("elsewhere", journal.c_str()), 0);
        } else if (plant == ReadableByOthers) {
            ASSERT_EQ(::chmod(journal.c_str(), 0644), 0);
        } else if (plant == OtherOwner && ::chown(journal.c_str(), 4321, 4321) != 0) {
            spit(journal, "not ours"); // without root: bytes that are no record stand in
        } else if (plant == CutShort) {
            spit(journal, record.substr(0, record.size() - 1));
        }

        ChangeJournal(RealSyscalls(), journal).finish();

        EXPECT_EQ(slurp(hosts), plant == Own ? "new\n" : "old\n") << plant;
        struct stat st {};
        EXPECT_NE(::lstat(journal.c_str(), &st), 0) << plant;
    }
}

// An append is cut back to where it began, but only while the file holds nothing else.
TEST(ChangeJournal, AnAppendIsCutBackOnlyWhileTheFileHoldsNothingElse) {
    for (const std::string after :
         {"old\n127.0.0", "old\n", "old\n127.0.0.1   x.example\nmore\n"}) {
        test::TempFolder dir;
        spit(dir / "hosts", "old\n");
        ChangeJournal(RealSyscalls(), dir / "journal")
            .recordAppend(dir / "hosts", test::statOf(dir / "hosts"), 20);
        spit(dir / "hosts", after); // the same file, as an append leaves it
        ChangeJournal(RealSyscalls(), dir / "journal").finish();
        EXPECT_EQ(slurp(dir / "hosts"), after.size() <= 4 + 20 ? "old\n" : after);
        EXPECT_EQ(dir.entries(), std::vector<std::string>{"hosts"});
    }
}

} // namespace
} // namespace palisade
