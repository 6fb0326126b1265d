// A start or a stop killed at each system call it makes, with the hosts file renamed over or, as
// on a mount point, rewritten in place; then the next start and a stop. Whatever the moment, the
// hosts file afterwards is byte for byte what it was, with no torn line on the way.
#include "PosixTestSupport.h"
#include "RealHostsRig.h"
#include "linux/system/QSettingsStore.h"

#include <csignal>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <set>
#include <sstream>

namespace palisade::test {
namespace {

// The real calls; once armed, the process is killed at the call numbered killAt among those that
// change a file (a kill before a read is one before the next change). A rename onto the hosts
// file can be refused as a mount point's is.
class KillingSyscalls : public Syscalls {
public:
    int killAt = 0; // 0: never
    std::string busyTarget;

    int open(const char* path, int flags, mode_t mode) override {
        if (flags & (O_WRONLY | O_RDWR | O_CREAT))
            tick();
        return Syscalls::open(path, flags, mode);
    }
    // A kill cuts a write short: the kernel stops between two pages.
    ssize_t write(int fd, const void* b, size_t n) override {
        if (killAt == 1)
            Syscalls::write(fd, b, n / 2);
        return tick(), Syscalls::write(fd, b, n);
    }
    int fsync(int fd) override { return tick(), Syscalls::fsync(fd); }
    int fchmod(int fd, mode_t m) override { return tick(), Syscalls::fchmod(fd, m); }
    int fchown(int fd, uid_t u, gid_t g) override { return tick(), Syscalls::fchown(fd, u, g); }
    int unlink(const char* p) override { return tick(), Syscalls::unlink(p); }
    int mkstemp(char* t) override { return tick(), Syscalls::mkstemp(t); }
    int ftruncate(int fd, off_t n) override { return tick(), Syscalls::ftruncate(fd, n); }
    int rename(const char* from, const char* to) override {
        tick();
        if (to == busyTarget) {
            errno = EBUSY;
            return -1;
        }
        return Syscalls::rename(from, to);
    }

private:
    void tick() {
        if (killAt > 0 && --killAt == 0)
            ::raise(SIGKILL);
    }
};

const std::string Original = "127.0.0.1\tlocalhost\n127.0.0.1          mydev.local\n"
                             "# the last line without a line end";
// Made while blocking: it stays, so the stop's content is no part of what was there before.
const std::string Edit = "10.1.2.3 edited.example\n";

class KilledHostsChange : public ::testing::TestWithParam<bool> {
protected:
    // In memory where that can be had: hundreds of runs flush their files to the disk.
    ScratchFolder dir{std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : ""};
    const std::string hosts = dir / "hosts";
    const std::string data = dir / "data";
    std::vector<std::string> sites;

    void SetUp() override {
        // Long enough for the block lines to go in more than one piece.
        for (int i = 0; i < 2500; ++i)
            sites.push_back("site" + std::to_string(i) + ".example");
        sites.push_back("mydev.local");
    }

    // A start, or a start and then a stop, in a child killed at the call numbered killAt of the
    // part looked at. False when that part made fewer calls and the child ended on its own.
    bool RunKilledAt(int killAt, bool duringStop) {
        const int status = runInChild([&] {
            KillingSyscalls sys;
            if (GetParam())
                sys.busyTarget = hosts;
            QSettingsStore store(dir / "config");
            RealHostsRig rig(hosts, data, sys, &store);
            sys.killAt = duringStop ? 0 : killAt;
            rig.start(sites);
            if (duringStop) {
                WriteWhole(hosts, Edit, true);
                sys.killAt = killAt;
                rig.blocker.StopBlocking(false, StopRequest::BlockButton);
            }
            return true;
        });
        return status != 0;
    }

    // The next run: its start re-applies blocking when that was on, then it stops, by the button
    // or, with blocking off, at close.
    void StartAndStopAgain(const std::string& moment, const std::string& after) {
        QSettingsStore store(dir / "config");
        RealHostsRig rig(hosts, data, RealSyscalls(), &store);
        for (const auto& site : sites)
            rig.controls.ListView1.add(site);
        const bool on = store.read("Quillmoor", "Palisade Software", "BlockOnStart", "0") == "1";
        if (on) {
            rig.controls.PushButton2.setCaption("Stop Blocking");
            rig.blocker.StartBlocking(true);
        }
        rig.blocker.SettleInterruptedChange(); // as every start does
        ExpectWholeLines(moment + ", after the next start");
        rig.blocker.StopBlocking(false, on ? StopRequest::BlockButton : StopRequest::Close);
        EXPECT_EQ(ReadWhole(hosts), after) << moment;
        for (const char* left : {"hosts", "hosts-journal"})
            EXPECT_FALSE(std::filesystem::exists(data + "/" + left)) << moment << ": " << left;
        EXPECT_TRUE(rig.dialogs.messages.empty()) << moment;
    }

    // Every line is one of the original's or a whole block line of the list.
    void ExpectWholeLines(const std::string& moment) {
        std::set<std::string> known;
        std::istringstream original(Original);
        for (std::string line; std::getline(original, line);)
            known.insert(line);
        for (const auto& site : sites)
            known.insert("127.0.0.1          " + site);
        known.insert(Edit.substr(0, Edit.size() - 1));
        std::istringstream now(ReadWhole(hosts));
        for (std::string line; std::getline(now, line);) {
            if (!line.empty()) {
                ASSERT_TRUE(known.count(line)) << moment << ": [" << line << "]";
            }
        }
    }
};

TEST_P(KilledHostsChange, AtEveryCallOfAStartOrAStopTheNextRunsGiveTheFileBackWhole) {
    for (bool duringStop : {false, true}) {
        int kills = 0;
        for (int at = 1;; ++at) {
            WriteWhole(hosts, Original);
            std::filesystem::remove_all(data);
            std::filesystem::remove_all(dir / "config");
            if (!RunKilledAt(at, duringStop))
                break;
            ++kills;
            StartAndStopAgain(std::string(duringStop ? "stop" : "start") + " killed at call " +
                                  std::to_string(at),
                              duringStop ? Original + "\n" + Edit : Original);
            if (HasFatalFailure())
                return;
        }
        EXPECT_GE(kills, 8) << (duringStop ? "stop" : "start");
    }
}

INSTANTIATE_TEST_SUITE_P(RenamedOrRewrittenInPlace, KilledHostsChange, ::testing::Bool());

} // namespace
} // namespace palisade::test
