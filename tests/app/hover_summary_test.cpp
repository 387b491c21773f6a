#include "app/calendar/calendar_pane.h"
#include "app/calendar/hover_summary.h"
#include "app/shell/main_actions.h"
#include "app/widgets/cell_grid.h"
#include "app/widgets/month_view.h"
#include "app/widgets/timer_pool.h"
#include "app/widgets/win_color.h"
#include "core/holidays/holiday_rules.h"
#include "task_window_fixture.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <algorithm>

namespace dw {
namespace {

using test::kToday;

class HoverTest : public test::TaskWindowTest {
protected:
    void SetUp() override {
        writeStore({{"36526.100", "9:00 AM", "", "Standup\r\nroom 4", "No", "No"},
                    {"36526.101", "11:00 AM", "", "Report", "Yes", "No"},
                    {"36526.102", "2:30 PM", "", "Dentist", "No", "No"}});
        shown();
    }
    HoverSummary& hover() { return composition().hoverSummary(); }
    MonthView* cal2() { return window().calendarPane()->calendar(1); }

    static void moveOver(QWidget* w, const QPoint& pos) {
        QMouseEvent e(QEvent::MouseMove, QPointF(pos), QPointF(w->mapToGlobal(pos)), Qt::NoButton,
                      Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(w, &e);
    }
    // The pointer rests on a date of cal2 (a second report, two pixels on, as a hand gives).
    void restOn(int date) {
        const QPoint p = cal2()->cellRect(cal2()->cellOfDate(date)).center();
        moveOver(cal2(), p);
        moveOver(cal2(), p + QPoint(2, 0));
    }
    // The pointer glides to a date, reporting every few pixels as a real hand does.
    void glideTo(int date) {
        const QPoint to = cal2()->cellRect(cal2()->cellOfDate(date)).center();
        QPoint at = cal2()->cellRect(cal2()->cellOfDate(kToday)).center() + QPoint(2, 0);
        while (at != to) {
            const int dx = std::clamp(to.x() - at.x(), -5, 5);
            const int dy = std::clamp(to.y() - at.y(), -5, 5);
            at += QPoint(dx, dy);
            moveOver(cal2(), at);
        }
    }
    void ticks(int n) {
        for (int i = 0; i < n; ++i)
            window().onTimerTrigger(window().hoverTrigger());
    }
};

TEST_F(HoverTest, AfterTenTicksOnADayItsSummaryComesUpOverTheDayPane) {
    restOn(kToday);
    ticks(9);
    EXPECT_FALSE(hover().isVisible());
    ticks(1);
    ASSERT_TRUE(hover().isVisible());
    EXPECT_EQ(hover().dateLabel()->text(), "Saturday, January 1, 2000");
    EXPECT_EQ(hover().whenLabel()->text(), "Today");
    EXPECT_EQ(hover().lines(), (std::vector<std::string>{
                                   "2\t Pending tasks", "", "9:00 AM\tStandup", "2:30 PM\tDentist",
                                   "", "1\t Completed tasks", "", "11:00 AM\tReport"}));
    EXPECT_EQ(hover().pos(), QPoint(0, 0));
    // Its countdown has run out: the trigger rests until the pointer reaches another day.
    const TimerPool& pool = *window().timerPool();
    EXPECT_FALSE(pool.isEnabled(window().hoverTrigger()));
    // The next day while it shows: two ticks; an empty day takes it away.
    glideTo(kToday + 1);
    EXPECT_TRUE(pool.isEnabled(window().hoverTrigger()));
    EXPECT_TRUE(hover().isVisible());
    ticks(2);
    EXPECT_FALSE(hover().isVisible());
    EXPECT_FALSE(pool.isEnabled(window().hoverTrigger()));
}

TEST_F(HoverTest, AHolidayAloneShowsOnTheHolidayColoursAndAnAlarmHoldsTheCountdown) {
    CellTable& h = state_->gridHoliday();
    h.setRowCount(2);
    h.setCell(kHolidayName, 1, "Founders Day");
    h.setCell(kHolidayMonthNumber, 1, "01");
    h.setCell(kHolidayMonth, 1, "January");
    h.setCell(kHolidayRule, 1, "4");
    restOn(kToday + 3);
    window().setAlarmBusy(true);
    ticks(12);
    EXPECT_FALSE(hover().isVisible());
    window().setAlarmBusy(false);
    ticks(10);
    ASSERT_TRUE(hover().isVisible());
    EXPECT_EQ(hover().lines(), (std::vector<std::string>{"Founders Day", ""}));
    const QPalette p = hover().findChild<QPlainTextEdit*>("popupList")->palette();
    EXPECT_EQ(p.color(QPalette::Base), toQColor(state_->options().holidayBG));
}

TEST_F(HoverTest, HidingEvents) {
    const auto showUp = [this] {
        restOn(kToday);
        ticks(10);
        ASSERT_TRUE(hover().isVisible());
    };
    showUp();
    moveOver(window().gridDay()->viewport(), {5, 5});
    EXPECT_FALSE(hover().isVisible());

    restOn(kToday + 1); // another cell first, so the same one counts as new again
    showUp();
    QKeyEvent key(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(window().gridNonday(), &key);
    EXPECT_FALSE(hover().isVisible());

    restOn(kToday + 1);
    showUp();
    // A quick sweep: more than 6 pixels between two reports.
    moveOver(cal2(), cal2()->cellRect(cal2()->cellOfDate(kToday)).center() + QPoint(12, 0));
    EXPECT_FALSE(hover().isVisible());

    restOn(kToday + 1);
    showUp();
    window().calendarPane()->onCalendarClicked(0);
    EXPECT_FALSE(hover().isVisible());
}

TEST_F(HoverTest, TheMenuSwitchesTheSummaryAndSavesTheOptions) {
    const MainActions& a = window().actions();
    EXPECT_TRUE(a.popupEnable->isChecked());
    EXPECT_TRUE(cal2()->actions().contains(a.popupDisable));
    restOn(kToday);
    ticks(10);
    a.popupDisable->trigger();
    EXPECT_FALSE(hover().isVisible());
    EXPECT_FALSE(state_->options().popup);
    EXPECT_TRUE(a.popupDisable->isChecked());
    EXPECT_FALSE(window().timerPool()->isEnabled(window().hoverTrigger()));
    EXPECT_EQ(backend_->value("Options", "qPopup"), "0");
    // Switched off, moves arm nothing.
    restOn(kToday + 1);
    ticks(10);
    EXPECT_FALSE(hover().isVisible());

    a.popupEnable->trigger();
    EXPECT_TRUE(window().timerPool()->isEnabled(window().hoverTrigger()));
    EXPECT_EQ(backend_->value("Options", "qPopup"), "1");
    EXPECT_EQ(backend_->value("Options", "FirstTime"), "first");
}

} // namespace
} // namespace dw
