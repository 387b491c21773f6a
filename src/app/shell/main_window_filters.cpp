#include "app/shell/main_window.h"

// The main window's side of the task filter: the Filters command and its indicator.

#include "app/calendar/calendar_pane.h"
#include "app/calendar/filter_dialog.h"
#include "app/editing/day_notes.h"
#include "app/shell/app_state.h"
#include "app/shell/main_actions.h"

#include <QAction>
#include <QIcon>

namespace dw {

void MainWindow::showFilters() {
    // An edit in the notes pane goes back under the filter the day view was filled with.
    dayNotes_->writeBack();
    FilterDialog dialog(state_, this);
    connect(&dialog, &FilterDialog::closedWithFilter, this, [this] {
        calendarPane_->colorAllCalendars(true);
        if (windowState_.shown)
            calendarPane_->onDateChanged();
    });
    dialog.exec();
    updateFilterIndicator();
}

void MainWindow::updateFilterIndicator() {
    const bool on = state_.filter().filtersActive();
    actions_->filters->setText(on ? "FILTERS ON" : "Filters");
    actions_->filtersButton->setIcon(QIcon(on ? ":/icons/filter-on.png" : ":/icons/filter.png"));
}

} // namespace dw
