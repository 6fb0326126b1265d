#pragma once

#include "platform/Dialogs.h"
#include "windows/ui/WinApi.h"

#include <cstddef>

namespace palisade::win32 {

// Message boxes with MessageBoxA, the input box from the program's own dialog resource, and
// the open-file dialog with GetOpenFileNameA. Each box is modal to the program's windows.
class Win32Dialogs final : public Dialogs {
public:
    // The open-file dialog's buffer holds at least this many bytes.
    static constexpr std::size_t OpenFileBufferSize = 64 * 1024;

    explicit Win32Dialogs(HINSTANCE instance) : instance_(instance) {}

    void messageBox(const std::string& text, const std::string& title, MessageIcon icon) override;
    std::string inputBox(const std::string& prompt, const std::string& title,
                         const std::string& defaultText) override;
    std::string openFile(const OpenFileRequest& request) override;
    void cancelAll() override;

private:
    HINSTANCE instance_;
};

} // namespace palisade::win32
