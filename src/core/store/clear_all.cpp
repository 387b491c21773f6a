#include "core/store/clear_all.h"

#include <string>

namespace dw {

namespace {

// Removes every picked occupied row from row 2 on, keeping the order of the others, and
// empties row 1 when it is picked. One pass: the rows that stay move up over the removed
// ones, then the tail goes at once, so clearing most of a large store stays linear.
template <typename Occupied, typename Picked>
int clearRows(CellTable& table, Occupied&& occupied, Picked&& picked) {
    int removed = 0;
    const int rows = table.rowCount();
    int kept = 2;
    for (int r = 2; r < rows; ++r) {
        if (occupied(r) && picked(r)) {
            ++removed;
            continue;
        }
        if (kept != r)
            table.swapRows(kept, r);
        ++kept;
    }
    if (kept < rows)
        table.removeRows(kept, rows - kept);
    if (rows > 1 && occupied(1) && picked(1)) {
        for (int c = 0; c < table.colCount(); ++c)
            table.setCell(c, 1, {});
        ++removed;
    }
    return removed;
}

} // namespace

ClearedCounts clearSelectedTasks(CellTable& gridStore, CellTable& gridNonday,
                                 const PrintSelection& sel, const FormatSettings& fs) {
    ClearedCounts counts;
    counts.dated = clearRows(
        gridStore, [&](int r) { return !gridStore.cellView(StoreCol::Key, r).empty(); },
        [&](int r) {
            return okToPrintDateTask(sel, keyDate(gridStore.cellView(StoreCol::Key, r), fs),
                                     std::string(gridStore.cellView(StoreCol::Done, r)),
                                     std::string(gridStore.cellView(StoreCol::Category, r)));
        });
    if (sel.todo) {
        counts.todo = clearRows(
            gridNonday,
            [&](int r) {
                for (int c = 0; c < gridNonday.colCount(); ++c)
                    if (!gridNonday.cellView(c, r).empty())
                        return true;
                return false;
            },
            [&](int r) {
                return okToPrintNonDateTask(sel,
                                            std::string(gridNonday.cellView(TodoCol::Category, r)));
            });
    }
    return counts;
}

Status clearAllData(TaskStore& store, const PrintSelection& sel, const FormatSettings& fs,
                    ClearedCounts* counts) {
    const ClearedCounts cleared =
        clearSelectedTasks(store.gridStore(), store.gridNonday(), sel, fs);
    if (counts)
        *counts = cleared;
    Status saved = store.saveStoreFile();
    saved += store.saveTodoFile();
    return saved;
}

} // namespace dw
