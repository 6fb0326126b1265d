#pragma once

#include "ui/model/TextBox.h"
#include "windows/ui/ControlView.h"
#include "windows/ui/WinApi.h"

namespace palisade::win32 {

// A single-line EDIT control over a text box model. What the user types reaches the model as
// a change of its text; a text or selection the program sets is shown without echoing back.
class TextBoxView : public ControlView {
public:
    TextBoxView(Control& model, HWND parent);

    void sync() override;
    void command(WORD code) override;

private:
    TextBox& box() const { return static_cast<TextBox&>(model_); }

    // Set while the view hands the user's typing to the model, or shows the model's text.
    bool echo_ = false;
};

} // namespace palisade::win32
