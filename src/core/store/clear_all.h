#pragma once

#include "core/dates/format_settings.h"
#include "core/output/print_selection.h"
#include "core/store/task_store.h"

namespace dw {

// How many tasks a clearing removed (an emptied first row counts).
struct ClearedCounts {
    int dated = 0;
    int todo = 0;
};

// Removes the tasks the print window's selection picks: dated tasks by date range, done
// state and category, to-do tasks (only when "To-do tasks?" is on) by category. A picked
// first data row is emptied instead of removed, so that each table keeps a data row; rows
// with an empty key (dated) or no cell at all (to-do) are left alone. The order of the
// rows that stay is kept, so a sorted store stays sorted. Completed tasks are not touched.
ClearedCounts clearSelectedTasks(CellTable& gridStore, CellTable& gridNonday,
                                 const PrintSelection& sel, const FormatSettings& fs);

// Clears as above and writes grid.grd and gridNon.grd at once (the store unsorted: an
// emptied first row goes at the next sort). Each file's failure is answered, the store's
// first.
Status clearAllData(TaskStore& store, const PrintSelection& sel, const FormatSettings& fs,
                    ClearedCounts* counts = nullptr);

} // namespace dw
