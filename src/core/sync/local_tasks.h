#pragma once

#include "core/dates/clock.h"
#include "core/dates/format_settings.h"
#include "core/store/task_store.h"
#include "core/sync/sync_plan.h"

#include <vector>

namespace dw {

// Where a gathered task lives: a row of the dated store or of the to-do table.
struct LocalTaskRef {
    bool todo = false;
    int row = 0;
};

struct LocalTasks {
    std::vector<SyncTask> tasks;
    std::vector<LocalTaskRef> refs;
};

// Every dated task of the store (no filter applies) and every to-do task.
LocalTasks gatherLocalTasks(const TaskStore& store, const FormatSettings& fs, const Clock& clock);

// Makes a plan's local changes in the tables gathered by gatherLocalTasks, then sorts and
// saves both files. Each file's failure is answered, the store's first. The changes are
// taken: their texts move into the tables rather than being copied, as a sync may bring a
// whole calendar.
Status applyLocalChanges(TaskStore& store, const LocalTasks& gathered,
                         std::vector<LocalChange> changes, const FormatSettings& fs);

} // namespace dw
