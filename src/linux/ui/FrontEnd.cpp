#include "linux/ui/FrontEnd.h"

#include <QProxyStyle>
#include <QSessionManager>

namespace palisade::qt {

namespace {

// The text boxes' password character is the designed "*", not the style's bullet.
class StarPasswordStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_LineEdit_PasswordCharacter)
            return '*';
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

} // namespace

void SetUpApplication(QApplication& app) {
    // The name only: a display name would be appended to every window caption.
    QApplication::setApplicationName(QStringLiteral("Palisade"));
    QApplication::setQuitOnLastWindowClosed(false);
    app.setStyle(new StarPasswordStyle);
}

FrontEnd::FrontEnd(Program& program, const QIcon& icon)
    : program_(program), form1_(FormView::MainWindow(program.form1(), icon)),
      form2_(FormView::PasswordWindow(program.form2(), icon)) {
    quit_ = program_.quit.connect([this] {
        ended_ = true;
        QCoreApplication::exit(0);
    });
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        // The session may still be cancelled: save, and nothing else.
        connect(app, &QGuiApplication::commitDataRequest, this,
                [this](QSessionManager&) { program_.SessionEnding(); });
        app->installEventFilter(this);
    }
}

FrontEnd::~FrontEnd() {
    if (QCoreApplication::instance() != nullptr)
        QCoreApplication::instance()->removeEventFilter(this);
}

int FrontEnd::run() {
    program_.Start();
    if (ended_)
        return 0;
    return QCoreApplication::exec();
}

bool FrontEnd::eventFilter(QObject* watched, QEvent* event) {
    // The session manager's final word arrives as the application's quit: the program ends
    // through its close handling, not by Qt closing its windows.
    if (watched == QCoreApplication::instance() && event->type() == QEvent::Quit) {
        program_.SessionEnd();
        return true;
    }
    return false;
}

} // namespace palisade::qt
