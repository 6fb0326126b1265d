// Runs the Qt front end's tests with an application object on the offscreen platform: no
// display is needed and nothing appears on a real desktop.
#include <QApplication>
#include <cstdlib>
#include <gmock/gmock.h>

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // Whatever the tests make, they make in folders of their own, never in the user's.
    ::setenv("XDG_CONFIG_HOME", "/nonexistent/palisade-tests", 1);
    QApplication app(argc, argv);
    ::testing::InitGoogleMock(&argc, argv);
    return RUN_ALL_TESTS();
}
