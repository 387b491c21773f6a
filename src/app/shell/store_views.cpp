#include "app/shell/store_views.h"

#include "app/calendar/calendar_pane.h"
#include "app/calendar/hover_summary.h"
#include "app/editing/day_notes.h"
#include "app/shell/app_state.h"
#include "app/shell/pane_layout.h"
#include "app/shell/window_state.h"
#include "app/widgets/cell_grid.h"

namespace dw {

void connectStoreViews(const StoreViews& views, AppState& state) {
    QObject::connect(&state.storeEvents(), &StoreEvents::changed, views.owner,
                     [views, &state](const StoreChange& change) {
                         TaskStore& store = state.store();
                         const int shown = store.dayViewDate();
                         // The day view holds a copy of its date's tasks and is written back over
                         // them: it must hold every change to its date before its next write-back.
                         // Before the first show it holds nothing yet.
                         const bool dayTouched = shown != 0 && change.touchesDate(shown);
                         if (dayTouched && !change.dayViewCurrent)
                             store.readFromStore(shown);
                         if (change.touchesDatedTasks() || change.dayViewCurrent) {
                             views.gridDay->refresh();
                             views.paneLayout->resizeGridDay();
                         }
                         if (change.todo) {
                             views.gridNonday->refresh();
                             views.paneLayout->resizeGridNonday();
                         }
                         views.updateCaptions();
                         views.notes->fill();
                         if (change.touchesDatedTasks() && views.windowState->shown)
                             views.calendars->colorAllCalendars(true);
                         if (change.touchesDatedTasks())
                             views.hover->hideSummary();
                     });
}

} // namespace dw
