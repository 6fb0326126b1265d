#include "support/Form1Rig.h"

namespace palisade::test {

Form1Rig::Form1Rig(Platform platform) : Form1Windows(ports, platform) {
    fs.log = &log;
    settings.log = &log;
    dialogs.log = &log;
    pump.log = &log;
    autostart.log = &log;
    blocking.log = &log;
    tray.log = &log;
    skin.log = &log;
    fs.folders.insert("C:\\ProgramData");
}

} // namespace palisade::test
