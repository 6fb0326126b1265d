#include "linux/system/PosixFileSystem.h"

#include "PosixTestSupport.h"
#include "linux/system/ErrnoText.h"

#include <cerrno>
#include <cstring>
#include <functional>
#include <gtest/gtest.h>
#include <tuple>
#include <unistd.h>

namespace palisade {
namespace {

using test::slurp;
using test::spit;

std::string errorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const RuntimeError& e) {
        return e.what();
    }
    return "(no error)";
}

class PosixFileSystemTest : public ::testing::Test {
protected:
    test::TempFolder dir;
    PosixFileSystem fs;
};

TEST_F(PosixFileSystemTest, FindTellsEntryKindsApart) {
    spit(dir / "file", "x");
    ASSERT_EQ(::mkdir((dir / "folder").c_str(), 0755), 0);
    ASSERT_EQ(::symlink("file", (dir / "to-file").c_str()), 0);
    ASSERT_EQ(::symlink("folder", (dir / "to-folder").c_str()), 0);
    ASSERT_EQ(::symlink("nowhere", (dir / "dangling").c_str()), 0);

    EXPECT_TRUE(fs.find(dir / "file", EntryFilter::OrdinaryFiles));
    EXPECT_TRUE(fs.find(dir / "to-file", EntryFilter::OrdinaryFiles));
    EXPECT_FALSE(fs.find(dir / "folder", EntryFilter::OrdinaryFiles));
    EXPECT_FALSE(fs.find(dir / "to-folder", EntryFilter::OrdinaryFiles));
    EXPECT_FALSE(fs.find(dir / "dangling", EntryFilter::OrdinaryFiles));
    EXPECT_FALSE(fs.find(dir / "missing", EntryFilter::OrdinaryFiles));

    EXPECT_TRUE(fs.find(dir / "file", EntryFilter::FilesAndFolders));
    EXPECT_TRUE(fs.find(dir / "folder", EntryFilter::FilesAndFolders));
    EXPECT_TRUE(fs.find(dir / "dangling", EntryFilter::FilesAndFolders));
    EXPECT_FALSE(fs.find(dir / "missing", EntryFilter::FilesAndFolders));
    EXPECT_FALSE(fs.find(dir / "file/below", EntryFilter::FilesAndFolders));
}

TEST_F(PosixFileSystemTest, EmptyOrNulNamesAreBadNamesNotMissingFiles) {
    // A NUL would cut the name short and aim the call at another file.
    spit(dir / "real", "keep");
    const std::string cut = dir / std::string("real\0.tmp", 9);

    EXPECT_EQ(errorOf([&] { fs.find("", EntryFilter::FilesAndFolders); }),
              "Bad file name or number");
    EXPECT_EQ(errorOf([&] { fs.find(cut, EntryFilter::OrdinaryFiles); }),
              "Bad file name or number");
    EXPECT_EQ(errorOf([&] { fs.writeFile(cut, "new"); }), "Bad file name or number");
    EXPECT_EQ(errorOf([&] { fs.replaceFile(cut, "new"); }), "Bad file name or number");
    EXPECT_EQ(errorOf([&] { fs.removeFile(cut); }), "Bad file name or number");
    EXPECT_FALSE(fs.canOpenExisting(cut));
    EXPECT_FALSE(fs.canOpenExisting(""));
    EXPECT_EQ(slurp(dir / "real"), "keep");
}

TEST_F(PosixFileSystemTest, CanOpenExistingOnlyForExistingNonFolders) {
    spit(dir / "file", "");
    ASSERT_EQ(::chmod((dir / "file").c_str(), 0), 0); // no access is asked for
    ASSERT_EQ(::mkdir((dir / "folder").c_str(), 0755), 0);
    ASSERT_EQ(::symlink("file", (dir / "to-file").c_str()), 0);
    ASSERT_EQ(::symlink("folder", (dir / "to-folder").c_str()), 0);

    EXPECT_TRUE(fs.canOpenExisting(dir / "file"));
    EXPECT_TRUE(fs.canOpenExisting(dir / "to-file"));
    EXPECT_FALSE(fs.canOpenExisting(dir / "folder"));
    EXPECT_FALSE(fs.canOpenExisting(dir / "to-folder"));
    EXPECT_FALSE(fs.canOpenExisting(dir / "missing"));
    EXPECT_FALSE(fs.canOpenExisting(dir / "missing/deeper"));
}

TEST_F(PosixFileSystemTest, BytesRoundTripUnchanged) {
    const char raw[] = "line\r\nnul\0high\xff\x80\n";
    const std::string bytes(raw, sizeof raw - 1);
    fs.writeFile(dir / "f", bytes);
    EXPECT_EQ(fs.readFile(dir / "f"), bytes);
    EXPECT_EQ(slurp(dir / "f"), bytes);

    std::string big(300000, '\0');
    for (size_t i = 0; i < big.size(); ++i)
        big[i] = static_cast<char>(i * 7);
    fs.writeFile(dir / "big", big);
    EXPECT_EQ(fs.readFile(dir / "big"), big);
}

