#include "linux/system/PkexecHelper.h"

#include "PosixTestSupport.h"
#include "support/Fakes.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace palisade::test {
namespace {

// A stand-in for pkexec: notes its arguments and its input, answers two lines and the status
// that the test has put in place (not reading its input first when that is "early").
struct StandIn {
    TempFolder dir;
    std::string pkexec = dir / "pkexec";
    std::string helper = dir / "palisade-helper";
    CountingEventPump pump;
    PkexecHelper runner{pump, helper, pkexec};

    StandIn() {
        spit(helper, "#!/bin/sh\n");
        ::chmod(helper.c_str(), 0755);
        spit(pkexec,
             "#!/bin/sh\nd=$(dirname \"$0\")\necho \"$*\" >\"$d/args\"\n"
             "[ \"$(cat \"$d/status\")\" = early ] && { echo gone; exit 1; }\n"
             "cat >\"$d/input\"\nprintf 'the line\\nmore\\n'\nexit \"$(cat \"$d/status\")\"\n");
        ::chmod(pkexec.c_str(), 0755);
    }
    void answer(const std::string& status) { spit(dir / "status", status); }
};

TEST(PkexecHelper, HandsTheRequestAndEntriesToPkexecAndGivesBackItsStatusAndFirstLine) {
    struct Case {
        int status;
        bool atClose;
    };
    for (const Case& c : {Case{0, false}, Case{1, true}, Case{127, false}}) {
        StandIn s;
        s.answer(std::to_string(c.status));
        const HelperAnswer a = s.runner.stop({"a.example", "b.example"}, c.atClose);
        EXPECT_EQ(a.status, c.status);
        EXPECT_EQ(a.line, "the line");
        EXPECT_EQ(slurp(s.dir / "args"),
                  s.helper + (c.atClose ? " stop close\n" : " stop button\n"));
        EXPECT_EQ(slurp(s.dir / "input"), "a.example\nb.example\n");
    }
}

TEST(PkexecHelper, ALongListReachesTheHelperWhileTheWindowsEventsRun) {
    StandIn s;
    s.answer("0");
    std::vector<std::string> entries;
    std::string expected;
    for (int i = 0; i < 200000; ++i) {
        entries.push_back("host-" + std::to_string(i) + ".example");
        expected += entries.back() + "\n";
    }
    const HelperAnswer a = s.runner.start(entries, true);
    EXPECT_EQ(a.status, 0);
    EXPECT_EQ(slurp(s.dir / "args"), s.helper + " start reapply\n");
    EXPECT_EQ(slurp(s.dir / "input"), expected);
    EXPECT_GT(s.pump.count, 0);
}

TEST(PkexecHelper, AHelperThatEndsUnreadOrIsMissingOrNoPkexecIsAnAnswerNotAHang) {
    StandIn s;
    s.answer("early");
    const HelperAnswer early = s.runner.start(std::vector<std::string>(100000, "a.example"), false);
    EXPECT_EQ(early.status, 1);
    EXPECT_EQ(early.line, "gone");

    PkexecHelper missing(s.pump, s.dir / "nowhere", s.pkexec);
    EXPECT_EQ(missing.autostart(true).status, helper_status::Missing);
    EXPECT_EQ(missing.autostart(true).line, s.dir / "nowhere");

    PkexecHelper noPkexec(s.pump, s.helper, s.dir / "no-pkexec");
    EXPECT_EQ(noPkexec.autostart(false).status, helper_status::NotRun);
}

} // namespace
} // namespace palisade::test
