#include "blocking/BlockingRig.h"

#include <gtest/gtest.h>

namespace palisade::test {
namespace {

using Rig = BlockingRig;

bool IsFileOp(FsOp op) {
    return op != FsOp::Find && op != FsOp::CreateFolder;
}

// Whether text is the original hosts file followed by nothing but whole block lines of ours,
// the first possibly after a line end of its own.
bool IsOriginalPlusWholeBlockLines(const std::string& text, const std::string& original) {
    if (text.rfind(original, 0) != 0)
        return false;
    std::string rest = text.substr(original.size());
    if (rest.rfind("\r\n", 0) == 0)
        rest.erase(0, 2);
    for (const char* host : {"a.example", "b.example", "c.example"}) {
        const std::string line = BlockLine(host);
        if (rest.rfind(line, 0) == 0)
            rest.erase(0, line.size());
    }
    return rest.empty();
}

// Runs start then stop with the n-th file operation failing, counting operations from 1.
// Returns false when the run had fewer than n operations.
bool RunWithFailureAt(int n, Rig& rig, std::string& afterStart, std::string& failed) {
    rig.add("a.example");
    rig.add("b.example");
    rig.add("c.example");
    int seen = 0;
    bool injected = false;
    rig.fs.beforeOp = [&](FsOp op, const std::string&) {
        if (IsFileOp(op) && ++seen == n) {
            injected = true;
            failed = rig.log.calls.back();
            throw RuntimeError("Permission denied");
        }
    };
    rig.switchCaptionOn();
    rig.blocker.StartBlocking(false);
    afterStart = rig.hosts();
    rig.blocker.StopBlocking(false, StopRequest::BlockButton);
    return injected;
}

// Whatever single file operation fails during a start and the stop after it, nothing is lost:
// the hosts file is never truncated, appended lines are whole, the snapshot stays until the
// restore worked, and the user sees only the messages the program has for it.
TEST(BlockingFailureSweep, NoSingleFailureLosesTheOriginalHostsFile) {
    for (const std::string& original : {std::string(Rig::Original), std::string("no line end")}) {
        int runs = 0;
        for (int n = 1;; ++n) {
            Rig rig;
            rig.fs.files[Rig::Hosts] = original;
            std::string afterStart;
            std::string failed;
            if (!RunWithFailureAt(n, rig, afterStart, failed))
                break;
            ++runs;
            SCOPED_TRACE("failing " + failed);
            EXPECT_TRUE(IsOriginalPlusWholeBlockLines(afterStart, original)) << afterStart;

            // Without a readable snapshot the stop cannot tell that the line end before the
            // first block line was not there before; a line end more is harmless.
            const bool restored = rig.hosts() == original ||
                                  (original == "no line end" && rig.hosts() == original + "\r\n");
            EXPECT_TRUE(restored || (rig.hasSnapshot() && rig.fs.files[Rig::Snapshot] == original))
                << rig.hosts();
            if (!restored) {
                EXPECT_EQ(rig.hosts(), afterStart);
            }
            EXPECT_EQ(rig.controls.PushButton2.caption(), "Start Blocking");
            for (const auto& m : rig.dialogs.messages) {
                const bool known =
                    m.text.rfind("Could not start blocking.\r\n", 0) == 0 ||
                    m.text.rfind("Could not restore settings.\r\n", 0) == 0 ||
                    m.text.rfind("Permission denied\r\nin Hedgerow2021/08/31.", 0) == 0;
                EXPECT_TRUE(known) << m.text;
            }
        }
        // Reads, the snapshot, three appends, the stop's reads, its write and the delete.
        EXPECT_GE(runs, 8);
    }
}

} // namespace
} // namespace palisade::test
