#include "core/calendar/navigation.h"

#include "core/store/task_store.h"

namespace dw {

namespace {

bool isHighlighted(const TaskStore& store, int date, HighlightChoice choice) {
    return store.dateHighlight(date, choice.colorDone, choice.colorNotDone) > 0;
}

// Where the walk through the store starts: the first shown row of the day itself when that
// day is highlighted, otherwise `otherwise`.
int startRow(const TaskStore& store, int day, HighlightChoice choice, int otherwise) {
    if (isHighlighted(store, day, choice)) {
        const int first = store.firstVisibleRow(day);
        if (first >= 1)
            return first;
    }
    return otherwise;
}

} // namespace

DateSerial goForward(const TaskStore& store, DateSerial from, HighlightChoice choice) {
    const int last = store.gridStore().rowCount() - 1;
    // Row 0 is the header; its key is no date.
    int checked = -1;
    for (int r = startRow(store, wholeDays(from), choice, 1); r <= last; ++r) {
        const int d = store.keyDate(r);
        // A date's rows lie together: ask once per date.
        if (d == checked || d <= from)
            continue;
        checked = d;
        if (isHighlighted(store, d, choice))
            return d;
    }
    return from;
}

DateSerial goBack(const TaskStore& store, DateSerial from, HighlightChoice choice) {
    const int last = store.gridStore().rowCount() - 1;
    const int day = wholeDays(from);
    int checked = -1;
    for (int r = startRow(store, day, choice, last); r >= 1; --r) {
        const int d = store.keyDate(r);
        // A key that is no number reads as day 0, which is never highlighted.
        if (d == checked || d >= day || d < 1)
            continue;
        checked = d;
        if (isHighlighted(store, d, choice))
            return d;
    }
    return from;
}

} // namespace dw
