#include "GuiRig.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFile>
#include <QTest>
#include <QTimer>

namespace palisade::qt::test {

GuiRig::GuiRig(bool trayAvailable)
    : system(scratch.path().toStdString()),
      fakes({.fs = &fs, .dialogs = &dialogs, .pump = &pump, .system = &system, .clock = &clock}) {
    {
        QFile hosts(scratch.path() + "/hosts");
        hosts.open(QIODevice::WriteOnly);
        hosts.write(hostsOriginal.data(), static_cast<qint64>(hostsOriginal.size()));
    }
    fakes.admin.result = -1;
    fakes.shell.isAvailable = trayAvailable;
    program = std::make_unique<Program>(fakes.ports, Platform::Linux,
                                        FixedHostsPaths(scratchPath("hosts")), true);
    frontEnd = std::make_unique<FrontEnd>(*program, QIcon());
}

GuiRig::~GuiRig() {
    frontEnd.reset();
    program.reset();
}

void GuiRig::start() {
    program->Start();
    settle();
}

void GuiRig::settle() {
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

void GuiRig::click(QWidget* widget) {
    QTest::mouseClick(widget, Qt::LeftButton);
    settle();
}

void GuiRig::minimise() {
    main()->setWindowState(main()->windowState() | Qt::WindowMinimized);
    settle();
}

void GuiRig::restore() {
    main()->setWindowState(main()->windowState() & ~Qt::WindowMinimized);
    settle();
}

void GuiRig::trayClick(std::uint32_t code) {
    fakes.shell.deliver(code);
    settle();
}

std::vector<std::string> GuiRig::rows() {
    settle();
    auto* view = in1<QAbstractItemView>("ListView1");
    std::vector<std::string> texts;
    for (int r = 0; r < view->model()->rowCount(); ++r)
        texts.push_back(view->model()->index(r, 0).data().toString().toStdString());
    return texts;
}

std::string GuiRig::hostsText() {
    QFile hosts(scratch.path() + "/hosts");
    hosts.open(QIODevice::ReadOnly);
    return hosts.readAll().toStdString();
}

std::string GuiRig::scratchPath(const std::string& name) const {
    return scratch.path().toStdString() + "/" + name;
}

void WhenModal(std::function<void(QWidget*)> action) {
    QTimer::singleShot(0, [action] {
        QWidget* box = QApplication::activeModalWidget();
        if (box == nullptr)
            return WhenModal(action);
        action(box);
    });
}

} // namespace palisade::qt::test
