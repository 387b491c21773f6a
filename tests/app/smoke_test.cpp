#include <QTest>

#include <gtest/gtest.h>

#include "app/shell/main_window.h"

namespace dw {
namespace {

TEST(MainWindowSmoke, OpensAndClosesWithItsTitle) {
    TfrmMain w;
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    EXPECT_EQ(w.windowTitle(), "Dayweaver");
    EXPECT_TRUE(w.close());
}

} // namespace
} // namespace dw
