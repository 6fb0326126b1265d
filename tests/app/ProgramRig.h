#pragma once

#include "app/Program.h"
#include "support/FakePorts.h"

#include <memory>

namespace palisade::test {

// The whole program on fakes of every port, on a Windows-like system. The disk and the
// settings outlive a run, so the program can be started again on them.
struct ProgramRig : FakePorts {
    static constexpr const char* Hosts = "C:\\WINDOWS\\system32\\drivers\\etc\\hosts";
    static constexpr const char* Original = "127.0.0.1 localhost\r\n";

    explicit ProgramRig(bool canWriteHosts = false) : canWriteHosts(canWriteHosts) {
        fs.folders.insert("C:\\ProgramData");
        fs.files[Hosts] = Original;
        launch();
    }
    // A new run: the program built afresh, not started yet.
    void launch() {
        program.reset(); // the run before has ended
        program = std::make_unique<Program>(ports, Platform::Windows, WindowsHostsPaths(system),
                                            canWriteHosts, helper);
        quits = 0;
        program->quit.connect([this] { ++quits; });
    }
    Form1Controls& main() { return program->form1(); }
    Form2Controls& password() { return program->form2(); }

    bool canWriteHosts;
    PrivilegedHosts* helper = nullptr; // set before launch()
    std::unique_ptr<Program> program;
    int quits = 0;
};

} // namespace palisade::test
