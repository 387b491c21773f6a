#include "app/calendar/calendar_pane.h"
#include "app/calendar/date_navigator.h"
#include "app/settings/options_dialog.h"
#include "app/shell/app_state.h"
#include "app/shell/main_window.h"
#include "app/shell/pane_splitter.h"
#include "app/shell/window_composition.h"
#include "app/widgets/cell_grid.h"
#include "app/widgets/month_view.h"
#include "app/widgets/shadow_label.h"
#include "app/widgets/win_color.h"
#include "core/dates/date_serial.h"
#include "core/holidays/holiday_rules.h"
#include "core/store/task_store.h"
#include "support/fake_prompts.h"
#include "support/temp_dir.h"

#include <QAction>
#include <QDateEdit>
#include <QImage>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace dw {
namespace {

int day(int y, int m, int d) {
    return dateSerialOf(y, m, d);
}

std::string text(DateSerial d) {
    const CivilDate c = decodeDate(d);
    return std::to_string(c.year) + "-" + std::to_string(c.month) + "-" + std::to_string(c.day);
}

// The program's state at 9:00 on Saturday 1 January 2000, with tasks and holidays put
// straight into its tables, and a calendar pane shown on its own.
class CalendarPaneTest : public ::testing::Test {
protected:
    CalendarPaneTest() {
        auto clock = std::make_unique<FixedClock>(encodeDateTime(2000, 1, 1, 9, 0));
        state_ = std::make_unique<AppState>(
            FormatSettings::enUS(), std::move(clock), std::make_unique<MapSettingsBackend>(),
            AppPaths{dir_.file("dayweaver"), dir_.path(), dir_.path()}, prompts_);
        state_->store().setDataDir(dir_.path());
    }

    // Rows of the dated store: {date, time, category, what, done}; kept in date order.
    struct Task {
        int date;
        std::string time, category, what, done;
    };
    void setTasks(const std::vector<Task>& tasks) {
        CellTable& s = state_->store().gridStore();
        s.setRowCount(static_cast<int>(tasks.size()) + 1);
        for (size_t i = 0; i < tasks.size(); ++i) {
            const int r = static_cast<int>(i) + 1;
            const Task& t = tasks[i];
            s.setCell(StoreCol::Key, r, std::to_string(t.date) + "." + std::to_string(100 + r));
            s.setCell(StoreCol::Time, r, t.time);
            s.setCell(StoreCol::Category, r, t.category);
            s.setCell(StoreCol::What, r, t.what);
            s.setCell(StoreCol::Done, r, t.done);
            s.setCell(StoreCol::Alarm, r, "No");
        }
    }
    // A holiday on a fixed day of January.
    void addHoliday(const std::string& name, int dayOfMonth) {
        CellTable& h = state_->gridHoliday();
        if (h.rowCount() < 2 || !h.cell(0, 1).empty())
            h.setRowCount(h.rowCount() < 2 ? 2 : h.rowCount() + 1);
        const int r = h.rowCount() - 1;
        h.setCell(kHolidayName, r, name);
        h.setCell(kHolidayMonthNumber, r, "01");
        h.setCell(kHolidayMonth, r, "January");
        h.setCell(kHolidayRule, r, std::to_string(dayOfMonth));
    }

    CalendarPane& pane(bool withOptions = true) {
        if (!pane_) {
            pane_ = std::make_unique<CalendarPane>(*state_);
            pane_->resize(400, 330);
            if (withOptions) {
                options_ = std::make_unique<OptionsDialog>(state_->options(), state_->settings(),
                                                           prompts_, dir_.file("dayweaver"));
                pane_->setOptionsWindow(options_.get());
            }
            pane_->startAt(state_->clock().now());
        }
        return *pane_;
    }

    std::vector<std::string> shownDates() {
        std::vector<std::string> out;
        for (int i = 0; i < 4; ++i)
            out.push_back(text(pane().calendar(i)->date()));
        return out;
    }

