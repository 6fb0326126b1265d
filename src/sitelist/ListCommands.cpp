#include "sitelist/ListCommands.h"

#include "platform/FileHelpers.h"
#include "sitelist/ListFiles.h"
#include "sitelist/SiteList.h"
#include "ui/ErrorTrap.h"

namespace palisade {

ListCommands::ListCommands(Ports& ports, Form1Controls& controls, AppState& state)
    : ports_(ports), c_(controls), state_(state), settings_(ports.settings) {
    c_.PushButton6.click.connect(
        [this] { state_.Form1Buttons.run([this] { PushButton6_Click(); }); });
    c_.PushButton4.click.connect(
        [this] { state_.Form1Buttons.run([this] { PushButton4_Click(); }); });
    c_.PushButton5.click.connect(
        [this] { state_.Form1Buttons.run([this] { PushButton5_Click(); }); });
    c_.PushButton3.click.connect(
        [this] { state_.Form1Buttons.run([this] { PushButton3_Click(); }); });
    c_.ListView1.dblClick.connect([this] { ListView1_DblClick(); });
    c_.ListView1.keyDown.connect([this](int key, int shift) { ListView1_KeyDown(key, shift); });
}

bool ListCommands::Busy() const {
    return c_.window.mousePointer() == pointers::Busy;
}

void ListCommands::SaveList() {
    settings_.write(keys::BlockedWebsites, SerializeSiteList(c_.ListView1));
}

void ListCommands::PushButton6_Click() {
    ErrorTrap trap(ports_.dialogs, "Form1", "PushButton6_Click");
    const std::size_t before = c_.ListView1.count();
    std::string answer;

    trap(100, [&] {
        answer = ports_.dialogs.inputBox(std::string(AddSitePrompt), state_.AppTitle, "");
    });
    if (trap.when(102, [&] { return answer.empty(); }))
        return;
    trap(104, [&] { c_.ListView1.add(answer); });
    if (c_.ListView1.count() != before)
        trap(106, [&] { SaveList(); });
}

void ListCommands::PushButton4_Click() {
    ErrorTrap trap(ports_.dialogs, "Form1", "PushButton4_Click");
    const std::size_t before = c_.ListView1.count();
    OpenFileRequest request;
    request.appTitle = state_.AppTitle;
    std::string fileName;
    std::vector<std::string> pieces;
    std::string separator;

    trap(100, [&] { fileName.clear(); });
    trap(102, [&] { request.flags = LoadListsFlags; });
    trap(104, [&] { request.title = LoadListsTitle; });
    trap(106, [&] { request.filter = LoadListsFilter; });
    trap(108, [&] { fileName = ports_.dialogs.openFile(request); });
    if (trap.when(110, [&] { return fileName.empty(); }))
        return;
    trap(112, [&] { pieces = SplitAtNul(fileName); });
    trap(114, [&] { c_.window.setMousePointer(pointers::Busy); });
    if (trap.when(116, [&] { return pieces.size() == 1; })) {
        trap(118, [&] { LoadListFile(c_.ListView1, pieces.at(0)); });
    } else {
        trap(120, [&] { separator = ports_.system.separator(); });
        for (std::size_t i = 1; i < pieces.size(); ++i)
            trap(122, [&] {
                LoadListFile(c_.ListView1, ChosenFilePath(pieces[0], pieces[i], separator));
            });
    }
    trap(124, [&] { c_.window.setMousePointer(pointers::Default); });
    if (c_.ListView1.count() != before)
        trap(126, [&] { SaveList(); });
}

void ListCommands::LoadListFile(ListView& list, const std::string& path) {
    if (!PathExists(ports_.fs, path)) {
        ports_.dialogs.messageBox(std::string(FileNotFoundText), state_.AppTitle,
                                  MessageIcon::None);
        return;
    }
    for (auto& line : SplitListLines(ports_.fs.readFileUpTo(path, MaxListFileBytes)))
        list.add(std::move(line));
}

void ListCommands::PushButton5_Click() {
    ErrorTrap trap(ports_.dialogs, "Form1", "PushButton5_Click");
    const std::size_t before = c_.ListView1.count();

    trap(100, [&] { c_.ListView1.add(std::string(SampleSites[0])); });
    trap(102, [&] { c_.ListView1.add(std::string(SampleSites[1])); });
    if (c_.ListView1.count() != before)
        trap(104, [&] { SaveList(); });
}

void ListCommands::PushButton3_Click() {
    ErrorTrap trap(ports_.dialogs, "Form1", "PushButton3_Click");
    const std::size_t before = c_.ListView1.count();

    if (trap.when(100, [&] { return !Busy(); }))
        trap(102, [&] { c_.ListView1.clear(); });
    if (c_.ListView1.count() != before)
        trap(104, [&] { SaveList(); });
}

void ListCommands::ListView1_DblClick() {
    RemoveSelected("ListView1_DblClick", 104);
}

void ListCommands::ListView1_KeyDown(int keyCode, int) {
    if (keyCode != DeleteKey)
        return;
    RemoveSelected("ListView1_KeyDown", 106);
}

void ListCommands::RemoveSelected(std::string_view procedure, int line) {
    if (Busy() || c_.ListView1.count() == 0)
        return;
    // The list is not empty but nothing is selected: there is nothing the user pointed at.
    const std::size_t index = c_.ListView1.selectedIndex();
    if (index == 0)
        return;
    c_.ListView1.remove(index);
    // No trap of its own; a refused write is reported as the check boxes report theirs.
    ErrorTrap trap(ports_.dialogs, "Form1", procedure);
    trap(line, [&] { SaveList(); });
}

} // namespace palisade
