#pragma once

#include "app/Program.h"
#include "common/Signal.h"
#include "linux/ui/FormView.h"

#include <QApplication>
#include <QObject>
#include <memory>

namespace palisade::qt {

// The application object as the program needs it: known as "Palisade", running on while its
// windows are hidden, showing password characters as "*".
void SetUpApplication(QApplication& app);

// Binds the program to its two windows and to the session: the session manager's question
// (commitDataRequest) only saves, its final word and the application's quit end the program
// through its close handling, and the program's own quit ends the event loop.
class FrontEnd : public QObject {
public:
    FrontEnd(Program& program, const QIcon& icon);
    ~FrontEnd() override;

    // Starts the program and runs the event loop until it ends; the exit status.
    int run();

    FormView& mainWindow() { return *form1_; }
    FormView& passwordWindow() { return *form2_; }
    bool ended() const { return ended_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Program& program_;
    std::unique_ptr<FormView> form1_;
    std::unique_ptr<FormView> form2_;
    bool ended_ = false;
    ScopedConnection quit_;
};

} // namespace palisade::qt
