#include "app/shell/main_window.h"

// The main window's side of navigation: the Navigate commands. The key rules and the find
// dialog are built beside the window (window_composition.cpp).

#include "app/calendar/calendar_pane.h"
#include "app/shell/main_actions.h"

#include <QAction>

namespace dw {

void MainWindow::connectNavigation() {
    const MainActions& a = *actions_;
    CalendarPane* calendars = calendarPane_;
    connect(a.nextTask, &QAction::triggered, calendars, &CalendarPane::nextHighlighted);
    connect(a.priorTask, &QAction::triggered, calendars, &CalendarPane::priorHighlighted);
    connect(a.nextMonth, &QAction::triggered, calendars, &CalendarPane::nextMonth);
    connect(a.priorMonth, &QAction::triggered, calendars, &CalendarPane::priorMonth);
    connect(a.nextYear, &QAction::triggered, calendars, &CalendarPane::nextYear);
    connect(a.priorYear, &QAction::triggered, calendars, &CalendarPane::priorYear);
}

} // namespace dw
