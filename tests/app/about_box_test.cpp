#include "app/modal_helpers.h"
#include "app/shell/app_state.h"
#include "app/shell/main_window.h"
#include "app/shell/window_composition.h"
#include "dayweaver_config.h"
#include "platform/system_clock.h"
#include "support/fake_prompts.h"
#include "support/temp_dir.h"

#include <QAction>
#include <QMenu>
#include <QMessageBox>
#include <gtest/gtest.h>

namespace dw {
namespace {

// Help > About Dayweaver names the version the build was made from.
TEST(AboutBox, TheHelpMenuShowsTheVersion) {
    test::TempDir dir;
    test::FakePrompts prompts;
    AppState state(FormatSettings::enUS(), std::make_unique<SystemClock>(),
                   std::make_unique<MapSettingsBackend>(),
                   AppPaths{dir.file("dayweaver"), dir.path(), dir.path()}, prompts);
    WindowComposition windows(state);
    MainWindow& w = windows.window();
    auto* help = w.findChild<QMenu*>("helpMenu");
    ASSERT_NE(help, nullptr);
    QAction* about = nullptr;
    for (QAction* a : help->actions())
        if (a->objectName() == "aboutAction")
            about = a;
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(about->text(), "About Dayweaver");

    QString shown;
    test::whenModal<QMessageBox>([&](QMessageBox* box) {
        shown = box->windowTitle() + "|" + box->text();
        box->accept();
    });
    about->trigger();
    EXPECT_EQ(
        shown,
        QString("About Dayweaver|Dayweaver %1\n\nDay planner and task reminder.").arg(kVersion));
    EXPECT_FALSE(QString(kVersion).isEmpty());
}

} // namespace
} // namespace dw
