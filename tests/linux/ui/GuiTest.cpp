// The program through its windows, on the offscreen platform: widgets found by their controls'
// names and driven with QTest as a user would. The behaviour itself is tested in the core; these
// check that the front end carries it both ways.
#include "GuiRig.h"
#include "linux/ui/SingleInstance.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QThread>
#include <QTreeView>
#include <QWindow>
#include <gmock/gmock.h>

namespace palisade::qt::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using Rows = std::vector<std::string>;

void Answer(const QString& text) {
    WhenModal([text](QWidget* box) {
        auto* input = qobject_cast<QInputDialog*>(box);
        ASSERT_NE(input, nullptr);
        EXPECT_EQ(input->labelText(), "Enter URL/IP Address to block: ");
        EXPECT_EQ(input->windowTitle(), "Palisade");
        auto* edit = box->findChild<QLineEdit*>();
        QTest::keyClicks(edit, text);
        QTest::keyClick(edit, text.isEmpty() ? Qt::Key_Escape : Qt::Key_Return);
    });
}

void Choose(const QString& folder, const QString& names) {
    WhenModal([folder, names](QWidget* box) {
        auto* dialog = qobject_cast<QFileDialog*>(box);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), "Load List(s) - Hold Ctrl to select multiple list files");
        EXPECT_EQ(dialog->selectedNameFilter(), "Text Files (*.txt)");
        dialog->setDirectory(folder);
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        name->setText(names);
        QTest::keyClick(name, Qt::Key_Return);
    });
}

void Write(const std::string& path, const std::string& bytes) {
    QFile file(QString::fromStdString(path));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

QPoint RowCentre(QTreeView* view, int row) {
    return view->visualRect(view->model()->index(row, 0)).center();
}

TEST(Gui, TheListCommandsThroughTheWidgets) {
    GuiRig rig;
    rig.start();
    Write(rig.scratchPath("a.txt"), "one\ntwo\n");
    Write(rig.scratchPath("b.txt"), "three\r\n");
    Write(rig.scratchPath("c.txt"), "four");
    auto* view = rig.in1<QTreeView>("ListView1");
    const QString folder = rig.scratch.path();
    struct Step {
        const char* what;
        std::function<void()> act;
        Rows rows;
    };
    const Step steps[] = {
        {"added through the input box",
         [&] { Answer("typed.example"), rig.click(rig.in1("PushButton6")); },
         {"typed.example"}},
        {"the input box cancelled",
         [&] { Answer(""), rig.click(rig.in1("PushButton6")); },
         {"typed.example"}},
        {"one file loaded",
         [&] { Choose(folder, "a.txt"), rig.click(rig.in1("PushButton4")); },
         {"typed.example", "one", "two"}},
        {"two files loaded",
         [&] { Choose(folder, "\"b.txt\" \"c.txt\""), rig.click(rig.in1("PushButton4")); },
         {"typed.example", "one", "two", "three", "four"}},
        {"the samples",
         [&] { rig.click(rig.in1("PushButton5")); },
         {"typed.example", "one", "two", "three", "four", "facebook.com", "instagram.com"}},
        {"a double-click removes the entry",
         [&] {
             QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, RowCentre(view, 0));
             QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, RowCentre(view, 0));
         },
         {"one", "two", "three", "four", "facebook.com", "instagram.com"}},
        {"Delete removes the selected entry",
         [&] {
             QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, RowCentre(view, 1));
             QTest::keyClick(view, Qt::Key_Delete);
         },
         {"one", "three", "four", "facebook.com", "instagram.com"}},
        {"clear", [&] { rig.click(rig.in1("PushButton3")); }, {}},
    };
    for (const Step& step : steps) {
        step.act();
        EXPECT_EQ(rig.rows(), step.rows) << step.what;
    }
    EXPECT_EQ(rig.fakes.settings.get("Blocked Websites"), "") << "the cleared list was not saved";
}

