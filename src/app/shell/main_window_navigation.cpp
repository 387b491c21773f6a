#include "app/shell/main_window.h"

// The main window's side of navigation and find: the Navigate commands, the key rules
// and the find dialog.

#include "app/calendar/calendar_pane.h"
#include "app/calendar/find_dialog.h"
#include "app/shell/app_state.h"
#include "app/shell/key_navigation.h"
#include "app/shell/main_actions.h"

#include <QAction>
#include <QApplication>

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
    connect(a.find, &QAction::triggered, this, &MainWindow::showFind);
    // Installed last, so the window's key rules come before every other watcher's.
    keyNavigation_ = new KeyNavigation(*this, state_);
    qApp->installEventFilter(keyNavigation_);
}

void MainWindow::showFind() {
    if (!findDialog_)
        findDialog_ = new FindDialog(*this, state_);
    findDialog_->startFind();
}

FindDialog* MainWindow::findDialog() const {
    return findDialog_;
}

} // namespace dw
