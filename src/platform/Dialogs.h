#pragma once

#include <string>

namespace palisade {

enum class MessageIcon { None, Warning };

struct OpenFileRequest {
    std::string title;
    std::string filter; // "Text Files (*.txt)|*.txt|All Files (*.*)|*.*|"
    long flags = 0;     // the common dialog's flag bits
    // The title of a message the dialog itself must show: the application's.
    std::string appTitle;
};

// Message box, input box and open-file dialog. All are modal and have an OK button only
// where they show a message.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    virtual void messageBox(const std::string& text, const std::string& title,
                            MessageIcon icon) = 0;

    // The typed answer; the empty text when the user cancelled.
    virtual std::string inputBox(const std::string& prompt, const std::string& title,
                                 const std::string& defaultText) = 0;

    // The chosen file's full path, or for several files the folder followed by each file name,
    // all separated by NUL characters; the empty text when the user cancelled.
    virtual std::string openFile(const OpenFileRequest& request) = 0;

    // Closes every box this port has open as though its user had cancelled it: a message box
    // returns as after OK, an input box and the open-file dialog with the empty text. For an
    // end of the session that cannot wait for the user.
    virtual void cancelAll() = 0;
};

} // namespace palisade
