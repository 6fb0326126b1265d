#include "ScratchFolder.h"
#include "support/ErrorOf.h"
#include "windows/system/Handles.h"
#include "windows/system/Win32FileSystem.h"

#include <gtest/gtest.h>
#include <vector>

namespace palisade {
namespace {

using test::ErrorOf;

using test::ReadWhole;
using test::ScratchFolder;
using test::WriteWhole;

// The real file calls, with chosen ones failing on demand.
class FaultyFileApi : public Win32FileApi {
public:
    int replaceFailures = 0; // how many ReplaceFileA calls fail before they work again
    DWORD replaceError = ERROR_SHARING_VIOLATION;
    int replaceCalls = 0;
    // Fail as Windows can after moving the target to the backup name.
    bool replaceMovesTargetAway = false;

    int writeCallsThatWork = -1; // WriteFile fails after this many calls; -1 never
    DWORD writeError = ERROR_DISK_FULL;
    int writeCalls = 0;

    bool flushFails = false;
    std::vector<DWORD> sleeps;
    std::vector<std::string> created; // names of files made new
    std::vector<std::string> pieces;  // what each WriteFile that worked was given

    BOOL ReplaceFileA(LPCSTR replaced, LPCSTR replacement, LPCSTR backup, DWORD flags) override {
        ++replaceCalls;
        if (replaceFailures > 0) {
            --replaceFailures;
            if (replaceMovesTargetAway && !::MoveFileExA(replaced, backup, 0))
                return FALSE;
            ::SetLastError(replaceError);
            return FALSE;
        }
        return Win32FileApi::ReplaceFileA(replaced, replacement, backup, flags);
    }
    BOOL WriteFile(HANDLE file, const void* buffer, DWORD size, DWORD* written) override {
        if (writeCallsThatWork >= 0 && writeCalls++ >= writeCallsThatWork) {
            ::SetLastError(writeError);
            return FALSE;
        }
        pieces.emplace_back(static_cast<const char*>(buffer), size);
        return Win32FileApi::WriteFile(file, buffer, size, written);
    }
    HANDLE CreateFileA(LPCSTR name, DWORD access, DWORD share, DWORD disposition,
                       DWORD flags) override {
        if (disposition == CREATE_NEW)
            created.push_back(name);
        return Win32FileApi::CreateFileA(name, access, share, disposition, flags);
    }
    BOOL FlushFileBuffers(HANDLE file) override {
        if (flushFails) {
            ::SetLastError(ERROR_DISK_FULL);
            return FALSE;
        }
        return Win32FileApi::FlushFileBuffers(file);
    }
    void Sleep(DWORD milliseconds) override { sleeps.push_back(milliseconds); }
};

class ReplaceFileTest : public ::testing::Test {
protected:
    ScratchFolder folder;
    FaultyFileApi api;
    Win32FileSystem fs{api};
    const std::string hosts = folder.file("hosts");
    const std::string oldContent = "127.0.0.1 localhost\r\n";
};

TEST_F(ReplaceFileTest, ReplacesContentAndLeavesNoTemporaryFile) {
    WriteWhole(hosts, oldContent + std::string(5000, 'x'));
    fs.replaceFile(hosts, oldContent);
    EXPECT_EQ(ReadWhole(hosts), oldContent);
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"hosts"});
}

TEST_F(ReplaceFileTest, CreatesAMissingTarget) {
    fs.replaceFile(hosts, oldContent);
    EXPECT_EQ(ReadWhole(hosts), oldContent);
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"hosts"});
    EXPECT_EQ(api.replaceCalls, 0);
}

TEST_F(ReplaceFileTest, TargetKeepsItsAttributes) {
    WriteWhole(hosts, oldContent);
    ASSERT_TRUE(::SetFileAttributesA(hosts.c_str(), FILE_ATTRIBUTE_HIDDEN));
    fs.replaceFile(hosts, "new\r\n");
    EXPECT_EQ(ReadWhole(hosts), "new\r\n");
    EXPECT_TRUE(::GetFileAttributesA(hosts.c_str()) & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"hosts"});
}

