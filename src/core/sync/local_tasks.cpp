#include "core/sync/local_tasks.h"

#include "core/dates/date_parse.h"
#include "core/editing/task_commands.h"
#include "core/store/helpers.h"

#include <algorithm>
#include <cmath>

namespace dw {
namespace {

// A time text that is no time ("All day" and the like) makes an all-day task: read as
// "now" it would be sent at a new time at every sync.
int minuteOfText(std::string_view text, const FormatSettings& fs) {
    const std::optional<double> time = parseTimeText(text, fs);
    if (!time)
        return -1;
    const double fraction = dayFraction(*time);
    return std::clamp(static_cast<int>(std::lround(fraction * 1440.0)), 0, 1439);
}

std::string timeText(int minute, const FormatSettings& fs) {
    if (minute < 0)
        return kAllDayTimeText;
    return timeCellText(timeFraction(minute / 60, minute % 60), fs);
}

// A task from the server as the tables hold it; a to-do task has no time.
DatedTask datedTaskOf(SyncTask&& t, const FormatSettings& fs) {
    return {t.isTodo() ? std::string() : timeText(t.minute, fs), std::move(t.category),
            std::move(t.what), t.done, t.alarm};
}

constexpr std::size_t kPlacedBatch = 512;

} // namespace

LocalTasks gatherLocalTasks(const TaskStore& store, const FormatSettings& fs,
                            const Clock& /*clock*/) {
    LocalTasks out;
    const CellTable& s = store.gridStore();
    for (int r = 1; r < s.rowCount(); ++r) {
        const int date = store.keyDate(r);
        if (date == 0 || s.cellView(StoreCol::Time, r).empty())
            continue;
        SyncTask t;
        t.date = date;
        t.minute = minuteOfText(s.cellView(StoreCol::Time, r), fs);
        t.category = s.cell(StoreCol::Category, r);
        t.what = s.cell(StoreCol::What, r);
        t.done = isYes(s.cellView(StoreCol::Done, r));
        t.alarm = isYes(s.cellView(StoreCol::Alarm, r));
        out.tasks.push_back(std::move(t));
        out.refs.push_back({false, r});
    }
    const CellTable& todo = store.gridNonday();
    for (int r = 1; r < todo.rowCount(); ++r) {
        if (!isTodoRowOccupied(todo, r))
            continue;
        SyncTask t;
        t.category = todo.cell(TodoCol::Category, r);
        t.what = todo.cell(TodoCol::What, r);
        t.done = isYes(todo.cellView(TodoCol::Done, r));
        out.tasks.push_back(std::move(t));
        out.refs.push_back({true, r});
    }
    return out;
}

Status applyLocalChanges(TaskStore& store, const LocalTasks& gathered,
                         std::vector<LocalChange> changes, const FormatSettings& fs) {
    if (changes.empty())
        return {};
    CellTable& s = store.gridStore();
    CellTable& todo = store.gridNonday();
    std::vector<int> todoRemovals;
    bool todoChanged = false;
    std::vector<SyncTask*> dated;
    // A task that changes between a date and the to-do list leaves its row and comes back
    // as an added one.
    auto add = [&](SyncTask& t) {
        if (t.isTodo()) {
            writeTodoRow(todo, firstFreeTodoRow(todo), datedTaskOf(std::move(t), fs));
            todoChanged = true;
        } else {
            // Placed by time once all changes are made; the rows the changes name stay put.
            dated.push_back(&t);
        }
    };
    auto remove = [&](const LocalTaskRef& ref) {
        if (ref.todo)
            todoRemovals.push_back(ref.row);
        else
            s.setCell(StoreCol::Key, ref.row, ""); // the sort drops it
    };
    for (LocalChange& c : changes) {
        if (c.kind == LocalChange::Kind::Add) {
            add(c.task);
            continue;
        }
        const LocalTaskRef& ref = gathered.refs.at(static_cast<std::size_t>(c.local));
        if (c.kind == LocalChange::Kind::Remove) {
            remove(ref);
        } else if (ref.todo == c.task.isTodo()) {
            if (ref.todo) {
                writeTodoRow(todo, ref.row, datedTaskOf(std::move(c.task), fs));
                todoChanged = true;
            } else {
                // A task that keeps its date keeps its place among the date's tasks; one
                // that moves takes its place by time on the new date.
                if (store.keyDate(ref.row) != c.task.date) {
                    remove(ref);
                    add(c.task);
                } else {
                    writeStoreRow(s, ref.row, datedTaskOf(std::move(c.task), fs));
                }
            }
        } else {
            remove(ref);
            add(c.task);
        }
    }
    std::sort(todoRemovals.rbegin(), todoRemovals.rend());
    for (const int row : todoRemovals)
        todo.removeRows(row, 1);
    if (todo.rowCount() < 2)
        todo.setRowCount(2);
    // A batch at a time, so that a sync taking many tasks holds only a batch of their
    // texts twice; placing batch after batch puts them where placing all at once would.
    std::vector<PlacedTask> placed;
    for (std::size_t i = 0; i < dated.size(); i += kPlacedBatch) {
        placed.clear();
        for (std::size_t j = i; j < std::min(dated.size(), i + kPlacedBatch); ++j)
            placed.push_back({dated[j]->date, datedTaskOf(std::move(*dated[j]), fs)});
        store.placeTasks(placed);
    }
    Status saved = store.sortAndSaveStore();
    if (todoChanged || !todoRemovals.empty())
        saved += store.saveTodoFile();
    return saved;
}

} // namespace dw
