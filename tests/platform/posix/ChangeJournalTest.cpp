#include "platform/posix/ChangeJournal.h"

#include "PosixTestSupport.h"

#include <functional>
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
    struct Case {
        const char* what;
        std::function<void(const std::string& journal, const std::string& folder)> plant;
        bool actedOn;
    };
    const Case cases[] = {
        {"its own record", [](const std::string&, const std::string&) {}, true},
        {"a link to a record",
         [](const std::string& journal, const std::string& folder) {
             EXPECT_EQ(::rename(journal.c_str(), (folder + "/elsewhere").c_str()), 0);
             EXPECT_EQ(::symlink("elsewhere", journal.c_str()), 0);
         },
         false},
        {"readable by others",
         [](const std::string& journal, const std::string&) {
             EXPECT_EQ(::chmod(journal.c_str(), 0644), 0);
         },
         false},
        {"another owner",
         [](const std::string& journal, const std::string&) {
             if (::chown(journal.c_str(), 4321, 4321) != 0)
                 spit(journal, "not ours"); // without root: stands in as bytes that are no record
         },
         false},
        {"cut short",
         [](const std::string& journal, const std::string&) {
             const std::string bytes = slurp(journal);
             EXPECT_EQ(::truncate(journal.c_str(), static_cast<off_t>(bytes.size() - 1)), 0);
         },
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test::TempFolder dir;
        const std::string hosts = dir / "hosts";
        const std::string journal = dir / "journal";
        spit(hosts, "old\n");
        ChangeJournal(realSyscalls(), journal).recordRewrite(hosts, "new\n");
        c.plant(journal, dir.path());

        ChangeJournal(realSyscalls(), journal).finish();

        EXPECT_EQ(slurp(hosts), c.actedOn ? "new\n" : "old\n");
        struct stat st {};
        EXPECT_NE(::lstat(journal.c_str(), &st), 0);
    }
}

// An append is cut back to where it began, only while the file can hold nothing but it.
TEST(ChangeJournal, AnAppendIsCutBackOnlyWhileTheFileHoldsNothingElse) {
    for (const std::string& after : {std::string("old\n127.0.0"), std::string("old\n"),
                                     std::string("old\n127.0.0.1          x.example\nmore\n")}) {
        test::TempFolder dir;
        const std::string hosts = dir / "hosts";
        spit(hosts, "old\n");
        const struct stat before = test::statOf(hosts);
        ChangeJournal(realSyscalls(), dir / "journal").recordAppend(hosts, before, 30);
        spit(hosts, after); // rewritten in the same file, as an append leaves it
        ChangeJournal(realSyscalls(), dir / "journal").finish();
        EXPECT_EQ(slurp(hosts), after.size() <= 4 + 30 ? "old\n" : after) << after;
        EXPECT_EQ(dir.entries(), std::vector<std::string>{"hosts"});
    }
}

} // namespace
} // namespace palisade
