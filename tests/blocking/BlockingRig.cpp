#include "blocking/BlockingRig.h"

#include "app/Form1.h"

namespace palisade::test {

BlockingRig::BlockingRig() {
    fs.log = &log;
    dialogs.log = &log;
    pump.log = &log;
    hostsLock.log = &log;
    state.DataFolder = "C:\\ProgramData\\Quillmoor\\Palisade Software";
    state.UserIsAdmin = true;
    fs.files[Hosts] = Original;
}

void BlockingRig::switchCaptionOn() {
    state.SavedBlockCaption = controls.PushButton2.caption();
    controls.PushButton2.setCaption(std::string(StopBlockingCaption));
}

std::string BlockingRig::hosts() const {
    auto it = fs.files.find(Hosts);
    return it == fs.files.end() ? std::string("<missing>") : it->second;
}

int BlockingRig::countOps(const std::string& prefix) const {
    int n = 0;
    for (const auto& call : log.calls)
        n += call.rfind(prefix, 0) == 0;
    return n;
}

bool BlockingRig::anyFileWritten() const {
    for (const char* op :
         {"fs.write", "fs.append", "fs.replace", "fs.copy", "fs.remove", "fs.force-remove"})
        if (countOps(op) != 0)
            return true;
    return false;
}

std::string BlockLine(const std::string& host) {
    return "127.0.0.1          " + host + "\r\n";
}

} // namespace palisade::test
