#include "app/holidays/holiday_commands.h"

#include "app/calendar/calendar_pane.h"
#include "app/shell/app_prompts.h"
#include "app/shell/app_state.h"
#include "app/shell/main_actions.h"
#include "app/shell/main_window.h"
#include "core/store/file_io.h"
#include "core/store/helpers.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

namespace dw {

void runHolidaysCommand(MainWindow& window, AppState& state, const TablePrinter& printer) {
    {
        HolidayListDialog dialog(state.fs(), state.clock(), state.holidayPath(),
                                 window.confirmDeletes(), &window);
        dialog.setPrinter(printer);
        dialog.exec();
    }
    // Read again whether or not the dialog saved: an import saves on its own.
    if (fileExists(state.holidayPath())) {
        try {
            loadTableIfPresent(state.gridHoliday(), state.holidayPath());
        } catch (const TableFileError& e) {
            showError(e.what());
        }
    }
    if (CalendarPane* calendars = window.calendarPane())
        calendars->colorAllCalendars(true);
}

void installHolidayCommands(MainWindow& window, AppState& state, TablePrinter printer) {
    const MainActions& a = window.actions();
    QObject::connect(a.holidays, &QAction::triggered, &window,
                     [&window, &state, printer = std::move(printer)] {
                         runHolidaysCommand(window, state, printer);
                     });
    if (auto* file = window.menuBar()->findChild<QMenu*>("fileMenu"))
        file->insertAction(a.categories, a.holidays);
    if (QToolBar* bar = window.mainToolBar())
        bar->insertAction(a.help, a.holidays);
}

} // namespace dw
