#include "ScratchFolder.h"
#include "blocking/BlockingFiles.h"
#include "blocking/HostsBlocker.h"
#include "common/AppState.h"
#include "support/FakePorts.h"
#include "support/RealBlocker.h"
#include "ui/model/Form1Controls.h"
#include "windows/system/GlobalMutexLock.h"
#include "windows/system/Handles.h"
#include "windows/system/Win32FileSystem.h"
#include "windows/system/Win32SystemInfo.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace palisade::test {
namespace {

// These tests change the system's hosts file, so they run only in a Wine prefix, never on a
// real Windows installation.
bool UnderWine() {
    const HMODULE ntdll = ::GetModuleHandleA("ntdll.dll");
    return ntdll != nullptr && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

struct FileIdentity {
    DWORD volume = 0, high = 0, low = 0;
    bool operator==(const FileIdentity&) const = default;
};

std::optional<FileIdentity> IdentityOf(const std::string& path) {
    UniqueResource<KernelHandleTraits> file(
        ::CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, 0, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!file || !::GetFileInformationByHandle(file.get(), &info))
        return std::nullopt;
    return FileIdentity{info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
}

// The real Windows file system, system information and hosts lock, and a scratch data folder,
// ahead of the ports that name them.
struct RealWindowsPorts {
    ScratchFolder scratch;
    Win32FileSystem winFs;
    Win32SystemInfo winSystem;
    GlobalMutexLock winLock;
};

// The real blocker on the real Windows ports and the prefix's hosts file; the other ports are
// fakes.
class PrefixHostsFile : public ::testing::Test,
                        protected RealWindowsPorts,
                        protected FakePorts,
                        protected RealBlocker {
protected:
    PrefixHostsFile()
        : FakePorts(PortSwaps{.fs = &winFs, .system = &winSystem, .hostsLock = &winLock}),
          RealBlocker(ports, WindowsHostsPaths(winSystem), scratch.path()) {}

    void SetUp() override {
        if (!UnderWine())
            GTEST_SKIP() << "changes the hosts file; runs only in a throwaway Wine prefix";
        hostsPath = WindowsHostsPaths(winSystem).hostsPath();
        original = ReadWhole(hostsPath);
        saved = true;
    }
    void TearDown() override {
        if (saved)
            WriteWhole(hostsPath, original);
    }

    std::string hostsPath;
    std::string original;
    bool saved = false;
};

TEST_F(PrefixHostsFile, SystemFolderAndWindirNameTheSameHostsFile) {
    const HostsPaths paths = WindowsHostsPaths(winSystem);
    EXPECT_EQ(paths.hostsPath(), GetSystemFolder(winSystem) + "\\drivers\\etc\\hosts");
    const auto viaSystem = IdentityOf(paths.hostsPath());
    const auto viaWindir = IdentityOf(paths.restoreTarget());
    ASSERT_TRUE(viaSystem) << paths.hostsPath();
    ASSERT_TRUE(viaWindir) << paths.restoreTarget();
    EXPECT_EQ(*viaSystem, *viaWindir);
    EXPECT_TRUE(FileExists(winFs, paths.hostsPath()));
    EXPECT_FALSE(FileExists(winFs, GetSystemFolder(winSystem)));
}

TEST_F(PrefixHostsFile, StartAppendsCrLfLinesAndStopGivesBackTheFileExactly) {
    WriteWhole(hostsPath, "127.0.0.1 localhost\r\n::1 localhost"); // no line end at the end
    start({"one.palisade.test", "https://www.two.palisade.test/page"});

    ASSERT_TRUE(dialogs.messages.empty()) << dialogs.messages[0].text;
    EXPECT_EQ(ReadWhole(hostsPath), "127.0.0.1 localhost\r\n::1 localhost\r\n"
                                    "127.0.0.1          one.palisade.test\r\n"
                                    "127.0.0.1          www.two.palisade.test\r\n");
    EXPECT_EQ(ReadWhole(scratch.file("hosts")), "127.0.0.1 localhost\r\n::1 localhost");
    EXPECT_EQ(controls.window.state(), WindowState::Minimized);

    blocker.StopBlocking(false, StopRequest::BlockButton);

    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(ReadWhole(hostsPath), "127.0.0.1 localhost\r\n::1 localhost");
    EXPECT_FALSE(FileExists(winFs, scratch.file("hosts")));
    EXPECT_EQ(controls.PushButton2.caption(), "Start Blocking");
}

TEST_F(PrefixHostsFile, EditWhileBlockingSurvivesTheStop) {
    WriteWhole(hostsPath, "127.0.0.1 localhost\r\n");
    start({"one.palisade.test"});
    WriteWhole(hostsPath, ReadWhole(hostsPath) + "10.9.8.7 edited.palisade.test\r\n");
    blocker.StopBlocking(false, StopRequest::BlockButton);
    EXPECT_EQ(ReadWhole(hostsPath), "127.0.0.1 localhost\r\n10.9.8.7 edited.palisade.test\r\n");
}

} // namespace
} // namespace palisade::test