TEST(Gui, TheBlockButtonBlocksHidesIntoTheTrayAndStops) {
    GuiRig rig;
    rig.start();
    auto* block = rig.in1<QPushButton>("PushButton2");
    rig.click(rig.in1("PushButton5"));
    rig.click(block);
    EXPECT_EQ(block->text(), "Stop Blocking");
    EXPECT_THAT(rig.hostsText(), HasSubstr("127.0.0.1          facebook.com"));
    EXPECT_FALSE(rig.main()->isVisible()) << "blocking did not hide the window";
    ASSERT_FALSE(rig.fakes.shell.records.empty());
    EXPECT_EQ(rig.fakes.shell.records.back().data.infoTitle, "Palisade Software");

    rig.trayClick();
    EXPECT_TRUE(rig.main()->isVisible());
    rig.click(block);
    EXPECT_EQ(block->text(), "Start Blocking");
    EXPECT_EQ(rig.hostsText(), rig.hostsOriginal);
    EXPECT_TRUE(rig.main()->isVisible());
}

TEST(Gui, ThePasswordWindowGuardsTheWayBackFromTheTray) {
    GuiRig rig;
    rig.start();
    QTest::keyClicks(rig.in1("txtPassword"), "secret");
    EXPECT_EQ(rig.fakes.settings.get("Password"), "secret");
    rig.minimise();
    ASSERT_FALSE(rig.main()->isVisible());

    rig.trayClick(tray::RightButtonUp);
    ASSERT_TRUE(rig.password()->isVisible());
    EXPECT_EQ(rig.password()->windowTitle(), "Enter Password");
    auto* box = rig.in2<QLineEdit>("txtPassword");
    EXPECT_TRUE(box->hasFocus() || QApplication::focusWidget() == box);
    QTest::keyClicks(box, "Secret");
    QString refusal;
    WhenModal([&](QWidget* message) {
        refusal = qobject_cast<QMessageBox*>(message)->text();
        QTest::keyClick(message, Qt::Key_Return);
    });
    QTest::keyClick(box, Qt::Key_Return);
    rig.settle();
    EXPECT_EQ(refusal, "Invalid password entered.");
    EXPECT_TRUE(rig.password()->isVisible());
    EXPECT_EQ(box->selectedText(), "Secret") << "the refused text is not selected";

    QTest::keyClick(box, Qt::Key_Escape);
    rig.settle();
    EXPECT_FALSE(rig.password()->isVisible());
    EXPECT_FALSE(rig.main()->isVisible());

    rig.trayClick();
    ASSERT_TRUE(rig.password()->isVisible());
    EXPECT_EQ(box->text(), "") << "the password window kept the last entry";
    QTest::keyClicks(box, " secret ");
    QTest::keyClick(box, Qt::Key_Return);
    rig.settle();
    EXPECT_FALSE(rig.password()->isVisible());
    EXPECT_TRUE(rig.main()->isVisible());
}

TEST(Gui, EnterClicksTheFocusedPushButtonInBothWindows) {
    GuiRig rig;
    rig.start();
    QTest::keyClick(rig.in1("PushButton5"), Qt::Key_Return);
    EXPECT_EQ(rig.rows(), (Rows{"facebook.com", "instagram.com"}));
    QTest::keyClicks(rig.in1("txtPassword"), "pw");
    rig.minimise();
    rig.trayClick();
    QTest::keyClicks(rig.in2("txtPassword"), "pw");
    QTest::keyClick(rig.in2("PushButton1"), Qt::Key_Enter); // on Cancel, not OK
    rig.settle();
    EXPECT_FALSE(rig.password()->isVisible() || rig.main()->isVisible()) << "not cancelled";
}

TEST(Gui, TheHandShowsOverThePushButtonsOnlyAndAMoveOverAControlIsNotTheWindows) {
    GuiRig rig;
    rig.start();
    // Where the pointer goes in turn (a control's centre, or a point of the window or frame).
    const std::tuple<const char*, QPoint, Qt::CursorShape> moves[] = {
        {"PushButton2", {}, Qt::PointingHandCursor},
        {nullptr, {2, 2}, Qt::ArrowCursor},
        {"PushButton6", {}, Qt::PointingHandCursor},
        {"Check1", {}, Qt::PointingHandCursor},
        {"Frame1", {3, 40}, Qt::ArrowCursor}};
    for (const auto& [name, at, shape] : moves) {
        QWidget* over = name != nullptr ? rig.in1(name) : rig.main();
        QTest::mouseMove(rig.main()->windowHandle(),
                         over->mapTo(rig.main(), at.isNull() ? over->rect().center() : at));
        rig.settle();
        EXPECT_EQ(rig.main()->cursor().shape(), shape) << (name != nullptr ? name : "window");
    }
}