TEST_F(PosixFileSystemTest, WriteTruncatesButAppendCreatesAndNeverTruncates) {
    fs.appendFile(dir / "hosts", "a\r\n");
    fs.appendFile(dir / "hosts", "b\r\n");
    EXPECT_EQ(slurp(dir / "hosts"), "a\r\nb\r\n");

    fs.writeFile(dir / "hosts", "c");
    EXPECT_EQ(slurp(dir / "hosts"), "c");
    fs.appendFile(dir / "hosts", "");
    EXPECT_EQ(slurp(dir / "hosts"), "c");
}

TEST_F(PosixFileSystemTest, CopyReplacesDestinationAndFailsWithoutTouchingIt) {
    spit(dir / "source", "short");
    spit(dir / "destination", "a much longer old content");
    ASSERT_EQ(::chmod((dir / "destination").c_str(), 0640), 0);

    fs.copyFile(dir / "source", dir / "destination");
    EXPECT_EQ(slurp(dir / "destination"), "short");
    EXPECT_EQ(test::statOf(dir / "destination").st_mode & 07777, 0640u);
    EXPECT_EQ(slurp(dir / "source"), "short");

    EXPECT_EQ(errorOf([&] { fs.copyFile(dir / "missing", dir / "destination"); }),
              "File not found");
    EXPECT_EQ(slurp(dir / "destination"), "short");

    fs.copyFile(dir / "source", dir / "new");
    EXPECT_EQ(slurp(dir / "new"), "short");
}

TEST_F(PosixFileSystemTest, RemoveAndForceRemove) {
    spit(dir / "plain", "");
    spit(dir / "read-only", "");
    ASSERT_EQ(::chmod((dir / "read-only").c_str(), 0444), 0);

    fs.removeFile(dir / "plain");
    fs.forceRemoveFile(dir / "read-only");
    EXPECT_TRUE(dir.entries().empty());
    EXPECT_EQ(errorOf([&] { fs.removeFile(dir / "plain"); }), "File not found");
    EXPECT_EQ(errorOf([&] { fs.forceRemoveFile(dir / "plain"); }), "File not found");
}

TEST_F(PosixFileSystemTest, FailuresCarryTheDescriptionsUsersSee) {
    spit(dir / "file", "x");
    EXPECT_EQ(errorOf([&] { fs.readFile(dir / "missing"); }), "File not found");
    EXPECT_EQ(errorOf([&] { fs.readFile(dir / "no-folder/file"); }), "Path not found");
    EXPECT_EQ(errorOf([&] { fs.writeFile(dir / "no-folder/file", "x"); }), "Path not found");
    EXPECT_EQ(errorOf([&] { fs.createFolder(dir / "no-folder/sub"); }), "Path not found");
    EXPECT_EQ(errorOf([&] { fs.readFile(dir.path()); }), "Path/File access error");
    EXPECT_EQ(errorOf([&] { fs.createFolder(dir / "file"); }), "Path/File access error");
    EXPECT_EQ(errorOf([&] { fs.writeFile(dir / "file/below", "x"); }), "Path/File access error");

    fs.createFolder(dir / "made");
    EXPECT_TRUE(S_ISDIR(test::statOf(dir / "made").st_mode));
    EXPECT_EQ(errorOf([&] { fs.createFolder(dir / "made"); }), "Path/File access error");

    Syscalls& sys = RealSyscalls();
    for (int error : {EACCES, EPERM, EROFS})
        EXPECT_EQ(DescribeErrno(sys, error, dir / "file"), "Permission denied");
    EXPECT_EQ(DescribeErrno(sys, ENOSPC, dir / "file"), "Disk full");
    EXPECT_EQ(DescribeErrno(sys, EIO, dir / "file"), std::strerror(EIO));
}

// A file that grows after it was measured: fstat reports it empty.
struct ShrinkingStat : Syscalls {
    int fstat(int fd, struct stat* st) override {
        const int result = Syscalls::fstat(fd, st);
        st->st_size = 0;
        return result;
    }
};

TEST_F(PosixFileSystemTest, ReadUpToTakesOnlyARegularFileWithinTheLimitAndNeverWaits) {
    spit(dir / "ten", "0123456789");
    spit(dir / "eleven", "0123456789A");
    ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0600), 0); // no writer: a plain open would wait
    ASSERT_EQ(::symlink("/dev/zero", (dir / "zero").c_str()), 0);
    ShrinkingStat growing;
    PosixFileSystem measuresWrong(growing);
    const std::tuple<FileSystem&, std::string, std::string> cases[] = {
        {fs, "ten", "0123456789"},
        {fs, "eleven", "File too large"},
        {fs, "pipe", "Not a regular file"},
        {fs, "zero", "Not a regular file"},
        {fs, "", "Not a regular file"},
        {fs, "missing", "File not found"},
        {measuresWrong, "eleven", "File too large"},
        {measuresWrong, "ten", "0123456789"}};
    for (const auto& [files, name, expected] : cases) {
        std::string read;
        const std::string error = errorOf([&] { read = files.readFileUpTo(dir / name, 10); });
        EXPECT_EQ(error == "(no error)" ? read : error, expected) << name;
    }
}

} // namespace
} // namespace palisade