    // What the cell-drawing reaction answers for a date on calendar `index`: the colours
    // as Windows values, "control" when the control's own look stays, "nothing" when the
    // cell is not to be drawn.
    std::string mark(int index, int date) {
        MonthView* cal = pane().calendar(index);
        const int n = cal->cellOfDate(date);
        EXPECT_GT(n, 0) << text(date) << " not on calendar " << index;
        QImage img(10, 10, QImage::Format_RGB32);
        QPainter p(&img);
        const CivilDate c = decodeDate(date);
        const bool thisMonth = c.year == cal->year() && c.month == cal->month();
        const MonthView::CellStyle sentinel{QColor(1, 2, 3), QColor(4, 5, 6), false};
        MonthView::DrawCell cell{n,
                                 date,
                                 c.day,
                                 thisMonth,
                                 thisMonth && date == wholeDays(cal->date()),
                                 QRect(0, 0, 10, 10),
                                 p,
                                 sentinel,
                                 false};
        pane().drawCalendarCell(index, cell);
        if (!cell.defaultDraw)
            return "nothing";
        if (cell.style.fore == sentinel.fore && cell.style.back == sentinel.back)
            return "control";
        auto hex = [](const QColor& q) {
            char buf[16];
            std::snprintf(buf, sizeof buf, "%06X", fromQColor(q) & 0xFFFFFF);
            return std::string(buf);
        };
        return hex(cell.style.fore) + "/" + hex(cell.style.back);
    }

    test::TempDir dir_;
    test::FakePrompts prompts_;
    std::unique_ptr<AppState> state_;
    std::unique_ptr<OptionsDialog> options_;
    std::unique_ptr<CalendarPane> pane_;
};

// ---------------------------------------------------------------------------------------
// Month synchronisation and activation

TEST_F(CalendarPaneTest, FirstShowLinesTheMonthsUpAroundTodayInTheSecondCalendar) {
    setTasks({{day(2000, 1, 1), "9:00 AM", "Work", "Standup", "No"}});
    CalendarPane& p = pane();
    EXPECT_EQ(p.activeIndex(), 1);
    EXPECT_EQ(p.previousIndex(), 1);
    EXPECT_EQ(p.selectedDate(), encodeDateTime(2000, 1, 1, 9, 0)); // with its time
    EXPECT_EQ(shownDates(),
              (std::vector<std::string>{"1999-12-1", "2000-1-1", "2000-2-1", "2000-3-1"}));
    EXPECT_EQ(p.nav()->date(), encodeDateTime(2000, 1, 1, 9, 0));
    EXPECT_EQ(state_->store().gridDay().cell(DayCol::What, 1), "Standup");
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(p.calendar(i)->bevel(),
                  i == 1 ? MonthView::Bevel::Raised : MonthView::Bevel::Lowered);
        EXPECT_EQ(p.calendar(i)->selectedColor(),
                  i == 1 ? SysColor::ButtonLight : SysColor::ButtonFace);
    }
}

