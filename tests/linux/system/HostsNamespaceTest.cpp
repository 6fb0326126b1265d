// Blocks and unblocks through the real /etc/hosts path with a scratch file mounted over it, as
// containers mount theirs, and asks the resolver what it makes of it. Only ever inside a private
// mount namespace: CTest starts this program through `unshare -m`, and it refuses to mount
// anything when it shares its parent's namespace.
#include "MountNamespace.h"
#include "RealHostsRig.h"

#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>
#include <stdio.h>
#include <sys/mount.h>
#include <unistd.h>

namespace palisade::test {
namespace {

constexpr const char* SystemHosts = "/etc/hosts";
constexpr const char* Nsswitch = "/etc/nsswitch.conf";
// Ends without a line end, so blocking has to start its lines on a new one. The aligned line
// starts like a block line but is not one of ours.
const std::string Original = "127.0.0.1\tlocalhost\n::1\tlocalhost ip6-localhost\n"
                             "127.0.0.1               aligned.palisade.test\n# scratch";

// The address that `getent hosts` gives for name, empty when it knows none.
std::string Resolve(const std::string& name) {
    const std::string command = "getent hosts '" + name + "'";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr)
        return {};
    std::string output;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr)
        output += buffer;
    ::pclose(pipe);
    return output.substr(0, output.find_first_of(" \t\n"));
}

class MountedHostsFile : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(InPrivateMountNamespace())
            << "refusing to mount over " << SystemHosts << " outside a private namespace";
        ASSERT_FALSE(scratch.path().empty());
        WriteWhole(scratch / "hosts", Original);
        bind(scratch / "hosts", SystemHosts);
        // The resolver looks only at the hosts file, so no name in the test reaches the network.
        WriteWhole(scratch / "nsswitch.conf", "hosts: files\n");
        bind(scratch / "nsswitch.conf", Nsswitch);
        ASSERT_EQ(ReadWhole(SystemHosts), Original);
    }
    void TearDown() override {
        for (auto it = mounted.rbegin(); it != mounted.rend(); ++it)
            ::umount2(it->c_str(), MNT_DETACH);
    }
    void bind(const std::string& source, const std::string& target) {
        ASSERT_EQ(::mount(source.c_str(), target.c_str(), nullptr, MS_BIND, nullptr), 0)
            << target << ": " << std::strerror(errno);
        mounted.push_back(target);
    }

    ScratchFolder scratch;
    std::vector<std::string> mounted;
    const std::vector<std::string> sites{"one.palisade.test", "two.palisade.test",
                                         "https://www.three.palisade.test:8443/page?x=1"};
    const std::vector<std::string> hosts{"one.palisade.test", "two.palisade.test",
                                         "www.three.palisade.test"};
};

TEST_F(MountedHostsFile, BlockedHostsResolveToLoopbackAndStopRestoresTheFileExactly) {
    for (const auto& host : hosts)
        ASSERT_EQ(Resolve(host), "") << host;
    RealHostsRig rig(SystemHosts, scratch / "data");

    rig.start(sites);

    ASSERT_TRUE(rig.dialogs.messages.empty()) << rig.dialogs.messages[0].text;
    for (const auto& host : hosts)
        EXPECT_EQ(Resolve(host), "127.0.0.1") << host;
    EXPECT_EQ(Resolve("localhost"), "::1"); // the rest of the file still answers
    EXPECT_EQ(ReadWhole(scratch / "data/hosts"), Original);

    rig.blocker.StopBlocking(false, StopRequest::BlockButton);

    EXPECT_TRUE(rig.dialogs.messages.empty());
    EXPECT_EQ(ReadWhole(SystemHosts), Original);
    // Still the mounted file: it was written in place, not renamed over.
    EXPECT_EQ(ReadWhole(scratch / "hosts"), Original);
    EXPECT_FALSE(std::filesystem::exists(scratch / "data/hosts"));
    for (const auto& host : hosts)
        EXPECT_EQ(Resolve(host), "") << host;
    EXPECT_EQ(Resolve("aligned.palisade.test"), "127.0.0.1");
    EXPECT_EQ(rig.controls.PushButton2.caption(), "Start Blocking");
}

TEST_F(MountedHostsFile, EditMadeWhileBlockingSurvivesTheStop) {
    RealHostsRig rig(SystemHosts, scratch / "data");
    rig.start(sites);
    WriteWhole(SystemHosts, "10.9.8.7 edited.palisade.test\n", true);

    rig.blocker.StopBlocking(false, StopRequest::BlockButton);

    EXPECT_EQ(ReadWhole(SystemHosts), Original + "\n10.9.8.7 edited.palisade.test\n");
    EXPECT_EQ(Resolve("edited.palisade.test"), "10.9.8.7");
    EXPECT_EQ(Resolve("one.palisade.test"), "");
    EXPECT_FALSE(std::filesystem::exists(scratch / "data/hosts"));
}

TEST_F(MountedHostsFile, RestartWithBlockingOnAddsNoSecondCopy) {
    RealHostsRig rig(SystemHosts, scratch / "data");
    rig.start(sites);
    const std::string blocked = ReadWhole(SystemHosts);
    rig.blocker.StartBlocking(true);
    EXPECT_EQ(ReadWhole(SystemHosts), blocked);
    rig.blocker.StopBlocking(false, StopRequest::BlockButton);
    EXPECT_EQ(ReadWhole(SystemHosts), Original);
}

} // namespace
} // namespace palisade::test
