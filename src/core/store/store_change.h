#pragma once

#include <algorithm>
#include <vector>

namespace dw {

// What one change to the tables touched, as the views that show them need to know: each
// view refreshes what the change touches and nothing else.
struct StoreChange {
    // Dated tasks changed on these dates (whole-day serials); every date when too many
    // changed to name them (a restore, a sync, an import, a repeat).
    std::vector<int> dates;
    bool everyDate = false;
    // The day view already holds the change: the command edited it and wrote it back, so
    // reading it again from the store would only repeat it.
    bool dayViewCurrent = false;
    bool todo = false;     // the to-do list
    bool holidays = false; // the holiday table

    bool touchesDate(int date) const {
        return everyDate || std::find(dates.begin(), dates.end(), date) != dates.end();
    }
    bool touchesDatedTasks() const { return everyDate || !dates.empty(); }

    // Every table may have changed.
    static StoreChange everything() {
        StoreChange c;
        c.everyDate = c.todo = c.holidays = true;
        return c;
    }
    static StoreChange onDates(std::vector<int> dates, bool todo = false) {
        StoreChange c;
        c.dates = std::move(dates);
        c.todo = todo;
        return c;
    }
};

} // namespace dw