TEST_F(CalendarPaneTest, EveryActiveCalendarAnchorsFourConsecutiveMonths) {
    struct {
        int active;
        CivilDate date;
        std::vector<std::string> expected;
    } cases[] = {
        // The clamp carries on from calendar to calendar, outward from the active one.
        {0, {2004, 1, 31}, {"2004-1-31", "2004-2-29", "2004-3-29", "2004-4-29"}},
        {3, {2001, 5, 31}, {"2001-2-28", "2001-3-30", "2001-4-30", "2001-5-31"}},
        {1, {2001, 3, 31}, {"2001-2-28", "2001-3-31", "2001-4-30", "2001-5-30"}},
        {2, {2001, 7, 31}, {"2001-5-30", "2001-6-30", "2001-7-31", "2001-8-31"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.active);
        pane_.reset(); // from today again, so that the date lands in another month
        CalendarPane& p = pane();
        p.onCalendarClicked(c.active);
        p.setSelectedDate(dateSerialOf(c.date) + 0.25);
        EXPECT_EQ(p.activeIndex(), c.active);
        EXPECT_EQ(shownDates(), c.expected);
        EXPECT_EQ(p.selectedDate(), dateSerialOf(c.date) + 0.25);
        EXPECT_EQ(p.nav()->date(), dateSerialOf(c.date) + 0.25);
        EXPECT_TRUE(p.settled());
    }
}

TEST_F(CalendarPaneTest, MonthStepsOfAnyCalendarReanchorOnTheActiveOne) {
    CalendarPane& p = pane();
    // The active calendar's own step moves all four.
    p.calendar(1)->nextMonth();
    EXPECT_EQ(shownDates(),
              (std::vector<std::string>{"2000-1-1", "2000-2-1", "2000-3-1", "2000-4-1"}));
    p.calendar(1)->nextYear();
    EXPECT_EQ(shownDates(),
              (std::vector<std::string>{"2001-1-1", "2001-2-1", "2001-3-1", "2001-4-1"}));
    // Another calendar's step is undone: the months line up around the active one again.
    p.calendar(3)->setDate(day(2010, 6, 15));
    EXPECT_EQ(shownDates(),
              (std::vector<std::string>{"2001-1-1", "2001-2-1", "2001-3-1", "2001-4-1"}));
    EXPECT_EQ(p.activeIndex(), 1);
}

TEST_F(CalendarPaneTest, AClickActivatesACalendarAndShowsItsDate) {
    setTasks({{day(2000, 2, 10), "8:00 AM", "", "Dentist", "No"}});
    CalendarPane& p = pane();
    p.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&p));
    QSignalSpy changed(&p, &CalendarPane::selectedDateChanged);
    QSignalSpy activated(&p, &CalendarPane::calendarActivated);

    MonthView* cal3 = p.calendar(2);
    const QPoint at = cal3->cellRect(cal3->cellOfDate(day(2000, 2, 10))).center();
    QTest::mouseClick(cal3, Qt::LeftButton, {}, at);

    EXPECT_EQ(p.activeIndex(), 2);
    EXPECT_EQ(p.selectedDay(), day(2000, 2, 10));
    EXPECT_EQ(state_->store().gridDay().cell(DayCol::What, 1), "Dentist");
    EXPECT_EQ(wholeDays(p.nav()->date()), day(2000, 2, 10));
    ASSERT_GE(changed.count(), 1);
    EXPECT_EQ(changed.last().at(0).toInt(), day(2000, 2, 10));
    EXPECT_EQ(activated.count(), 1);
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(p.calendar(i)->bevel(),
                  i == 2 ? MonthView::Bevel::Raised : MonthView::Bevel::Lowered);
        EXPECT_EQ(p.calendar(i)->selectedColor(),
                  i == 2 ? SysColor::ButtonLight : SysColor::ButtonFace);
    }
    // Activation moves no other calendar.
    EXPECT_EQ(shownDates(),
              (std::vector<std::string>{"1999-12-1", "2000-1-1", "2000-2-10", "2000-3-1"}));

    // A click on the active calendar outside the days activates nothing new.
    changed.clear();
    p.onCalendarClicked(2);
    EXPECT_EQ(changed.count(), 0);
}

TEST_F(CalendarPaneTest, TheNavigatorMovesTheActiveCalendar) {
    CalendarPane& p = pane();
    p.onCalendarClicked(3);
    QSignalSpy changed(&p, &CalendarPane::selectedDateChanged);
    p.nav()->edit()->setDate(QDate(2000, 7, 4)); // as the user picks it
    EXPECT_EQ(p.activeIndex(), 3);
    EXPECT_EQ(p.selectedDay(), day(2000, 7, 4));
    EXPECT_EQ(shownDates(),
              (std::vector<std::string>{"2000-4-4", "2000-5-4", "2000-6-4", "2000-7-4"}));
    EXPECT_GE(changed.count(), 1);

    p.nav()->nextButton()->click();
    EXPECT_EQ(p.selectedDay(), day(2000, 7, 5));
    // Set from the calendars, the navigator raises nothing back.
    changed.clear();
    p.setSelectedDate(day(2000, 7, 20));
    EXPECT_EQ(p.nav()->edit()->date(), QDate(2000, 7, 20));
    EXPECT_EQ(changed.count(), 1);
}

TEST_F(CalendarPaneTest, TodayMakesTheSecondCalendarActiveOnNow) {
    CalendarPane& p = pane();
    p.onCalendarClicked(3);
    p.setSelectedDate(day(2003, 9, 9));
    p.today();
    EXPECT_EQ(p.activeIndex(), 1);
    EXPECT_EQ(p.selectedDate(), state_->clock().now());
    EXPECT_EQ(shownDates(),
              (std::vector<std::string>{"1999-12-1", "2000-1-1", "2000-2-1", "2000-3-1"}));
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(p.calendar(i)->bevel(),
                  i == 1 ? MonthView::Bevel::Raised : MonthView::Bevel::Lowered);
        EXPECT_EQ(p.calendar(i)->selectedColor(),
                  i == 1 ? SysColor::ButtonLight : SysColor::ButtonFace);
    }
    // Already on now: the day view is refilled all the same.
    state_->store().gridDay().setCell(DayCol::What, 1, "stale");
    p.today();
    EXPECT_EQ(state_->store().gridDay().cell(DayCol::What, 1), "");
}

