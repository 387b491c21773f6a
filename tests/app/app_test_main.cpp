// The app tests run on one QApplication on the offscreen platform, with the en-US
// conventions, and with settings kept in a throw-away folder.
#include <QApplication>
#include <QStandardPaths>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    QApplication::setApplicationName("Dayweaver");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
