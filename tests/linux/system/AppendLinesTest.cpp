#include "PosixTestSupport.h"
#include "linux/system/PosixFileSystem.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <sys/stat.h>

namespace palisade {
namespace {

// The real calls, with a full disk after a budget of bytes (a short write first, as a filling
// disk gives) or a failing flush; the flushes are counted.
class DiskSyscalls : public Syscalls {
public:
    std::optional<size_t> budget;
    bool syncFails = false;
    int syncs = 0;

    ssize_t write(int fd, const void* buffer, size_t size) override {
        if (budget && *budget == 0) {
            errno = ENOSPC;
            return -1;
        }
        if (budget)
            *budget -= size = std::min(size, *budget);
        return Syscalls::write(fd, buffer, size);
    }
    int fsync(int fd) override {
        ++syncs;
        errno = EIO;
        return syncFails ? -1 : Syscalls::fsync(fd);
    }
};

// All the lines with one flush, or, when a write or the flush fails, the file cut back to its size
// before; only ever a plain file, and never waiting for a reader.
TEST(AppendLines, AllOrNothingWithOneFlushAndOnlyToAPlainFile) {
    test::TempFolder dir;
    const std::string hosts = dir / "hosts";
    const std::string original = "127.0.0.1 localhost\n# no line end";
    std::string lines;
    for (int i = 0; i < 10000; ++i)
        lines += "127.0.0.1          site" + std::to_string(i) + ".example\n";
    const struct {
        std::optional<size_t> budget;
        bool syncFails;
        const char* error;
    } cases[] = {{0, false, "Disk full"},
                 {25, false, "Disk full"},
                 {100000, false, "Disk full"},
                 {std::nullopt, true, std::strerror(EIO)},
                 {std::nullopt, false, nullptr}};
    for (const auto& c : cases) {
        test::spit(hosts, original);
        DiskSyscalls sys;
        sys.budget = c.budget;
        sys.syncFails = c.syncFails;
        TextLines source(lines);
        std::string error;
        try {
            PosixFileSystem(sys).appendLines(hosts, source, "");
        } catch (const RuntimeError& e) {
            error = e.what();
        }
        EXPECT_EQ(error, c.error ? c.error : "");
        EXPECT_EQ(test::slurp(hosts), c.error ? original : original + lines);
        if (!c.error) {
            EXPECT_EQ(sys.syncs, 1);
        }
    }

    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
    ASSERT_EQ(::mkdir((dir / "folder").c_str(), 0755), 0);
    for (const char* name : {"fifo", "folder"}) {
        TextLines one("a\n");
        EXPECT_THROW(PosixFileSystem().appendLines(dir / name, one, dir / "journal"), RuntimeError);
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "journal"));
}

} // namespace
} // namespace palisade
