#pragma once

#include "ui/model/Form1Controls.h"
#include "ui/model/Form2Controls.h"

#include <QIcon>
#include <QWidget>
#include <memory>
#include <vector>

namespace palisade::qt {

class WindowBinding;

// One window of the program built from its control model: the top-level widget with a widget
// for every control, named, placed and ordered as designed.
class FormView {
public:
    static std::unique_ptr<FormView> MainWindow(Form1Controls& controls, const QIcon& icon);
    static std::unique_ptr<FormView> PasswordWindow(Form2Controls& controls, const QIcon& icon);
    ~FormView();
    FormView(const FormView&) = delete;
    FormView& operator=(const FormView&) = delete;

    QWidget* window() const { return window_.get(); }
    // The widget of the control with that name; nullptr when there is none.
    QWidget* find(const char* name) const;

private:
    FormView(std::unique_ptr<QWidget> window, Window& model, const std::vector<Control*>& controls,
             const std::vector<Control*>& tabOrder, const QIcon& icon);

    std::unique_ptr<QWidget> window_;
};

} // namespace palisade::qt
