#include "app/shell/app_state.h"
#include "app/shell/main_window.h"
#include "app/shell/window_composition.h"
#include "platform/system_clock.h"
#include "support/fake_prompts.h"
#include "support/temp_dir.h"

#include <QTest>
#include <gtest/gtest.h>

namespace dw {
namespace {

TEST(MainWindowSmoke, OpensAndClosesWithItsTitle) {
    test::TempDir dir;
    test::FakePrompts prompts;
    AppState state(FormatSettings::enUS(), std::make_unique<SystemClock>(),
                   std::make_unique<MapSettingsBackend>(),
                   AppPaths{dir.file("dayweaver"), dir.path(), dir.path()}, prompts);
    WindowComposition windows(state);
    MainWindow& w = windows.window();
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    EXPECT_EQ(w.windowTitle(), "Dayweaver");
    EXPECT_TRUE(w.close());
    EXPECT_TRUE(prompts.errors.empty());
}

} // namespace
} // namespace dw