TEST_F(CalendarPaneTest, AfterFindTheFoundTaskIsSelectedInTheDayView) {
    setTasks({{day(2000, 3, 3), "8:00 AM", "", "Coffee", "No"},
              {day(2000, 3, 3), "9:00 AM", "Work", "Report", "No"}});
    CalendarPane& p = pane();
    QSignalSpy found(&p, &CalendarPane::foundTaskRow);
    p.foundRow = 2;
    p.setSelectedDate(day(2000, 3, 3));
    ASSERT_GE(found.count(), 1);
    EXPECT_EQ(found.last().at(0).toInt(), 2);
    // Hidden by the filter now: not selected.
    state_->store().setFilter(
        [](const std::string&, const std::string& cat) { return cat.empty(); });
    p.setSelectedDate(day(2000, 3, 3));
    EXPECT_EQ(found.last().at(0).toInt(), -1);
}

// ---------------------------------------------------------------------------------------
// Day marking

TEST_F(CalendarPaneTest, DayCellsFollowTheColouringPrecedence) {
    // The options window reads the stored options at its creation: change them after.
    pane();
    Options& o = state_->options();
    o.doneFG = 0x000001;
    o.doneBG = 0x000002;
    o.notDoneFG = 0x000003;
    o.notDoneBG = 0x000004;
    o.holidayFG = 0x000005;
    o.holidayBG = 0x000006;
    const std::string done = "000001/000002", notDone = "000003/000004", holiday = "000005/000006";
    const int both = day(2000, 1, 10), onlyDone = day(2000, 1, 11), onlyNot = day(2000, 1, 12),
              holNot = day(2000, 1, 13), hol = day(2000, 1, 14), hidden = day(2000, 1, 15),
              holHidden = day(2000, 1, 17), nothing = day(2000, 1, 20);
    setTasks({{both, "", "", "a", "Yes"},
              {both, "", "", "b", "No"},
              {onlyDone, "", "", "c", "Yes"},
              {onlyNot, "", "", "d", "No"},
              {holNot, "", "", "e", "No"},
              {hidden, "", "Secret", "f", "No"},
              {holHidden, "", "Secret", "g", "No"}});
    addHoliday("Thirteenth", 13);
    addHoliday("Fourteenth", 14);
    addHoliday("Seventeenth", 17);
    state_->store().setFilter(
        [](const std::string&, const std::string& cat) { return cat != "Secret"; });
    // The plain look is button face with window text, whatever the theme says they are.
    const auto hex = [](WinColor c) {
        char buf[16];
        std::snprintf(buf, sizeof buf, "%06X", fromQColor(toQColor(c)) & 0xFFFFFF);
        return std::string(buf);
    };
    const std::string plainLook = hex(SysColor::WindowText) + "/" + hex(SysColor::ButtonFace);

    struct {
        bool colorDone, colorNotDone, colorHoliday;
        std::vector<std::string> expected; // both, onlyDone, onlyNot, holNot, hol, hidden,
                                           // holHidden, nothing
    } cases[] = {
        {true,
         true,
         true,
         {notDone, done, notDone, notDone, holiday, plainLook, holiday, plainLook}},
        {true,
         false,
         true,
         {done, done, plainLook, holiday, holiday, plainLook, holiday, plainLook}},
        {false,
         true,
         true,
         {notDone, plainLook, notDone, notDone, holiday, plainLook, holiday, plainLook}},
        {false,
         false,
         false,
         {plainLook, plainLook, plainLook, plainLook, plainLook, plainLook, plainLook, plainLook}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.colorDone) + std::to_string(c.colorNotDone) +
                     std::to_string(c.colorHoliday));
        // Read live: no repaint or restart in between.
        o.colorDone = c.colorDone;
        o.colorNotDone = c.colorNotDone;
        o.colorHoliday = c.colorHoliday;
        const int dates[] = {both, onlyDone, onlyNot, holNot, hol, hidden, holHidden, nothing};
        for (size_t i = 0; i < 8; ++i)
            EXPECT_EQ(mark(1, dates[i]), c.expected[i]) << text(dates[i]);
    }

    // A colour sample changed in the options window shows at the next repaint.
    o.colorDone = o.colorNotDone = true;
    o.notDoneBG = 0x00ABCDEF;
    EXPECT_EQ(mark(1, onlyNot), "000003/ABCDEF");
}

