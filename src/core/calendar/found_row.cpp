#include "core/calendar/found_row.h"

#include "core/store/task_store.h"

namespace dw {

int foundDayRow(const TaskStore& store, int foundRow, bool lastMatch) {
    const CellTable& s = store.gridStore();
    const CellTable& day = store.gridDay();
    if (foundRow < 1 || foundRow >= s.rowCount())
        return -1;
    const auto matches = [&](int r) {
        return store.passesFilter(day.cell(DayCol::Done, r), day.cell(DayCol::Category, r)) &&
               day.cell(DayCol::Time, r) == s.cell(StoreCol::Time, foundRow) &&
               day.cell(DayCol::Category, r) == s.cell(StoreCol::Category, foundRow) &&
               day.cell(DayCol::What, r) == s.cell(StoreCol::What, foundRow);
    };
    if (lastMatch) {
        for (int r = day.rowCount() - 1; r >= 1; --r)
            if (matches(r))
                return r;
        return -1;
    }
    for (int r = 1; r < day.rowCount(); ++r)
        if (matches(r))
            return r;
    return -1;
}

} // namespace dw
