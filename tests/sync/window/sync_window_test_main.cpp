// The window's sync tests run on one QApplication on the offscreen platform, with settings
// kept in a throw-away folder, against a calendar server each test starts.
#include "app/modal_helpers.h"

#include <QApplication>
#include <QStandardPaths>
#include <gtest/gtest.h>

namespace {

// A test that waited for a dialog which never opened fails.
class UnopenedModalCheck : public ::testing::EmptyTestEventListener {
    void OnTestEnd(const ::testing::TestInfo&) override { dw::test::failUnopenedModals(); }
};

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    QApplication::setApplicationName("Dayweaver");
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new UnopenedModalCheck);
    return RUN_ALL_TESTS();
}
