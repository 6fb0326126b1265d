#include "app/Program.h"

#include "support/FakePorts.h"

#include <gtest/gtest.h>

namespace palisade::test {
namespace {

constexpr const char* Hosts = "C:\\WINDOWS\\system32\\drivers\\etc\\hosts";

// The whole program on fakes of every port, on a Windows-like system.
struct ProgramRig : FakePorts {
    explicit ProgramRig(bool canWriteHosts = false) : program(make(canWriteHosts)) {
        fs.folders.insert("C:\\ProgramData");
        fs.files[Hosts] = "127.0.0.1 localhost\r\n";
        program->quit.connect([this] { ++quits; });
    }
    std::unique_ptr<Program> make(bool canWriteHosts) {
        return std::make_unique<Program>(ports, Platform::Windows, WindowsHostsPaths(system),
                                         canWriteHosts);
    }
    Form1Controls& main() { return program->form1(); }
    Form2Controls& password() { return program->form2(); }

    std::unique_ptr<Program> program;
    int quits = 0;
};

TEST(ProgramSessionEnding, WritesTheListAndBlockOnStartAndNothingElse) {
    for (bool blocking : {false, true}) {
        ProgramRig rig;
        rig.program->Start();
        rig.main().ListView1.add("a");
        if (blocking)
            rig.main().PushButton2.setCaption("Stop Blocking");
        rig.settings.writes.clear();

        rig.program->SessionEnding();

        EXPECT_EQ(rig.settings.writes, (std::vector<std::pair<std::string, std::string>>{
                                           {"Blocked Websites", "a||My_Separator||"},
                                           {"BlockOnStart", blocking ? "1" : "0"}}));
        EXPECT_EQ(rig.quits, 0);
        EXPECT_TRUE(rig.main().window.visible());
        EXPECT_TRUE(rig.dialogs.messages.empty());
    }
}

TEST(ProgramSessionEnd, ClosesAtOnceWithoutABoxCancelsTheOpenOnesAndTheDialogAndQuitsOnce) {
    ProgramRig rig; // not an administrator: the close would refuse to unblock with a message
    rig.settings.set("Password", "pw");
    rig.program->Start();
    rig.main().ListView1.add("a");
    rig.main().window.setState(WindowState::Minimized);
    rig.main().window.setState(WindowState::Normal); // back from the task bar: the dialog opens
    ASSERT_TRUE(rig.password().window.visible());

    rig.program->SessionEnd();
    rig.program->SessionEnd();
    rig.main().window.requestClose();

    EXPECT_TRUE(rig.dialogs.messages.empty());
    EXPECT_EQ(rig.dialogs.cancelled, 1);
    EXPECT_FALSE(rig.password().window.loaded());
    EXPECT_FALSE(rig.main().window.visible());
    EXPECT_EQ(rig.settings.get("BlockOnStart"), "0");
    EXPECT_EQ(rig.settings.get("Blocked Websites"), "a||My_Separator||");
    EXPECT_EQ(rig.quits, 1);
}

TEST(ProgramQuit, WaitsUntilTheOuterHandlerHasReturned) {
    for (bool sessionEnd : {false, true}) {
        ProgramRig rig;
        rig.admin.result = -1;
        rig.program->Start();
        rig.main().ListView1.add("a.example");
        int quitsInside = -1;
        // Arrives while the start of blocking lets events run.
        rig.pump.pending.push_back([&] {
            if (sessionEnd)
                rig.program->SessionEnd();
            else
                rig.main().window.requestClose();
            quitsInside = rig.quits;
        });

        rig.main().PushButton2.press();

        EXPECT_EQ(quitsInside, 0);
        EXPECT_EQ(rig.quits, 1);
        EXPECT_EQ(rig.settings.get("BlockOnStart"), "1"); // closed while blocking was on
    }
}

TEST(ProgramStart, AQuitDuringTheStartComesWhenTheStartHasReturned) {
    ProgramRig rig;
    rig.settings.set("BlockOnStart", "1");
    int quitsInside = -1;
    rig.pump.pending.push_back([&] {
        rig.main().window.requestClose();
        quitsInside = rig.quits;
    });
    rig.program->Start();
    EXPECT_EQ(quitsInside, 0);
    EXPECT_EQ(rig.quits, 1);
}

TEST(ProgramHandOver, TheCopyThatCanWriteTheHostsFileTakesOver) {
    EXPECT_TRUE(TakesOver(true, false));
    EXPECT_FALSE(TakesOver(true, true));
    EXPECT_FALSE(TakesOver(false, false));
    EXPECT_FALSE(TakesOver(false, true));

    ProgramRig rig(false);
    rig.program->Start();
    EXPECT_TRUE(rig.program->SecondStart(true));
    EXPECT_EQ(rig.quits, 1);
    EXPECT_TRUE(rig.settings.has("Blocked Websites")); // ended as at the session's end
    EXPECT_TRUE(rig.dialogs.messages.empty());
}

TEST(ProgramHandOver, OtherwiseTheRunningCopyComesForwardAsAfterATrayClick) {
    for (const char* password : {"", "pw"}) {
        ProgramRig rig(true);
        rig.settings.set("Password", password);
        rig.program->Start();
        int mainActivated = 0;
        int dialogActivated = 0;
        rig.main().window.activateRequested.connect([&] { ++mainActivated; });
        rig.password().window.activateRequested.connect([&] { ++dialogActivated; });

        for (bool other : {false, true})
            EXPECT_FALSE(rig.program->SecondStart(other));

        EXPECT_EQ(rig.quits, 0);
        EXPECT_EQ(rig.password().window.visible(), *password != '\0');
        EXPECT_EQ(mainActivated, *password ? 0 : 2);
        EXPECT_EQ(dialogActivated, *password ? 2 : 0);
    }
}

} // namespace
} // namespace palisade::test
