#include "PosixTestSupport.h"
#include "platform/posix/PosixFileSystem.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <sys/stat.h>

namespace palisade {
namespace {

using test::slurp;
using test::spit;

// The real calls, recording each write; a full disk after a budget of bytes, or a failing flush.
class DiskSyscalls : public Syscalls {
public:
    std::vector<std::string> writes;
    std::optional<size_t> budget;
    bool syncFails = false;
    int syncs = 0;

    ssize_t write(int fd, const void* buffer, size_t size) override {
        if (budget) {
            if (*budget == 0) {
                errno = ENOSPC;
                return -1;
            }
            size = std::min(size, *budget); // a short write first, as a filling disk gives
            *budget -= size;
        }
        writes.emplace_back(static_cast<const char*>(buffer), size);
        return Syscalls::write(fd, buffer, size);
    }
    int fsync(int fd) override {
        ++syncs;
        if (syncFails) {
            errno = EIO;
            return -1;
        }
        return Syscalls::fsync(fd);
    }
};

std::string ManyLines() {
    std::string lines;
    for (int i = 0; i < 10000; ++i)
        lines += "127.0.0.1          site" + std::to_string(i) + ".example\n";
    return lines + std::string(70000, 'x') + "\n" + "127.0.0.1          last.example\n";
}

class AppendLines : public ::testing::Test {
protected:
    test::TempFolder dir;
    DiskSyscalls sys;
    PosixFileSystem fs{sys};
    std::string hosts = dir / "hosts";
    const std::string original = "127.0.0.1 localhost\n# no line end";
};

TEST_F(AppendLines, GoInPiecesOfWholeLinesWithOneFlush) {
    spit(hosts, original);
    const std::string lines = ManyLines();
    TextLines source(lines);
    fs.appendLines(hosts, source, "");

    EXPECT_EQ(slurp(hosts), original + lines);
    EXPECT_EQ(sys.syncs, 1);
    EXPECT_GT(sys.writes.size(), 4u);
    for (const auto& piece : sys.writes) {
        EXPECT_EQ(piece.back(), '\n');
        EXPECT_TRUE(piece.size() <= 64 * 1024 || piece.find('\n') == piece.size() - 1);
    }
    TextLines one("a\n");
    fs.appendLines(dir / "new", one, "");
    EXPECT_EQ(slurp(dir / "new"), "a\n");
}

TEST_F(AppendLines, FailureAnywhereCutsTheFileBackToItsSizeBefore) {
    const std::string lines = ManyLines();
    using Budget = std::optional<size_t>;
    for (const Budget budget : {Budget(0), Budget(25), Budget(100000), Budget()}) {
        spit(hosts, original);
        DiskSyscalls failing;
        failing.budget = budget;
        failing.syncFails = !budget;
        PosixFileSystem full(failing);
        try {
            TextLines source(lines);
            full.appendLines(hosts, source, "");
            ADD_FAILURE() << "no error";
        } catch (const RuntimeError& e) {
            EXPECT_EQ(std::string(e.what()), budget ? "Disk full" : std::strerror(EIO));
        }
        EXPECT_EQ(slurp(hosts), original) << (budget ? *budget : 0);
    }
}

TEST_F(AppendLines, OnlyToAPlainFileAndNeverWaitingForAReader) {
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
    ASSERT_EQ(::mkdir((dir / "folder").c_str(), 0755), 0);
    for (const char* name : {"fifo", "folder"}) {
        TextLines one("a\n");
        EXPECT_THROW(fs.appendLines(dir / name, one, dir / "journal"), RuntimeError) << name;
        EXPECT_TRUE(sys.writes.empty());
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "journal"));
}

} // namespace
} // namespace palisade