TEST_F(ReplaceFileTest, PassingSharingConflictsAreWaitedOut) {
    WriteWhole(hosts, oldContent);
    api.replaceFailures = 3;
    fs.replaceFile(hosts, "new\r\n");
    EXPECT_EQ(ReadWhole(hosts), "new\r\n");
    EXPECT_EQ(api.replaceCalls, 4);
    EXPECT_EQ(api.sleeps, (std::vector<DWORD>{100, 100, 100}));
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"hosts"});
}

TEST_F(ReplaceFileTest, EveryConflictKindIsRetried) {
    for (DWORD code : {ERROR_SHARING_VIOLATION, ERROR_LOCK_VIOLATION,
                       ERROR_UNABLE_TO_REMOVE_REPLACED, ERROR_ACCESS_DENIED}) {
        WriteWhole(hosts, oldContent);
        api.replaceCalls = 0;
        api.replaceFailures = 1;
        api.replaceError = code;
        fs.replaceFile(hosts, "new\r\n");
        EXPECT_EQ(api.replaceCalls, 2) << code;
        EXPECT_EQ(ReadWhole(hosts), "new\r\n") << code;
    }
}

TEST_F(ReplaceFileTest, LastingConflictGivesUpKeepingTheOldContent) {
    WriteWhole(hosts, oldContent);
    api.replaceFailures = 1000;
    EXPECT_EQ(ErrorOf([&] { fs.replaceFile(hosts, "new\r\n"); }), "Permission denied");
    EXPECT_EQ(api.replaceCalls, 10);
    EXPECT_EQ(api.sleeps.size(), 9u);
    EXPECT_EQ(ReadWhole(hosts), oldContent);
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"hosts"});
}

TEST_F(ReplaceFileTest, TargetMovedAsideByAFailedReplaceIsPutBack) {
    WriteWhole(hosts, oldContent);
    api.replaceFailures = 1000;
    api.replaceError = ERROR_UNABLE_TO_MOVE_REPLACEMENT_2;
    api.replaceMovesTargetAway = true;
    EXPECT_NE(ErrorOf([&] { fs.replaceFile(hosts, "new\r\n"); }), "no error");
    EXPECT_EQ(api.replaceCalls, 10);
    EXPECT_EQ(ReadWhole(hosts), oldContent);
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"hosts"});
}

TEST_F(ReplaceFileTest, OtherFailuresAreNotRetried) {
    WriteWhole(hosts, oldContent);
    api.replaceFailures = 1000;
    api.replaceError = ERROR_DISK_FULL;
    EXPECT_EQ(ErrorOf([&] { fs.replaceFile(hosts, "new\r\n"); }), "Disk full");
    EXPECT_EQ(api.replaceCalls, 1);
    EXPECT_TRUE(api.sleeps.empty());
    EXPECT_EQ(ReadWhole(hosts), oldContent);
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"hosts"});
}

TEST_F(ReplaceFileTest, WriteFailingPartWayLeavesTheTargetWhole) {
    WriteWhole(hosts, oldContent);
    // More than one write piece, so the first piece lands and the second fails.
    const std::string big(3 << 20, 'b');
    api.writeCallsThatWork = 1;
    EXPECT_EQ(ErrorOf([&] { fs.replaceFile(hosts, big); }), "Disk full");
    EXPECT_EQ(api.writeCalls, 2);
    EXPECT_EQ(api.replaceCalls, 0);
    EXPECT_EQ(ReadWhole(hosts), oldContent);
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"hosts"});
}

TEST_F(ReplaceFileTest, FlushFailureLeavesTheTargetWhole) {
    WriteWhole(hosts, oldContent);
    api.flushFails = true;
    EXPECT_EQ(ErrorOf([&] { fs.replaceFile(hosts, "new\r\n"); }), "Disk full");
    EXPECT_EQ(ReadWhole(hosts), oldContent);
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"hosts"});
}