TEST(Gui, UnderADarkDesktopPaletteEveryCaptionReadsOnItsBackground) {
    const QPalette desktop = QApplication::palette();
    QApplication::setPalette(QPalette(QColor(49, 54, 59), QColor(35, 38, 41))); // white texts
    {
        GuiRig rig;
        rig.start();
        QWidget* rows = rig.in1<QTreeView>("ListView1")->viewport();
        std::vector<QWidget*> widgets{rig.main(), rows};
        for (Control* control : rig.program->form1().controls())
            widgets.push_back(rig.in1(control->name().c_str()));
        for (QWidget* w : widgets) {
            // The colours Qt's styles draw the widget's text and its ground with.
            auto roles = std::pair{QPalette::WindowText, QPalette::Window};
            if (qobject_cast<QPushButton*>(w) != nullptr)
                roles = {QPalette::ButtonText, QPalette::Button};
            else if (qobject_cast<QLineEdit*>(w) != nullptr || w == rows)
                roles = {QPalette::Text, QPalette::Base};
            const QPalette& p = w->palette();
            EXPECT_GT(
                std::abs(p.color(roles.first).lightness() - p.color(roles.second).lightness()), 128)
                << w->objectName().toStdString();
        }
    }
    QApplication::setPalette(desktop);
}

TEST(Gui, WithoutANotificationAreaTheWindowWaitsOnTheTaskBar) {
    GuiRig rig(/*trayAvailable=*/false);
    rig.start();
    QTest::keyClicks(rig.in1("txtPassword"), "pw");
    rig.minimise();
    EXPECT_TRUE(rig.main()->isVisible());
    EXPECT_TRUE(rig.main()->isMinimized());
    for (const auto& record : rig.fakes.shell.records)
        EXPECT_EQ(record.data.flags & tray::NifInfo, 0u) << "a balloon with no tray";

    rig.restore();
    EXPECT_TRUE(rig.main()->isMinimized()) << "came back past the password";
    ASSERT_TRUE(rig.password()->isVisible());
    QTest::keyClicks(rig.in2("txtPassword"), "pw");
    QTest::keyClick(rig.in2("txtPassword"), Qt::Key_Return);
    rig.settle();
    EXPECT_FALSE(rig.password()->isVisible());
    EXPECT_TRUE(rig.main()->isVisible());
    EXPECT_FALSE(rig.main()->isMinimized());
}

TEST(Gui, ASecondStartBringsTheHiddenProgramForward) {
    GuiRig rig;
    rig.start();
    rig.minimise();
    ASSERT_FALSE(rig.main()->isVisible());

    SingleInstance running(rig.scratch.path(), true);
    ASSERT_EQ(running.claim(TakesOver), SingleInstance::Outcome::First);
    running.onSecondStart([&](bool other) { return rig.program->SecondStart(other); });
    auto outcome = SingleInstance::Outcome::Unguarded;
    std::unique_ptr<QThread> second(QThread::create([&] {
        SingleInstance copy(rig.scratch.path(), true);
        outcome = copy.claim(TakesOver);
    }));
    second->start();
    while (!second->isFinished())
        rig.settle();
    second->wait();
    rig.settle();
    EXPECT_EQ(outcome, SingleInstance::Outcome::HandedOver);
    EXPECT_TRUE(rig.main()->isVisible());
}

TEST(Gui, TheCloseBoxAndTheSessionsLastWordEndTheProgramThroughItsCloseHandling) {
    const std::pair<const char*, std::function<void(GuiRig&)>> endings[] = {
        {"close box", [](GuiRig& rig) { rig.main()->close(); }},
        {"session manager's last word",
         [](GuiRig&) {
             QEvent quit(QEvent::Quit);
             QCoreApplication::sendEvent(QCoreApplication::instance(), &quit);
         }},
    };
    for (const auto& [what, end] : endings) {
        GuiRig rig;
        rig.start();
        rig.click(rig.in1("PushButton5"));
        rig.click(rig.in1("PushButton2"));
        rig.trayClick();
        end(rig);
        rig.settle();
        EXPECT_TRUE(rig.frontEnd->ended()) << what;
        EXPECT_FALSE(rig.main()->isVisible()) << what;
        EXPECT_EQ(rig.fakes.settings.get("BlockOnStart"), "1") << what;
        EXPECT_EQ(rig.fakes.settings.get("Minimized"), "On") << what;
        EXPECT_THAT(rig.fakes.settings.get("Blocked Websites"), HasSubstr("instagram.com")) << what;
    }
}

} // namespace
} // namespace palisade::qt::test
