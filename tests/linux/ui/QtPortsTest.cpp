// The Qt ports and helpers: texts, the open-file dialog's filter and result, the codes of clicks
// and keys, the event pump, the dialogs, the notification area and the signal pipe.
#include "GuiRig.h"
#include "linux/ui/ListViewWidget.h"
#include "linux/ui/Pointers.h"
#include "linux/ui/QtDialogs.h"
#include "linux/ui/QtEventPump.h"
#include "linux/ui/QtNotificationShell.h"
#include "linux/ui/QtText.h"
#include "linux/ui/SignalPipe.h"
#include "linux/ui/UserFileChooser.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <csignal>
#include <ctime>
#include <gmock/gmock.h>
#include <sys/stat.h>

namespace palisade::qt {
namespace {

using test::WhenModal;

using ::testing::ElementsAre;

TEST(QtText, TextsLineBreaksAndMeasures) {
    EXPECT_EQ(Typed(Shown("caf\xc3\xa9 \xe2\x82\xac")), "caf\xc3\xa9 \xe2\x82\xac");
    const std::pair<std::string, QString> messages[] = {{"a\r\nb", "a\nb"},
                                                        {"a\rb", "a\nb"},
                                                        {"a\nb", "a\nb"},
                                                        {"a\r\rb", "a\n\nb"},
                                                        {"a\r\n\r\nb", "a\n\nb"}};
    for (const auto& [bytes, shown] : messages)
        EXPECT_EQ(MessageText(bytes), shown) << bytes;
    const std::pair<int, int> lengths[] = {{8040, 536}, {6435, 429}, {1545, 103}, {7000, 467},
                                           {120, 8},    {345, 23},   {0, 0}};
    for (const auto& [twips, pixels] : lengths)
        EXPECT_EQ(Pixels(twips), pixels) << twips;
    QPalette system;
    system.setColor(QPalette::Button, Qt::red);
    system.setColor(QPalette::Base, Qt::green);
    EXPECT_EQ(ColorOf(colors::White, system), QColor(Qt::white));
    EXPECT_EQ(ColorOf(0x00FF0000, system), QColor(0, 0, 255)); // 0x00BBGGRR
    EXPECT_EQ(ColorOf(colors::ButtonFace, system), QColor(Qt::red));
    EXPECT_EQ(ColorOf(colors::WindowBackground, system), QColor(Qt::green));
}

TEST(QtDialogsFilter, PairsBecomeNameFiltersAndDotStarMatchesEverything) {
    EXPECT_THAT(NameFilters("Text Files (*.txt)|*.txt|All Files (*.*)|*.*|"),
                ElementsAre("Text Files (*.txt)", "All Files (*)"));
    EXPECT_THAT(NameFilters("Lists|*.txt;*.lst"), ElementsAre("Lists (*.txt *.lst)"));
    EXPECT_TRUE(NameFilters("").isEmpty());
}

TEST(QtDialogsFilter, ChosenFilesAreOnePathOrTheFolderAndNames) {
    EXPECT_EQ(ChosenFiles({}), "");
    EXPECT_EQ(ChosenFiles({"/home/ann/a list.txt"}), "/home/ann/a list.txt");
    EXPECT_EQ(ChosenFiles({"/home/ann/a.txt", "/home/ann/b.txt"}),
              std::string("/home/ann\0a.txt\0b.txt", 21));
    EXPECT_EQ(ChosenFiles({"/a.txt", "/b.txt"}), std::string("/\0a.txt\0b.txt", 13));
    // Typed from several folders: from the folder they share, not the first file's.
    EXPECT_EQ(ChosenFiles({"/home/ann/x/a.txt", "/home/ann/b.txt", "/home/annex/c.txt"}),
              std::string("/home\0ann/x/a.txt\0ann/b.txt\0annex/c.txt", 39));
}

TEST(QtCodes, ClicksAndKeysMapToTheirCodes) {
    const std::pair<QSystemTrayIcon::ActivationReason, std::uint32_t> clicks[] = {
        {QSystemTrayIcon::Trigger, 0x202},
        {QSystemTrayIcon::Context, 0x205},
        {QSystemTrayIcon::DoubleClick, 0x203},
        {QSystemTrayIcon::MiddleClick, 0},
        {QSystemTrayIcon::Unknown, 0}};
    for (const auto& [reason, code] : clicks)
        EXPECT_EQ(TrayCodeOf(reason), code) << reason;
    const std::pair<int, int> keys[] = {{Qt::Key_Delete, 46}, {Qt::Key_A, 65},
                                        {Qt::Key_5, 53},      {Qt::Key_Return, 13},
                                        {Qt::Key_Escape, 27}, {Qt::Key_F1, 0}};
    for (const auto& [key, code] : keys)
        EXPECT_EQ(KeyCodeOf(key), code) << key;
}

TEST(Pointers, ACursorFileGivesItsImageAndHotSpotAndAnythingElseNothing) {
    QFile ico(QStringLiteral(SOURCE_ICONS "/palisade.ico"));
    ASSERT_TRUE(ico.open(QIODevice::ReadOnly));
    QByteArray cursor = ico.readAll();
    const QByteArray icon = cursor;
    cursor[2] = 2;                                                  // type: cursor
    cursor[10] = 5, cursor[11] = 0, cursor[12] = 7, cursor[13] = 0; // first image's hot spot
    QTemporaryDir dir;
    const std::pair<QByteArray, std::optional<QPoint>> files[] = {
        {cursor, QPoint(5, 7)}, {icon, std::nullopt}, {"not a cursor", std::nullopt}};
    for (const auto& [bytes, hotSpot] : files) {
        QFile file(dir.filePath("HAND-M.CUR"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        const auto loaded = LoadCursorFile(file.fileName().toStdString());
        ASSERT_EQ(loaded.has_value(), hotSpot.has_value());
        if (loaded) {
            EXPECT_EQ(loaded->hotSpot(), *hotSpot);
            EXPECT_FALSE(loaded->pixmap().isNull());
        }
    }
    EXPECT_FALSE(LoadCursorFile(dir.filePath("missing.cur").toStdString()));
    // Neither a pipe nor a device in its place holds the program up.
    const QByteArray pipe = QFile::encodeName(dir.filePath("pipe.cur"));
    ASSERT_EQ(::mkfifo(pipe.constData(), 0600), 0);
    EXPECT_FALSE(LoadCursorFile(pipe.toStdString()));
    EXPECT_FALSE(LoadCursorFile("/dev/zero"));
}

TEST(QtEventPump, WaitsWithoutSpinningAndWakesForAnEvent) {
    QtEventPump pump;
    QElapsedTimer wall;
    const std::clock_t cpu = std::clock();
    wall.start();
    // As a caller waits until a deadline: each call sleeps until something happens.
    int calls = 0;
    for (qint64 left = 300; left > 0; left = 300 - wall.elapsed(), ++calls)
        pump.waitEvents(std::chrono::milliseconds(left));
    EXPECT_GE(wall.elapsed(), 300);
    EXPECT_LT(calls, 20) << "the wait spun";
    EXPECT_LT(double(std::clock() - cpu) / CLOCKS_PER_SEC, 0.1) << "the wait spun";

    bool ran = false;
    QTimer::singleShot(20, [&] { ran = true; });
    wall.restart();
    while (!ran && wall.elapsed() < 2000)
        pump.waitEvents(std::chrono::milliseconds(5000));
    EXPECT_TRUE(ran);
    EXPECT_LT(wall.elapsed(), 1000);
}

TEST(QtDialogs, MessageBoxesShowTheirTitleTextAndIcon) {
    QtDialogs dialogs;
    for (const auto icon : {MessageIcon::None, MessageIcon::Warning}) {
        WhenModal([icon](QWidget* box) {
            auto* message = qobject_cast<QMessageBox*>(box);
            ASSERT_NE(message, nullptr);
            EXPECT_EQ(message->windowTitle(), "Application Error");
            EXPECT_EQ(message->text(), "one\ntwo\n\nthree");
            EXPECT_EQ(message->icon(),
                      icon == MessageIcon::Warning ? QMessageBox::Warning : QMessageBox::NoIcon);
            EXPECT_EQ(message->buttons().size(), 1);
            QTest::keyClick(message, Qt::Key_Return);
        });
        dialogs.messageBox("one\r\ntwo\r\rthree", "Application Error", icon);
    }
}

TEST(QtDialogs, CancelAllClosesEveryOpenBoxAsCancelled) {
    QtDialogs dialogs;
    std::string inner = "not run";
    WhenModal([&](QWidget*) {
        // A message box opened from inside the input box's wait, then both cancelled at once.
        QTimer::singleShot(0, [&] { dialogs.cancelAll(); });
        dialogs.messageBox("nested", "Palisade", MessageIcon::None);
        inner = "returned";
    });
    EXPECT_EQ(dialogs.inputBox("prompt", "Palisade", "default"), "");
    EXPECT_EQ(inner, "returned");
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

// In place of the program, scripts: one prints who runs it, one waits to be cancelled, one fails.
TEST(UserFileChooser, TheDialogsProcessIsTheUsersAndEndsWhenCancelled) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to start a process as another user";
    QTemporaryDir dir;
    ASSERT_EQ(::chmod(QFile::encodeName(dir.path()).constData(), 0755), 0);
    const UserAccount nobody{65534, 65534, "/nonexistent"};
    const auto chooser = [&](const QString& name, const QByteArray& body) {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\n" + body + "\n");
        file.setPermissions(QFile::permissions(file.fileName()) | QFile::ExeOther |
                            QFile::ExeOwner);
        return std::make_unique<UserFileChooser>(nobody, file.fileName());
    };
    EXPECT_EQ(chooser("who", R"sh(printf '%s|' "$1" "$2" \
        "$(id -ru) $(id -u) $(id -rg) $(id -g) $(id -G)" "$HOME")sh")
                  ->choose({"Title", "Filter|*", 0x200, {}}, nullptr),
              "--choose-files|Title|65534 65534 65534 65534 65534|/nonexistent|");
    const auto waits = chooser("waits", "exec sleep 60");
    QTimer::singleShot(200, [&] { waits->cancel(); });
    EXPECT_EQ(waits->choose({}, nullptr), "");
    const auto fails = chooser("fails", "exit 3");
    EXPECT_EQ(fails->choose({}, nullptr), std::nullopt);
    EXPECT_EQ(fails->problem(), "it ended with status 3");
}

TEST(QtNotificationShell, RecordsShowTheIconAndClicksReachTheHook) {
    QtNotificationShell shell(QIcon(QStringLiteral(":/icons/palisade-16.png")));
    std::vector<std::uint32_t> codes;
    shell.installHook([&](std::uint32_t code, std::uint32_t) { codes.push_back(code); });

    NotifyIconData add;
    add.flags = tray::NifMessage | tray::NifIcon | tray::NifTip;
    add.icon = shell.programIcon();
    add.tip = "Palisade Software";
    shell.notify(tray::NimAdd, add);
    EXPECT_TRUE(shell.trayIcon().isVisible());
    EXPECT_EQ(shell.trayIcon().toolTip(), "Palisade Software");
    EXPECT_FALSE(shell.trayIcon().icon().isNull());

    NotifyIconData tip;
    tip.flags = tray::NifTip;
    tip.tip = "changed";
    shell.notify(tray::NimModify, tip);
    EXPECT_EQ(shell.trayIcon().toolTip(), "changed");

    // A StatusNotifierItem tray reports whole clicks; they reach the hook from the event loop.
    for (auto reason :
         {QSystemTrayIcon::Trigger, QSystemTrayIcon::Context, QSystemTrayIcon::MiddleClick})
        Q_EMIT shell.trayIcon().activated(reason);
    Q_EMIT shell.trayIcon().messageClicked();
    EXPECT_TRUE(codes.empty()) << "reported inside the event that raised it";
    QCoreApplication::processEvents();
    EXPECT_THAT(codes, ElementsAre(0x202u, 0x205u, 1029u));

    shell.removeHook();
    Q_EMIT shell.trayIcon().activated(QSystemTrayIcon::Trigger);
    QCoreApplication::processEvents();
    EXPECT_EQ(codes.size(), 3u);
    shell.notify(tray::NimDelete, {});
    EXPECT_FALSE(shell.trayIcon().isVisible());
}

// Stands in for Qt's own icon widget in an X11 tray, which reports a click from its press.
class X11IconWidget : public QWidget {
public:
    explicit X11IconWidget(QSystemTrayIcon& tray) : tray_(tray) {
        setObjectName(QStringLiteral("QSystemTrayIconSys"));
    }

protected:
    void mousePressEvent(QMouseEvent* event) override {
        Q_EMIT tray_.activated(event->button() == Qt::LeftButton    ? QSystemTrayIcon::Trigger
                               : event->button() == Qt::RightButton ? QSystemTrayIcon::Context
                                                                    : QSystemTrayIcon::MiddleClick);
    }

private:
    QSystemTrayIcon& tray_;
};

TEST(QtNotificationShell, TheX11IconReportsAClickOnTheReleaseFromTheEventLoop) {
    QtNotificationShell shell(QIcon{});
    std::unique_ptr<X11IconWidget> icon;
    std::vector<std::uint32_t> codes;
    // As the program does: the click takes the icon down, and Qt's widget with it.
    shell.installHook([&](std::uint32_t code, std::uint32_t) {
        codes.push_back(code);
        icon.reset();
    });
    for (const auto button : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton}) {
        icon = std::make_unique<X11IconWidget>(shell.trayIcon());
        icon->show();
        const std::size_t before = codes.size();
        QTest::mousePress(icon.get(), button);
        QCoreApplication::processEvents();
        QTest::mouseRelease(icon.get(), button);
        EXPECT_EQ(codes.size(), before) << "reported on the press, or inside the release";
        QCoreApplication::processEvents();
    }
    EXPECT_THAT(codes, ElementsAre(0x202u, 0x205u));
}

TEST(SignalPipe, ASignalIsHandledInTheEventLoopNotInTheHandler) {
    std::vector<int> seen;
    SignalPipe pipe({SIGUSR1}, [&](int number) { seen.push_back(number); });
    ASSERT_EQ(::raise(SIGUSR1), 0);
    EXPECT_TRUE(seen.empty());
    QElapsedTimer wall;
    wall.start();
    while (seen.empty() && wall.elapsed() < 2000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
    EXPECT_THAT(seen, ElementsAre(SIGUSR1));
}

} // namespace
} // namespace palisade::qt
