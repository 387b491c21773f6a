#include "app/shell/store_views.h"

#include "app/calendar/calendar_pane.h"
#include "app/calendar/hover_summary.h"
#include "app/shell/app_state.h"
#include "app/shell/main_window.h"
#include "app/shell/pane_layout.h"
#include "app/widgets/cell_grid.h"

namespace dw {

void connectStoreViews(MainWindow& window, AppState& state) {
    QObject::connect(&state.storeEvents(), &StoreEvents::changed, &window,
                     [&window, &state](const StoreChange& change) {
                         TaskStore& store = state.store();
                         const int shown = store.dayViewDate();
                         // The day view holds a copy of its date's tasks and is written back over
                         // them: it must hold every change to its date before its next write-back.
                         // Before the first show it holds nothing yet.
                         const bool dayTouched = shown != 0 && change.touchesDate(shown);
                         if (dayTouched && !change.dayViewCurrent)
                             store.readFromStore(shown);
                         if (change.touchesDatedTasks() || change.dayViewCurrent) {
                             window.gridDay()->refresh();
                             window.paneLayout().resizeGridDay();
                         }
                         if (change.todo) {
                             window.gridNonday()->refresh();
                             window.paneLayout().resizeGridNonday();
                         }
                         window.updateCaptions();
                         window.fillNotesPane();
                         if (change.touchesDatedTasks() && window.firstShowDone())
                             window.calendarPane()->colorAllCalendars(true);
                         if (change.touchesDatedTasks())
                             window.hoverSummary().hideSummary();
                     });
}

} // namespace dw
