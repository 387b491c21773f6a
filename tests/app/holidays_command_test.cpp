#include "app/holidays/holiday_list_dialog.h"
#include "core/holidays/holiday_rules.h"
#include "core/holidays/holiday_table.h"
#include "task_window_fixture.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

namespace dw {
namespace {

using test::FakePrompts;
using test::kToday;
using test::whenModal;
using Rows = std::vector<std::string>;

class HolidaysCommandTest : public test::TaskWindowTest {
protected:
    std::string holidayToday() {
        return holidayForDate(state_->gridHoliday(), kToday, state_->fs());
    }
};

TEST_F(HolidaysCommandTest, TheWindowReadsTheFileAgainAfterTheList) {
    ASSERT_TRUE(test::saveDataRows(makeHolidayTable(), {{"Old", "01", "January", "1"}},
                                   dir_.file("holiday.grd")));
    MainWindow& w = shown();
    QAction* holidays = w.action("holidaysAction");
    ASSERT_NE(holidays, nullptr);
    EXPECT_EQ(holidays->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_H));
    EXPECT_TRUE(w.menuBar()->findChild<QMenu*>("fileMenu")->actions().contains(holidays));
    EXPECT_EQ(holidayToday(), "Old");

    // Changed, then closed by the title bar: the file and the window keep the old holiday.
    prompts_.setNextAnswer(FakePrompts::Yes);
    whenModal<HolidayListDialog>([](HolidayListDialog* d) {
        d->deleteHoliday();
        EXPECT_EQ(test::rowsOf(d->table()), Rows{"|||"});
        d->close();
    });
    holidays->trigger();
    EXPECT_EQ(fileRows("holiday.grd"), Rows{"Old|01|January|1"});
    EXPECT_EQ(holidayToday(), "Old");

    // Closed with "Close": saved, and the window shows the new holiday at once.
    whenModal<HolidayListDialog>([this](HolidayListDialog* d) {
        writeHolidayRow(d->table(), 1, "New", "January", "1", state_->fs());
        d->closeButton()->click();
    });
    holidays->trigger();
    EXPECT_EQ(fileRows("holiday.grd"), Rows{"New|01|January|1"});
    EXPECT_EQ(holidayToday(), "New");
}

} // namespace
} // namespace dw
