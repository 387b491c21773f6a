#include "app/holidays/holiday_commands.h"

#include "app/calendar/calendar_pane.h"
#include "app/shell/app_state.h"
#include "app/shell/command_places.h"
#include "app/shell/main_actions.h"
#include "app/shell/window_state.h"
#include "core/store/file_io.h"
#include "core/store/helpers.h"

#include <QAction>
#include <QMenu>
#include <QToolBar>

namespace dw {

void runHolidaysCommand(QWidget& window, const WindowState& windowState, CalendarPane& calendars,
                        AppState& state, const TablePrinter& printer) {
    {
        HolidayListDialog dialog(state.fs(), state.clock(), state.holidayPath(),
                                 windowState.confirmDeletes, state.prompts(), &window);
        dialog.setPrinter(printer);
        dialog.exec();
    }
    // Read again whether or not the dialog saved: an import saves on its own.
    if (fileExists(state.holidayPath())) {
        try {
            loadTableIfPresent(state.gridHoliday(), state.holidayPath());
        } catch (const TableFileError& e) {
            state.prompts().error(e.what());
        }
    }
    calendars.colorAllCalendars(true);
}

void installHolidayCommands(const CommandPlaces& places, const WindowState& windowState,
                            CalendarPane& calendars, AppState& state, TablePrinter printer) {
    const MainActions& a = *places.actions;
    QWidget* window = places.window;
    QObject::connect(a.holidays, &QAction::triggered, window,
                     [window, &windowState, &calendars, &state, printer = std::move(printer)] {
                         runHolidaysCommand(*window, windowState, calendars, state, printer);
                     });
    if (QMenu* file = places.fileMenu)
        file->insertAction(a.categories, a.holidays);
    if (QToolBar* bar = places.mainToolBar)
        bar->insertAction(a.help, a.holidays);
}

HolidayListDialog* openHolidayList(const QWidget& window) {
    for (HolidayListDialog* list : window.findChildren<HolidayListDialog*>())
        if (list->isVisible())
            return list;
    return nullptr;
}

} // namespace dw
