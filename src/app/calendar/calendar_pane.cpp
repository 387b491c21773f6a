#include "app/calendar/calendar_pane.h"

#include "app/calendar/date_navigator.h"
#include "app/settings/font_spec.h"
#include "app/settings/options_dialog.h"
#include "app/shell/app_state.h"
#include "app/widgets/month_view.h"
#include "app/widgets/win_color.h"
#include "core/calendar/calendar_sync.h"
#include "core/calendar/day_marking.h"
#include "core/calendar/found_row.h"
#include "core/calendar/navigation.h"
#include "core/holidays/holiday_rules.h"

#include <QResizeEvent>
#include <algorithm>

namespace dw {

CalendarPane::CalendarPane(AppState& state, QWidget* parent) : QWidget(parent), state_(state) {
    setObjectName("calendarsPanel");
    setMinimumSize(1, 1);
    for (int i = 0; i < 4; ++i) {
        auto* cal = new MonthView(this);
        cal->setObjectName(QStringLiteral("cal%1").arg(i + 1));
        cal->setFormatSettings(state_.fs());
        cal->setSelectedColor(SysColor::ButtonFace);
        cal->setBevel(MonthView::Bevel::Lowered, 2);
        cals_[static_cast<size_t>(i)] = cal;
        wire(i);
    }
    nav_ = new DateNavigator(this);
    nav_->setObjectName("nav");
    connect(nav_, &DateNavigator::changed, this, &CalendarPane::onNavigatorChanged);
}

void CalendarPane::wire(int index) {
    MonthView* cal = calendar(index);
    connect(cal, &MonthView::clicked, this, [this, index] { onCalendarClicked(index); });
    connect(cal, &MonthView::dateChanged, this, [this] { onDateChanged(); });
    connect(cal, &MonthView::monthChanged, this, [this] { onMonthChanged(); });
    connect(cal, &MonthView::yearChanged, this, [this] { onMonthChanged(); });
    connect(cal, &MonthView::mouseMoved, this,
            [this, index](const QPoint& pos) { emit calendarMouseMoved(index, pos); });
    // Only the first calendar edits or adds on a double click; on the others it selects.
    if (index == 0)
        connect(cal, &MonthView::cellDoubleClicked, this,
                [this](int date) { emit dayDoubleClicked(date); });
    connect(cal, &MonthView::cellDropped, this,
            [this, index](int date, QDropEvent* e) { emit dayDropped(index, date, e); });
    cal->setDrawCellHandler(
        [this, index](MonthView::DrawCell& cell) { drawCalendarCell(index, cell); });
}

MonthView* CalendarPane::calendar(int index) const {
    if (index < 0 || index > 3)
        return nullptr;
    return cals_[static_cast<size_t>(index)];
}

MonthView* CalendarPane::active() const {
    return calendar(activeCalendar);
}

DateSerial CalendarPane::selectedDate() const {
    const MonthView* cal = active();
    return cal ? cal->date() : 0;
}

int CalendarPane::selectedDay() const {
    return wholeDays(selectedDate());
}

void CalendarPane::setSelectedDate(DateSerial d) {
    MonthView* cal = active();
    if (!cal)
        return;
    // The control ignores its own date; the day view is refilled all the same.
    if (cal->hasSelection() && cal->date() == d)
        onDateChanged();
    else
        cal->setDate(d);
}

// ---------------------------------------------------------------------------------------
// The reactions

void CalendarPane::onCalendarClicked(int index) {
    if (!calendar(index))
        return;
    previousCalendar = activeCalendar;
    activeCalendar = index;
    for (int i = 0; i < 4; ++i) {
        if (i == index)
            continue;
        calendar(i)->setSelectedColor(SysColor::ButtonFace);
        calendar(i)->setBevel(MonthView::Bevel::Lowered, 2);
    }
    MonthView* cal = calendar(index);
    cal->setSelectedColor(SysColor::ButtonLight);
    if (activeCalendar != previousCalendar) {
        cal->setBevel(MonthView::Bevel::Raised, 2);
        onDateChanged();
    }
    emit calendarActivated(index);
}

void CalendarPane::onDateChanged() {
    if (inDateChange)
        return;
    inDateChange = true;
    int day = 0;
    MonthView* cal = active();
    if (cal) {
        previousCalendar = activeCalendar;
        day = wholeDays(cal->date());
        if (beforeRefill_)
            beforeRefill_();
        state_.store().readFromStore(day);
        emit dayViewRefilled(day);
        nav_->setDate(cal->date(), false);
    }
    if (foundRow >= 0)
        emit foundTaskRow(foundDayRow(state_.store(), foundRow));
    inDateChange = false;
    if (cal)
        emit selectedDateChanged(day);
}

void CalendarPane::onMonthChanged() {
    MonthView* cal = active();
    if (!cal || !monthsSettled || inMonthChange)
        return;
    inMonthChange = true;
    updateAppropriateMonth();
    nav_->setDate(cal->date(), false);
    inMonthChange = false;
}

void CalendarPane::onNavigatorChanged() {
    if (inNavigatorChange)
        return;
    inMonthChange = true;
    inNavigatorChange = true;
    if (MonthView* cal = active()) {
        cal->setDate(nav_->date());
        updateAppropriateMonth();
    }
    inMonthChange = false;
    inNavigatorChange = false;
}

void CalendarPane::updateAppropriateMonth() {
    MonthView* cal = active();
    if (!cal)
        return;
    monthsSettled = false;
    // Nothing reaches the screen until every calendar has its new month.
    for (MonthView* c : cals_)
        c->setUpdatesEnabled(false);
    const std::array<DateSerial, 4> dates = synchronisedMonths(activeCalendar, cal->date());
    // Outward from the active calendar, in the order the clamps carry on.
    for (int i = activeCalendar + 1; i < 4; ++i)
        calendar(i)->setDate(dates[static_cast<size_t>(i)]);
    for (int i = activeCalendar - 1; i >= 0; --i)
        calendar(i)->setDate(dates[static_cast<size_t>(i)]);
    monthsSettled = true;
    markToday();
    for (MonthView* c : cals_) {
        c->setUpdatesEnabled(true);
        c->repaint();
    }
}

void CalendarPane::today() {
    previousCalendar = activeCalendar;
    for (int i = 0; i < 4; ++i) {
        MonthView* c = calendar(i);
        c->setBevel(i == 1 ? MonthView::Bevel::Raised : MonthView::Bevel::Lowered, 2);
        // Only one calendar may show the selected look.
        c->setSelectedColor(i == 1 ? SysColor::ButtonLight : SysColor::ButtonFace);
    }
    activeCalendar = 1;
    MonthView* cal2 = calendar(1);
    const DateSerial now = state_.clock().now();
    if (cal2->hasSelection() && cal2->date() == now)
        onDateChanged(); // the control would not react to its own date
    else
        cal2->setDate(now);
    inMonthChange = true;
    inDateChange = true;
    updateAppropriateMonth();
    inMonthChange = false;
    inDateChange = false;
}

void CalendarPane::stepDays(int days) {
    if (MonthView* cal = active())
        cal->addDays(days);
}

void CalendarPane::nextMonth() {
    // The control's month change re-dates the other calendars.
    if (MonthView* cal = active())
        cal->nextMonth();
}

void CalendarPane::priorMonth() {
    if (MonthView* cal = active())
        cal->priorMonth();
}

void CalendarPane::nextYear() {
    if (MonthView* cal = active())
        cal->nextYear();
    realignAfterYearStep();
}

void CalendarPane::priorYear() {
    if (MonthView* cal = active())
        cal->priorYear();
    realignAfterYearStep();
}

void CalendarPane::realignAfterYearStep() {
    inMonthChange = true;
    inDateChange = true;
    updateAppropriateMonth();
    inMonthChange = false;
    inDateChange = false;
}

void CalendarPane::nextHighlighted() {
    if (!active())
        return;
    const Options& o = state_.options();
    const DateSerial from = selectedDate();
    const DateSerial to = goForward(state_.store(), from, {o.colorDone, o.colorNotDone});
    if (to != from)
        setSelectedDate(to);
}

void CalendarPane::priorHighlighted() {
    if (!active())
        return;
    const Options& o = state_.options();
    const DateSerial from = selectedDate();
    const DateSerial to = goBack(state_.store(), from, {o.colorDone, o.colorNotDone});
    if (to != from)
        setSelectedDate(to);
}

void CalendarPane::startAt(DateSerial now) {
    inMonthChange = false;
    inDateChange = false;
    nav_->setDisplayPattern(state_.fs().shortDateFormat);
    for (MonthView* c : cals_)
        c->setFormatSettings(state_.fs());
    nav_->setDate(now, false);
    MonthView* cal2 = calendar(1);
    cal2->setDate(now);
    for (int i = 0; i < 4; ++i) {
        calendar(i)->setSelectedColor(i == 1 ? SysColor::ButtonLight : SysColor::ButtonFace);
        calendar(i)->setBevel(i == 1 ? MonthView::Bevel::Raised : MonthView::Bevel::Lowered, 2);
    }
    activeCalendar = 1;
    previousCalendar = 1;
    updateAppropriateMonth();
    // The day view and the captions for today, whatever the re-dating has done already.
    onDateChanged();
}

// ---------------------------------------------------------------------------------------
// Marking and repainting

void CalendarPane::drawCalendarCell(int index, MonthView::DrawCell& cell) {
    const MonthView* cal = calendar(index);
    if (!cal)
        return;
    DayCell c;
    c.date = cell.date;
    c.shownYear = cal->year();
    c.shownMonth = cal->month();
    c.selected = cell.selected;
    c.activeCalendar = index == activeCalendar;
    c.settled = monthsSettled && optionsReady_;
    const TaskStore& store = state_.store();
    const DayMarking m = markDay(
        c, dayMarkingSettingsOf(state_.options()),
        [&store](int date, bool wantDone, bool wantNotDone) {
            return store.dateHighlight(date, wantDone, wantNotDone);
        },
        [this](int date) { return holidayForDate(state_.gridHoliday(), date, state_.fs()); });
    cell.defaultDraw = m.defaultDraw;
    // Neighbouring days and the active calendar's selected day keep the control's look.
    if (m.mark == DayMark::None || m.mark == DayMark::NeighbourMonth || m.mark == DayMark::Selected)
        return;
    cell.style.fore = toQColor(m.colors.fore);
    cell.style.back = toQColor(m.colors.back);
}

void CalendarPane::markToday() {
    const int today = wholeDays(state_.clock().now());
    for (MonthView* c : cals_)
        c->setToday(today);
}

void CalendarPane::colorAllCalendars(bool all) {
    markToday();
    if (all) {
        for (MonthView* c : cals_)
            c->update();
    } else if (MonthView* cal = active()) {
        cal->update();
    }
}

// ---------------------------------------------------------------------------------------
// Options and sizing

void CalendarPane::setOptionsWindow(OptionsDialog* options) {
    if (options_)
        disconnect(options_, nullptr, this, nullptr);
    options_ = options;
    optionsReady_ = options != nullptr;
    if (options) {
        connect(options, &OptionsDialog::calendarsNeedRepaint, this,
                [this] { colorAllCalendars(true); });
        connect(options, &OptionsDialog::calendarFontChanged, this,
                &CalendarPane::changeCalendarFonts);
        changeCalendarFonts();
    }
    colorAllCalendars(true);
}

void CalendarPane::setMondayFirst(bool on) {
    for (MonthView* c : cals_)
        c->setMondayFirst(on);
    nav_->setMondayFirst(on);
}

void CalendarPane::changeCalendarFonts() {
    const QFont font = toQFont(state_.options().calFont);
    for (MonthView* c : cals_)
        c->setFont(font);
    nav_->setFont(font);
    // The day numbers take their size from the room the calendars have.
    if (sized_)
        resizeCalendars(split1_, split2_);
}

void CalendarPane::resizeCalendars(int split1Pos, int split2Pos) {
    sized_ = true;
    split1_ = split1Pos;
    split2_ = split2Pos;
    const int calFontSize = optionsReady_ ? state_.options().calFont.size : 0;
    const CalendarSizing s =
        calendarSizing(split1Pos, split2Pos, nav_->sizeHint().height(), calFontSize);
    const int w = std::max(0, s.width);
    const int h = std::max(0, s.height);
    calendar(0)->setGeometry(0, 0, w, h);
    calendar(1)->setGeometry(w - 1, 0, w, h);
    calendar(2)->setGeometry(0, h - 1, w, h);
    calendar(3)->setGeometry(w - 1, h - 1, w, h);
    nav_->setVisible(s.navigatorVisible);
    if (s.navigatorVisible) {
        const int navTop = 2 * h + 1;
        nav_->setGeometry(0, navTop, std::max(1, 2 * w - 1), nav_->sizeHint().height());
    }

    // cal1 decides; the other three follow it.
    MonthView* first = calendar(0);
    const int cellSize = s.cellFontSize > 0 ? s.cellFontSize : first->dayFontSize();
    for (MonthView* c : cals_) {
        if (c->weekdayHeaderVisible() != s.headersAndBevels)
            c->setWeekdayHeaderVisible(s.headersAndBevels);
        if (c->cellBevels() != s.headersAndBevels)
            c->setCellBevels(s.headersAndBevels);
        if (c->captionVisible() != s.captionsShown)
            c->setCaptionVisible(s.captionsShown);
        if (c->captionRaised() != s.captionsRaised)
            c->setCaptionRaised(s.captionsRaised);
        if (c->dayFontSize() != cellSize)
            c->setDayFontSize(cellSize);
        if (c->selectedFontSize() != cellSize)
            c->setSelectedFontSize(cellSize);
    }
    sizing_ = s;
}

void CalendarPane::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    // The pane is the first pane of both splitters: its size is their positions.
    resizeCalendars(width(), height());
}

} // namespace dw