TEST_F(CalendarPaneTest, SelectedAndNeighbouringDaysAndTheTimeBeforeTheOptions) {
    const int jan1 = day(2000, 1, 1), feb1 = day(2000, 2, 1), dec31 = day(1999, 12, 31);
    setTasks(
        {{dec31, "", "", "party", "No"}, {jan1, "", "", "a", "No"}, {feb1, "", "", "b", "No"}});
    CalendarPane& p = pane();
    const std::string notDone = "FFFFFF/0000FF";
    // The active calendar's selected day keeps the selected look whatever falls on it.
    EXPECT_EQ(mark(1, jan1), "control");
    // The selected day of another calendar shows what falls on it.
    EXPECT_EQ(mark(2, feb1), notDone);
    // Days of the neighbouring months are never marked: 31 December on January's sheet.
    EXPECT_EQ(mark(1, dec31), "control");
    EXPECT_EQ(mark(0, dec31), notDone);
    // Once another calendar is active, January's selected day shows its marking.
    p.onCalendarClicked(2);
    EXPECT_EQ(mark(1, jan1), notDone);
    EXPECT_EQ(mark(2, feb1), "control");
}

TEST_F(CalendarPaneTest, NoCellIsDrawnBeforeTheOptionsExist) {
    setTasks({{day(2000, 1, 5), "", "", "a", "No"}});
    pane(false);
    EXPECT_EQ(mark(1, day(2000, 1, 5)), "nothing");
    EXPECT_EQ(mark(1, day(2000, 1, 1)), "nothing");
    OptionsDialog options(state_->options(), state_->settings(), prompts_, dir_.file("dayweaver"));
    pane().setOptionsWindow(&options);
    EXPECT_EQ(mark(1, day(2000, 1, 5)), "FFFFFF/0000FF");
    pane().setOptionsWindow(nullptr);
}

// ---------------------------------------------------------------------------------------
// Sizing

TEST_F(CalendarPaneTest, SizingAppliesTheHeightThresholds) {
    // The thresholds themselves are the core sizing rule's; here a roomy pane and a cramped
    // one show that the calendars and the navigator take what the rule decides.
    CalendarPane& p = pane();
    state_->options().calFont.size = 11;
    const int navH = p.nav()->sizeHint().height();
    struct {
        int split2;
        int height;
        bool nav, headers, captions, raised;
        int font;
    } cases[] = {
        {2 * 107 + navH + 5, 107, true, true, true, true, 11},
        {2 * 49 + 5, 49, false, false, false, false, 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.split2);
        p.resizeCalendars(301, c.split2);
        const int w = 150;
        EXPECT_EQ(p.calendar(0)->geometry(), QRect(0, 0, w, c.height));
        EXPECT_EQ(p.calendar(1)->geometry(), QRect(w - 1, 0, w, c.height));
        EXPECT_EQ(p.calendar(2)->geometry(), QRect(0, c.height - 1, w, c.height));
        EXPECT_EQ(p.calendar(3)->geometry(), QRect(w - 1, c.height - 1, w, c.height));
        EXPECT_EQ(p.nav()->isVisibleTo(&p), c.nav);
        if (c.nav) {
            EXPECT_LE(p.nav()->geometry().bottom(), c.split2 - 1);
        }
        for (int i = 0; i < 4; ++i) {
            const MonthView* cal = p.calendar(i);
            EXPECT_EQ(cal->weekdayHeaderVisible(), c.headers);
            EXPECT_EQ(cal->cellBevels(), c.headers);
            EXPECT_EQ(cal->captionVisible(), c.captions);
            EXPECT_EQ(cal->captionRaised(), c.raised);
            EXPECT_EQ(cal->dayFontSize(), c.font);
            EXPECT_EQ(cal->selectedFontSize(), c.font);
        }
    }
}

TEST_F(CalendarPaneTest, WithoutTheOptionsARoomyCalendarKeepsItsFontSize) {
    CalendarPane& p = pane(false);
    p.resizeCalendars(301, 2 * 60 + 5);
    EXPECT_EQ(p.calendar(0)->dayFontSize(), 6);
    p.resizeCalendars(301, 2 * 80 + 5);
    EXPECT_EQ(p.calendar(0)->dayFontSize(), 6);
    EXPECT_TRUE(p.calendar(3)->captionRaised());
}

// ---------------------------------------------------------------------------------------
// In the main window

