// The app tests run on one QApplication on the offscreen platform, with the en-US
// conventions, and with settings kept in a throw-away folder of the process's own, since
// test programs run side by side.
#include "app/modal_helpers.h"

#include <QApplication>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// A test that waited for a dialog which never opened fails, before its result is shown.
class UnopenedModalCheck : public ::testing::EmptyTestEventListener {
    void OnTestEnd(const ::testing::TestInfo&) override { dw::test::failUnopenedModals(); }
};

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    QApplication::setApplicationName("Dayweaver");
    const QTemporaryDir settings;
    for (const QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
        QSettings::setPath(format, QSettings::UserScope, settings.path());
    ::testing::InitGoogleTest(&argc, argv);
    // End events reach the listeners last to first, so the check runs before the result
    // printer and the printed result counts it.
    ::testing::UnitTest::GetInstance()->listeners().Append(new UnopenedModalCheck);
    return RUN_ALL_TESTS();
}