TEST_F(ReplaceFileTest, TargetHeldOpenByAnotherProgramKeepsItsContent) {
    WriteWhole(hosts, oldContent);
    // As an editor would hold it: reading and writing shared, deleting not.
    UniqueHandle holder(::CreateFileA(hosts.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(holder);
    EXPECT_NE(ErrorOf([&] { fs.replaceFile(hosts, "new\r\n"); }), "no error");
    EXPECT_EQ(api.sleeps.size(), 9u);
    holder.reset();
    EXPECT_EQ(ReadWhole(hosts), oldContent);
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"hosts"});
}

TEST_F(ReplaceFileTest, TemporaryFilesAreNamedForUsAndStaleOnesGo) {
    WriteWhole(hosts, oldContent);
    FILETIME now{};
    ::GetSystemTimeAsFileTime(&now);
    // Left by a crash two minutes ago, still being written, not our name, beside another file.
    for (const auto& [name, age] :
         std::vector<std::pair<std::string, ULONGLONG>>{{"hosts.palisade-77-1.tmp", 120},
                                                        {"hosts.palisade-77-2.tmp", 10},
                                                        {"hosts.palisade-77-3.txt", 120},
                                                        {"other.palisade-77-1.tmp", 120}}) {
        WriteWhole(folder.file(name), "partial");
        const ULONGLONG then =
            ((ULONGLONG(now.dwHighDateTime) << 32) | now.dwLowDateTime) - age * 10'000'000ULL;
        const FILETIME written{DWORD(then), DWORD(then >> 32)};
        UniqueHandle file(::CreateFileA(folder.file(name).c_str(), FILE_WRITE_ATTRIBUTES, 0,
                                        nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(::SetFileTime(file.get(), nullptr, nullptr, &written));
    }

    fs.replaceFile(hosts, "new\r\n");

    ASSERT_EQ(api.created.size(), 1u);
    EXPECT_EQ(api.created[0].rfind(hosts + ".palisade-", 0), 0u) << api.created[0];
    EXPECT_EQ(folder.entries(),
              (std::vector<std::string>{"hosts", "hosts.palisade-77-2.tmp",
                                        "hosts.palisade-77-3.txt", "other.palisade-77-1.tmp"}));
}

TEST_F(ReplaceFileTest, MissingFolderCreatesNothing) {
    EXPECT_EQ(ErrorOf([&] { fs.replaceFile(folder.file("nowhere\\hosts"), "x"); }),
              "Path not found");
    EXPECT_TRUE(folder.entries().empty());
}

// The block lines go in pieces that end at line ends; a full disk or a failed flush leaves the
// file as it was.
TEST_F(ReplaceFileTest, AppendedLinesGoWholeOrNotAtAll) {
    std::string lines;
    for (int i = 0; i < 5000; ++i)
        lines += "127.0.0.1          site" + std::to_string(i) + ".example\r\n";
    WriteWhole(hosts, oldContent);
    TextLines source(lines);
    fs.appendLines(hosts, source, "");
    EXPECT_EQ(ReadWhole(hosts), oldContent + lines);
    ASSERT_GT(api.pieces.size(), 1u);
    for (const auto& piece : api.pieces)
        EXPECT_EQ(piece.back(), '\n');

    for (int works : {0, 1, -1}) {
        FaultyFileApi failing;
        failing.writeCallsThatWork = works;
        failing.flushFails = works < 0;
        Win32FileSystem full(failing);
        WriteWhole(hosts, oldContent);
        TextLines again(lines);
        EXPECT_EQ(ErrorOf([&] { full.appendLines(hosts, again, ""); }), "Disk full") << works;
        EXPECT_EQ(ReadWhole(hosts), oldContent) << works;
    }
}

} // namespace
} // namespace palisade
