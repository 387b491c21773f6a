#pragma once

#include "app/widgets/month_view.h"
#include "core/calendar/calendar_sync.h"
#include "core/dates/date_serial.h"

#include <QPointer>
#include <QWidget>
#include <array>
#include <functional>

class QDropEvent;

namespace dw {

class AppState;
class DateNavigator;
class OptionsDialog;

// The upper left pane of the main window: four month calendars showing four consecutive
// months (cal1 top left, cal2 top right, cal3 bottom left, cal4 bottom right) and the date
// navigator under them. One calendar is the active one; its selected date is the window's
// selected date. The pane keeps the calendars in step, colours their day cells by what
// falls on each date and sizes them to the room it gets.
class CalendarPane : public QWidget {
    Q_OBJECT
public:
    explicit CalendarPane(AppState& state, QWidget* parent = nullptr);

    // 0..3 = cal1..cal4.
    MonthView* calendar(int index) const;
    DateNavigator* nav() const { return nav_; }

    // The active calendar, -1 before the first show.
    int activeIndex() const { return activeCalendar; }
    int previousIndex() const { return previousCalendar; }
    bool settled() const { return monthsSettled; }

    // The active calendar's date (with its time of day) and its whole-day part.
    DateSerial selectedDate() const;
    int selectedDay() const;
    // Sets the active calendar's date; the date-change chain runs.
    void setSelectedDate(DateSerial d);

    // Activation by click on calendar index (0..3).
    void onCalendarClicked(int index);
    // The date-change reaction: day view, captions and navigator follow the active date.
    void onDateChanged();
    // The month synchronisation after a month or year change of any calendar.
    void onMonthChanged();
    // The navigator moved: the active calendar follows it.
    void onNavigatorChanged();
    // Re-dates the three other calendars around the active one and repaints all four.
    void updateAppropriateMonth();
    // The cell-drawing reaction of calendar index: the colours of one day cell by what falls
    // on its date (tasks that pass the filter, holidays), or nothing drawn at all while the
    // months are re-dated or before the options exist.
    void drawCalendarCell(int index, MonthView::DrawCell& cell);
    // Repaints all four calendars, or only the active one.
    void colorAllCalendars(bool all);
    // The Today command: cal2 becomes active on the current date and time.
    void today();
    // The Navigate commands: the active calendar moves by days, by months or years (the
    // day kept, clamped to the month), or to the next or prior date marked for tasks (it
    // stays when there is none).
    void stepDays(int days);
    void nextMonth();
    void priorMonth();
    void nextYear();
    void priorYear();
    void nextHighlighted();
    void priorHighlighted();
    // First show: the navigator and cal2 on now, cal2 active, the months lined up.
    void startAt(DateSerial now);
    // Sizes the calendars for the given splitter positions (split1: the vertical one,
    // split2: the horizontal one).
    void resizeCalendars(int split1Pos, int split2Pos);
    // What the last sizing decided.
    const CalendarSizing& sizing() const { return sizing_; }

    // Week start and calendar font, from the options.
    void setMondayFirst(bool on);
    void changeCalendarFonts();
    // The options window, once it exists: cells are drawn from then on.
    void setOptionsWindow(OptionsDialog* options);
    bool optionsReady() const { return optionsReady_; }

    // The dated store's row of the task Find found last; -1 = none.
    int foundRow = -1;

    // Runs before the day view is refilled for a new date, while it still holds the old
    // date's tasks: the notes pane writes back an edit in progress here.
    void setBeforeDayViewRefill(std::function<void()> f) { beforeRefill_ = std::move(f); }

signals:
    // After the date-change reaction has refilled the day view.
    void selectedDateChanged(int day);
    // The active date's day view was refilled: captions and grids are to be refreshed by the
    // window (emitted inside the date-change reaction, before selectedDateChanged).
    void dayViewRefilled(int day);
    // A click activated a calendar (after the activation).
    void calendarActivated(int index);
    // A double click on a day of cal1.
    void dayDoubleClicked(int date);
    // Something was dropped on a day of any calendar; the commands decide what happens.
    void dayDropped(int calendarIndex, int date, QDropEvent* event);
    // The mouse moved over a calendar (for the hover summary).
    void calendarMouseMoved(int calendarIndex, const QPoint& pos);
    // A date change after Find: the day view is to take the focus and select this row of
    // the day view (-1: the found task is not there).
    void foundTaskRow(int dayRow);

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    void wire(int index);
    MonthView* active() const;
    void markToday();
    void realignAfterYearStep();

    AppState& state_;
    std::array<MonthView*, 4> cals_{};
    DateNavigator* nav_ = nullptr;
    QPointer<OptionsDialog> options_;
    bool optionsReady_ = false;
    bool sized_ = false;
    int split1_ = 0;
    int split2_ = 0;
    CalendarSizing sizing_;

    int activeCalendar = -1;
    int previousCalendar = -1;
    bool monthsSettled = true;
    bool inDateChange = false;
    bool inMonthChange = false;
    bool inNavigatorChange = false;
    std::function<void()> beforeRefill_;
};

} // namespace dw
