#include "windows/system/Win32FileSystem.h"

#include "ScratchFolder.h"
#include "support/ErrorOf.h"
#include "windows/system/Handles.h"
#include "windows/system/Win32Errors.h"

#include <gtest/gtest.h>

namespace palisade {
namespace {

using namespace std::string_literals;
using test::ErrorOf;

using test::ReadWhole;
using test::ScratchFolder;
using test::WriteWhole;

// Every byte value, line ends of both kinds and NULs: nothing may be re-encoded.
std::string AllBytes() {
    std::string bytes;
    for (int i = 0; i < 256; ++i)
        bytes.push_back(static_cast<char>(i));
    return bytes + "\r\n\n\r" + std::string(3, '\0');
}

class Win32FileSystemTest : public ::testing::Test {
protected:
    ScratchFolder folder;
    Win32FileSystem fs;
};

TEST_F(Win32FileSystemTest, WriteAppendAndReadKeepEveryByte) {
    const std::string path = folder.file("list.txt");
    fs.writeFile(path, AllBytes());
    EXPECT_EQ(fs.readFile(path), AllBytes());

    fs.appendFile(path, "127.0.0.1          example.com\r\n");
    EXPECT_EQ(ReadWhole(path), AllBytes() + "127.0.0.1          example.com\r\n");
}

TEST_F(Win32FileSystemTest, WriteTruncatesAndAppendCreates) {
    const std::string written = folder.file("written");
    WriteWhole(written, std::string(10000, 'x'));
    fs.writeFile(written, "short");
    EXPECT_EQ(ReadWhole(written), "short");

    const std::string appended = folder.file("appended");
    fs.appendFile(appended, "one\r\n");
    fs.appendFile(appended, "two\r\n");
    EXPECT_EQ(ReadWhole(appended), "one\r\ntwo\r\n");
}

TEST_F(Win32FileSystemTest, ReadsAndWritesFilesLargerThanOneWritePiece) {
    std::string big;
    for (int i = 0; i < 300000; ++i)
        big += "site" + std::to_string(i) + "||";
    const std::string path = folder.file("big");
    fs.writeFile(path, big);
    EXPECT_EQ(fs.readFile(path), big);
}

TEST_F(Win32FileSystemTest, CopyReplacesTheDestination) {
    WriteWhole(folder.file("hosts"), AllBytes());
    WriteWhole(folder.file("snapshot"), "old snapshot, longer than the source");
    fs.copyFile(folder.file("hosts"), folder.file("snapshot"));
    EXPECT_EQ(ReadWhole(folder.file("snapshot")), AllBytes());
}

TEST_F(Win32FileSystemTest, FailuresCarryTheUsualDescriptions) {
    const std::string missing = folder.file("missing");
    const std::string inMissingFolder = folder.file("nowhere\\file");

    EXPECT_EQ(ErrorOf([&] { fs.readFile(missing); }), "File not found");
    EXPECT_EQ(ErrorOf([&] { fs.removeFile(missing); }), "File not found");
    EXPECT_EQ(ErrorOf([&] { fs.forceRemoveFile(missing); }), "File not found");
    EXPECT_EQ(ErrorOf([&] { fs.copyFile(missing, folder.file("copy")); }), "File not found");
    EXPECT_EQ(ErrorOf([&] { fs.writeFile(inMissingFolder, "x"); }), "Path not found");
    EXPECT_EQ(ErrorOf([&] { fs.appendFile(inMissingFolder, "x"); }), "Path not found");
    EXPECT_EQ(ErrorOf([&] { fs.createFolder(folder.file("a\\b")); }), "Path not found");
    EXPECT_EQ(ErrorOf([&] { fs.createFolder(folder.path()); }), "Path/File access error");
    EXPECT_FALSE(fs.find(folder.file("copy"), EntryFilter::FilesAndFolders));
}

// A pipe whose server never writes: a plain read would wait for it for ever.
TEST_F(Win32FileSystemTest, ReadUpToTakesOnlyAFileOnDiskWithinTheLimit) {
    WriteWhole(folder.file("ten"), "0123456789");
    WriteWhole(folder.file("eleven"), "0123456789A");
    const std::string pipe = "\\\\.\\pipe\\palisade-" + std::to_string(::GetCurrentProcessId());
    UniqueHandle server(
        ::CreateNamedPipeA(pipe.c_str(), PIPE_ACCESS_DUPLEX, 0, 1, 4096, 4096, 0, nullptr));
    ASSERT_TRUE(server);
    for (const auto& [path, expected] : {std::pair{folder.file("ten"), "0123456789"s},
                                         {folder.file("eleven"), "File too large"s},
                                         {pipe, "Not a regular file"s},
                                         {folder.file("missing"), "File not found"s}}) {
        std::string read;
        const std::string error = ErrorOf([&] { read = fs.readFileUpTo(path, 10); });
        EXPECT_EQ(error == "no error" ? read : error, expected) << path;
    }
}

TEST_F(Win32FileSystemTest, HeldOpenFileCannotBeWrittenOrRemoved) {
    const std::string path = folder.file("locked");
    WriteWhole(path, "kept");
    UniqueHandle holder(::CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(holder);

    EXPECT_EQ(ErrorOf([&] { fs.writeFile(path, "new"); }), "Permission denied");
    EXPECT_EQ(ErrorOf([&] { fs.appendFile(path, "new"); }), "Permission denied");
    EXPECT_EQ(ErrorOf([&] { fs.removeFile(path); }), "Permission denied");
    holder.reset();
    EXPECT_EQ(ReadWhole(path), "kept");
}

TEST_F(Win32FileSystemTest, ForceRemoveDeletesAReadOnlyFileThatRemoveCannot) {
    const std::string path = folder.file("read-only");
    WriteWhole(path, "x");
    ASSERT_TRUE(::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));

    EXPECT_EQ(ErrorOf([&] { fs.removeFile(path); }), "Permission denied");
    fs.forceRemoveFile(path);
    EXPECT_EQ(::GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(Win32FileSystemTest, CreatedFolderIsFoundAsAnEntryButNotAsAFile) {
    const std::string sub = folder.file("Palisade Software");
    fs.createFolder(sub);
    EXPECT_TRUE(fs.find(sub, EntryFilter::FilesAndFolders));
    EXPECT_FALSE(fs.find(sub, EntryFilter::OrdinaryFiles));
    EXPECT_FALSE(fs.canOpenExisting(sub));
}

TEST_F(Win32FileSystemTest, OrdinaryFilesExcludeHiddenAndSystemFiles) {
    const std::string plain = folder.file("plain");
    const std::string readOnly = folder.file("read-only");
    const std::string hidden = folder.file("hidden");
    const std::string system = folder.file("system");
    for (const auto& path : {plain, readOnly, hidden, system})
        WriteWhole(path, "x");
    ::SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY);
    ::SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN);
    ::SetFileAttributesA(system.c_str(), FILE_ATTRIBUTE_SYSTEM);

    EXPECT_TRUE(fs.find(plain, EntryFilter::OrdinaryFiles));
    EXPECT_TRUE(fs.find(readOnly, EntryFilter::OrdinaryFiles));
    EXPECT_FALSE(fs.find(hidden, EntryFilter::OrdinaryFiles));
    EXPECT_FALSE(fs.find(system, EntryFilter::OrdinaryFiles));
    EXPECT_TRUE(fs.find(hidden, EntryFilter::FilesAndFolders));
    EXPECT_TRUE(fs.find(system, EntryFilter::FilesAndFolders));
    // Opening sees every file, hidden or not.
    EXPECT_TRUE(fs.canOpenExisting(hidden));
}

TEST_F(Win32FileSystemTest, NamesThatAreNoSingleFileCannotBeLookedUp) {
    WriteWhole(folder.file("hosts"), "x");
    for (const std::string name : {"", "*", "host?", "hos*", "<", "hosts>", "a|b", "\"hosts\""}) {
        const std::string path = name.empty() ? name : folder.file(name);
        EXPECT_EQ(ErrorOf([&] { fs.find(path, EntryFilter::FilesAndFolders); }),
                  "Bad file name or number")
            << "name: " << name;
        EXPECT_FALSE(fs.canOpenExisting(path)) << "name: " << name;
    }
}

TEST_F(Win32FileSystemTest, CanOpenExistingOnlyForFilesThatAreThere) {
    WriteWhole(folder.file("hosts"), "");
    EXPECT_TRUE(fs.canOpenExisting(folder.file("hosts")));
    EXPECT_FALSE(fs.canOpenExisting(folder.file("missing")));
    EXPECT_FALSE(fs.canOpenExisting(folder.file("nowhere\\hosts")));
    // Asking must not create the file.
    EXPECT_FALSE(fs.find(folder.file("missing"), EntryFilter::FilesAndFolders));
}

TEST(Win32Errors, UncommonCodesUseTheSystemTextWithoutLineBreaks) {
    const std::string text = DescribeWin32Error(ERROR_INVALID_FUNCTION);
    EXPECT_FALSE(text.empty());
    EXPECT_EQ(text.find_first_of("\r\n"), std::string::npos) << text;
    EXPECT_EQ(DescribeWin32Error(0x2FFFFFFF), "Unexpected error " + std::to_string(0x2FFFFFFF));
}

} // namespace
} // namespace palisade