class CalendarWindowTest : public CalendarPaneTest {
protected:
    MainWindow& shown() {
        composition_ = std::make_unique<WindowComposition>(*state_);
        MainWindow& w = composition_->window();
        w.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&w));
        return w;
    }
    std::unique_ptr<WindowComposition> composition_;
};

TEST_F(CalendarWindowTest, CaptionsFollowTheSelectedDate) {
    setTasks({{day(2000, 1, 2), "8:00 AM", "", "One", "No"},
              {day(2000, 1, 3), "8:00 AM", "", "One", "No"},
              {day(2000, 1, 3), "9:00 AM", "", "Two", "Yes"},
              {day(2000, 1, 4), "9:00 AM", "", "Holiday work", "No"}});
    addHoliday("Founders Day", 4);
    MainWindow& w = shown();
    CalendarPane* p = w.calendarPane();
    struct {
        int date;
        std::string caption;
        QColor color;
    } cases[] = {
        {day(2000, 1, 1), "Sat 1/1/2000  Today", QColor(0, 0, 255)},
        {day(2000, 1, 2), "Sun 1/2/2000  Tomorrow", QColor(0, 0, 255)},
        {day(2000, 1, 3), "2 tasks Mon 1/3/2000  2 days", QColor(0, 0, 255)},
        {day(2000, 1, 4), "Founders Day  3 days", QColor(255, 0, 0)},
    };
    for (const auto& c : cases) {
        p->setSelectedDate(c.date);
        EXPECT_EQ(w.selectedDate(), c.date);
        EXPECT_EQ(w.dateCaption()->text().toStdString(), c.caption);
        EXPECT_EQ(w.dateCaption()->textColor(), c.color) << c.caption;
    }
    // The day view shows the date's tasks.
    p->setSelectedDate(day(2000, 1, 3));
    ASSERT_EQ(w.gridDay()->model()->rowCount(), 2);
    EXPECT_EQ(w.gridDay()->model()->index(1, DayCol::What).data().toString(), "Two");

    // The to-do caption counts from two tasks on.
    CellTable& todo = state_->store().gridNonday();
    todo.setRowCount(2);
    w.updateCaptions();
    EXPECT_EQ(w.todoCaption()->text(), "To-do Tasks");
    todo.setRowCount(3);
    w.updateCaptions();
    EXPECT_EQ(w.todoCaption()->text(), "2 To-do Tasks");
}

TEST_F(CalendarWindowTest, CtrlHomeAndADoubleClickOnTheDateCaptionGoToToday) {
    MainWindow& w = shown();
    CalendarPane* p = w.calendarPane();
    QAction* today = w.action("todayAction");
    ASSERT_NE(today, nullptr);
    EXPECT_EQ(today->text(), "Today");
    EXPECT_EQ(today->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Home));

    p->onCalendarClicked(0);
    p->setSelectedDate(day(2005, 5, 5));
    QTest::keyClick(&w, Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(p->activeIndex(), 1);
    EXPECT_EQ(w.selectedDate(), day(2000, 1, 1));
    EXPECT_EQ(w.dateCaption()->text(), "Sat 1/1/2000  Today");

    p->onCalendarClicked(3);
    p->setSelectedDate(day(2005, 5, 5));
    QTest::mouseDClick(w.dateCaption(), Qt::LeftButton);
    EXPECT_EQ(p->activeIndex(), 1);
    EXPECT_EQ(w.selectedDate(), day(2000, 1, 1));
}

TEST_F(CalendarWindowTest, TheWeekStartAndTheSplittersReachTheCalendars) {
    MainWindow& w = shown();
    CalendarPane* p = w.calendarPane();
    EXPECT_FALSE(p->calendar(0)->mondayFirst());
    state_->options().sunday = false;
    w.applySettings(w.shadows());
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(p->calendar(i)->mondayFirst());
    // The pane is the first pane of both splitters.
    EXPECT_EQ(p->width(), w.split1()->position());
    EXPECT_EQ(p->height(), w.split2()->position());
    EXPECT_EQ(p->calendar(0)->width(), (w.split1()->position() - 1) / 2);
    w.split2()->setPosition(2 * 60 + 5);
    QTest::qWait(1);
    EXPECT_EQ(p->calendar(0)->height(), 60);
    EXPECT_EQ(p->calendar(0)->dayFontSize(), 6);
    EXPECT_FALSE(p->nav()->isVisible());
}

} // namespace
} // namespace dw
