#pragma once

#include "common/AppState.h"
#include "platform/Ports.h"
#include "settings/Settings.h"
#include "ui/model/Form1Controls.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace palisade {

inline constexpr std::string_view AddSitePrompt = "Enter URL/IP Address to block: ";
inline constexpr std::string_view LoadListsTitle =
    "Load List(s) - Hold Ctrl to select multiple list files";
inline constexpr std::string_view LoadListsFilter = "Text Files (*.txt)|*.txt|All Files (*.*)|*.*|";
// Read-only box ticked, several files, Explorer style, long names.
inline constexpr long LoadListsFlags = 2621953;
inline constexpr std::string_view FileNotFoundText = "File not found";
// The largest list file read: far above any real list, well below what would exhaust memory.
inline constexpr std::size_t MaxListFileBytes = std::size_t{64} << 20;
inline constexpr std::string_view SampleSites[] = {"facebook.com", "instagram.com"};
inline constexpr int DeleteKey = 46;

// The commands that fill and empty the site list: add one site, load list files, add the
// samples, clear, and remove the selected entry. Each command that changes the list writes it
// to the settings at once, so a crash or a kill loses nothing.
class ListCommands {
public:
    // Connects itself to the four buttons and the list's double-click and key events.
    ListCommands(Ports& ports, Form1Controls& controls, AppState& state);
    ListCommands(const ListCommands&) = delete;
    ListCommands& operator=(const ListCommands&) = delete;

    void PushButton6_Click();
    void PushButton4_Click();
    void PushButton5_Click();
    void PushButton3_Click();
    void ListView1_DblClick();
    void ListView1_KeyDown(int keyCode, int shift);

    // Appends the lines of one text file; "File not found" when there is no such file.
    // Throws RuntimeError when the file cannot be read, is no regular file or is larger than
    // MaxListFileBytes.
    void LoadListFile(ListView& list, const std::string& path);

private:
    bool Busy() const;
    // Removes the selected entry unless files are loading; the write is statement `line`.
    void RemoveSelected(std::string_view procedure, int line);
    void SaveList();

    Ports& ports_;
    Form1Controls& c_;
    AppState& state_;
    Settings settings_;
};

} // namespace palisade
