#include "support/AutostartRig.h"

namespace palisade::test {

AutostartRig::AutostartRig(Registry& registry, std::string dataFolder)
    : FakePorts(PortSwaps{.autostart = &startUp}), Form1Windows(ports), regStuff(registry, system) {
    state.DataFolder = std::move(dataFolder);
    state.Loading = false;
    fs.folders.insert(state.DataFolder);
}

void AutostartRig::setCheck1(bool checked) {
    controls.Check1.setValue(checked ? CheckBox::Checked : CheckBox::Unchecked);
}

} // namespace palisade::test
