#include "PosixTestSupport.h"
#include "linux/system/QSettingsStore.h"
#include "platform/RuntimeError.h"

#include <cerrno>
#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <tuple>
#include <unistd.h>

namespace palisade {
namespace {

using namespace std::string_literals;

const std::string App = "Quillmoor", Section = "Palisade Software", List = "Blocked Websites";

// A configuration folder of its own, with the paths of the store's two files in it.
struct StoreFolder {
    test::TempFolder dir;
    std::string folder() const { return dir / "Quillmoor"; }
    std::string ini() const { return folder() + "/Palisade Software.ini"; }
    std::string list() const { return folder() + "/Palisade Software.Blocked Websites"; }
    void plant(const std::string& iniText) const {
        ::mkdir(folder().c_str(), 0700);
        test::spit(ini(), iniText);
    }
};

// The real calls, failing with the error set for them.
struct FaultySyscalls : Syscalls {
    int writeError = 0, fsyncError = 0, renameError = 0, openError = 0;
    static int fail(int error) { return errno = error, -1; }
    ssize_t write(int fd, const void* b, size_t n) override {
        return writeError ? fail(writeError) : Syscalls::write(fd, b, n);
    }
    int fsync(int fd) override { return fsyncError ? fail(fsyncError) : Syscalls::fsync(fd); }
    int rename(const char* a, const char* b) override {
        return renameError ? fail(renameError) : Syscalls::rename(a, b);
    }
    int open(const char* p, int f, mode_t m) override {
        return openError ? fail(openError) : Syscalls::open(p, f, m);
    }
};

TEST(QSettingsStoreFiles, AnUnreadableLineNeverRefusesAWriteAndTheReadableValuesStay) {
    const std::string head = "[Palisade%20Software]\nPassword=kept\nMinimized=On\n";
    for (const std::string& text : {"[Palisade%20Software]\nPassword=kept\nnone\nMinimized=On\n"s,
                                    "[Palisade%20Software\nPassword=kept\nMinimized=On\n"s,
                                    head + "BlockOnSt", head + "[Palisade%20Sof"}) {
        StoreFolder store;
        store.plant(text);
        QSettingsStore settings(store.dir.path()); // the write comes before any read
        EXPECT_NO_THROW(settings.write(App, Section, "Block Administrator", "On")) << text;
        EXPECT_EQ(settings.read(App, Section, "Password", ""), "kept") << text;
        EXPECT_EQ(settings.read(App, Section, "Minimized", ""), "On") << text;
        EXPECT_EQ(settings.read(App, Section, "Block Administrator", ""), "On") << text;
        EXPECT_EQ(test::entriesOf(store.folder()), std::vector{"Palisade Software.ini"s});
    }
}

TEST(QSettingsStoreFiles, TheListMovesToAFileOfItsOwnThatOtherWritesLeaveAlone) {
    StoreFolder store;
    store.plant("[Palisade%20Software]\nBlocked%20Websites=a.example||My_Separator||\n");
    QSettingsStore settings(store.dir.path());
    EXPECT_EQ(settings.read(App, Section, List, ""), "a.example||My_Separator||");
    settings.write(App, Section, "Password", "pw"); // moves the list out of the settings file
    EXPECT_EQ(test::slurp(store.list()), "a.example||My_Separator||");

    for (const std::string& list : {"caf\xc3\xa9||My_Separator||"s, "caf\xe9\xff\r\n\0x"s, ""s}) {
        settings.write(App, Section, List, list);
        EXPECT_EQ(QSettingsStore(store.dir.path()).read(App, Section, List, "absent"), list);
        EXPECT_EQ(test::slurp(store.list()), list);
    }
    const struct stat before = test::statOf(store.list());
    settings.write(App, Section, "Password", "other");
    const struct stat after = test::statOf(store.list());
    EXPECT_EQ(after.st_ino, before.st_ino) << "the list file was replaced";
    EXPECT_EQ(after.st_mode & 07777, 0600u);
    EXPECT_EQ(test::slurp(store.ini()).find("Blocked"), std::string::npos);
    EXPECT_EQ(settings.read(App, Section, "Password", ""), "other");
    EXPECT_EQ(test::entriesOf(store.folder()),
              (std::vector{"Palisade Software.Blocked Websites"s, "Palisade Software.ini"s}));
}

TEST(QSettingsStoreFiles, AListThatCannotBeReplacedOrWasNeverReadStaysAsItWas) {
    for (int FaultySyscalls::*fault : {&FaultySyscalls::writeError, &FaultySyscalls::fsyncError,
                                       &FaultySyscalls::renameError, &FaultySyscalls::openError}) {
        StoreFolder store;
        FaultySyscalls sys;
        QSettingsStore settings(store.dir.path(), sys);
        settings.write(App, Section, List, "old");
        sys.*fault = EIO;
        // A run that could not read the list must not save its empty list over it.
        if (fault == &FaultySyscalls::openError) {
            EXPECT_EQ(settings.read(App, Section, List, ""), "");
            sys.openError = 0;
        }
        EXPECT_THROW(settings.write(App, Section, List, "new"), RuntimeError);
        sys.*fault = 0;
        EXPECT_EQ(test::slurp(store.list()), "old");
        EXPECT_EQ(test::entriesOf(store.folder()),
                  std::vector{"Palisade Software.Blocked Websites"s});
    }
}

TEST(QSettingsStoreFiles, EveryReplacementMovesTheFilesTimeOnEvenWithTheClockBehind) {
    // The parser caches a file by size and time, so a replacement must never look unchanged.
    StoreFolder store;
    QSettingsStore settings(store.dir.path());
    for (const auto& [key, file] :
         {std::pair{"BlockOnStart"s, store.ini()}, {List, store.list()}}) {
        settings.write(App, Section, key, "0");
        const timespec ahead[2] = {{::time(nullptr) + 60, 0}, {::time(nullptr) + 60, 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, file.c_str(), ahead, 0), 0);
        settings.write(App, Section, key, "1");
        EXPECT_GT(test::statOf(file).st_mtim.tv_nsec + test::statOf(file).st_mtime * 1'000'000'000,
                  ahead[1].tv_sec * 1'000'000'000)
            << key;
        EXPECT_EQ(settings.read(App, Section, key, ""), "1") << key;
    }
}

// A pipe (a plain open would wait for a writer), a link to an endless device, or a file past the
// limit in place of either file: the start goes on as with nothing stored, and what is there is
// never replaced by less.
TEST(QSettingsStoreFiles, AStoredFileThatIsNoFileOrTooLargeReadsAsNothingAndStays) {
    using Plant = std::function<int(const std::string&)>;
    const Plant plants[] = {
        [](const std::string& path) { return ::mkfifo(path.c_str(), 0600); },
        [](const std::string& path) { return ::symlink("/dev/zero", path.c_str()); },
        [](const std::string& path) {
            return test::spit(path, ""), ::truncate(path.c_str(), 1 << 30);
        }};
    for (const Plant& plant : plants)
        for (const std::string& key : {List, "Password"s}) {
            StoreFolder store;
            store.plant("[Palisade%20Software]\nPassword=kept\n");
            const std::string path = key == List ? store.list() : store.ini();
            ::unlink(path.c_str());
            ASSERT_EQ(plant(path), 0);
            const struct stat before = test::lstatOf(path);
            QSettingsStore settings(store.dir.path());
            EXPECT_EQ(settings.read(App, Section, key, "none"), "none") << before.st_mode;
            EXPECT_THROW(settings.write(App, Section, key, "new"), RuntimeError) << before.st_mode;
            const struct stat after = test::lstatOf(path);
            EXPECT_EQ(std::tie(after.st_ino, after.st_size),
                      std::tie(before.st_ino, before.st_size));
        }
}

} // namespace
} // namespace palisade
