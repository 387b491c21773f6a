// The command line's tests run most commands in this process, print among them: one
// QGuiApplication on the offscreen platform, named as the command line is, so that the
// data folder's lock names its holder as the command line's.
#include <QCoreApplication>
#include <QGuiApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCoreApplication::setApplicationName("dayweaver-cli");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
