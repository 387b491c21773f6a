#pragma once

#include "core/common/status.h"
#include "core/dates/clock.h"
#include "core/dates/format_settings.h"
#include "core/store/cell_table.h"

#include <functional>
#include <future>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace dw {

// Columns of the dated task store; the day view holds columns 1 to 5 as its 0 to 4.
namespace StoreCol {
constexpr int Key = 0, Time = 1, Category = 2, What = 3, Done = 4, Alarm = 5;
}
namespace DayCol {
constexpr int Time = 0, Category = 1, What = 2, Done = 3, Alarm = 4;
}
// Both hold a task's cells side by side in the same order (writeTaskCells).
static_assert(StoreCol::Alarm - StoreCol::Time == 4 && DayCol::Alarm - DayCol::Time == 4 &&
              StoreCol::What - StoreCol::Time == DayCol::What - DayCol::Time);
namespace TodoCol {
constexpr int Category = 0, What = 1, Done = 2;
}

// Decides for a dated task, by its done flag and category, whether it is shown.
using TaskFilter = std::function<bool(const std::string& done, const std::string& category)>;

// One dated task, as the commands that insert straight into the store hand it over.
struct DatedTask {
    std::string time;
    std::string category;
    std::string what;
    bool done = false;
    bool alarm = false;
};

// A dated task with the date it goes on.
struct PlacedTask {
    int date = 0;
    DatedTask task;
};

// The store's key for a date and a sequence number: "%d.%d".
std::string storeKey(int date, int sequence);
// A task's cells in a row, from the time column on: time, category, text, done, alarm. The
// store holds them from its column 1, the day view from its column 0.
void writeTaskCells(CellTable& table, int row, int timeColumn, const DatedTask& task);
// A task's cells in a store row, all but the key.
void writeStoreRow(CellTable& store, int row, const DatedTask& task);
// The date of a key: the whole part, cut toward zero, of the key read as a number; 0 for
// an empty or non-numeric key.
int keyDate(std::string_view key, const FormatSettings& fs);
// The order of keys: by date, then by sequence number, both as numbers. For keys with a
// five-digit date and a three-digit sequence this is the order of the texts; unlike the
// texts it stays right for every other date and for the 900th task of a day.
int compareStoreKeys(const std::string& a, const std::string& b, const FormatSettings& fs);

// The day view's time column: both times read with timeOfText and compared as numbers;
// when either is empty the two are equal.
int gridDayCustomCompare(const std::string& a, const std::string& b, const FormatSettings& fs,
                         const Clock& clock);

// A to-do row holds a task when its category or its text is not empty (a task may have no
// category, so column 0 alone does not tell).
bool isTodoRowOccupied(const CellTable& todo, int row);
// The lowest data row of the to-do table that holds no task, appending one when none.
int firstFreeTodoRow(CellTable& todo);

CellTable makeGridStore(const FormatSettings& fs);
CellTable makeGridDay(const FormatSettings& fs, const Clock& clock);
CellTable makeGridNonday();

// The dated task store with its day view and the to-do table. Dated tasks change only
// through the day view: readFromStore copies a date's filtered rows into it, and
// writeToStore writes it back over exactly those rows and saves grid.grd.
// The format settings and the clock must outlive the store.
class TaskStore {
public:
    TaskStore(const FormatSettings& fs, const Clock& clock);

    const Clock& clock() const { return clock_; }

    CellTable& gridStore() { return gridStore_; }
    const CellTable& gridStore() const { return gridStore_; }
    CellTable& gridDay() { return gridDay_; }
    const CellTable& gridDay() const { return gridDay_; }
    CellTable& gridNonday() { return gridNonday_; }
    const CellTable& gridNonday() const { return gridNonday_; }

    // Every task passes until a filter is set; an empty function clears it.
    void setFilter(TaskFilter filter) { filter_ = std::move(filter); }
    bool passesFilter(int row) const;
    // The same test on a task's own Done and Category texts (a day view row).
    bool passesFilter(const std::string& done, const std::string& category) const {
        return !filter_ || filter_(done, category);
    }

    // Where grid.grd and gridNon.grd live.
    void setDataDir(std::string dir) { dataDir_ = std::move(dir); }
    const std::string& dataDir() const { return dataDir_; }
    std::string storePath() const;
    std::string todoPath() const;

    int keyDate(int row) const;
    // How many tasks the store holds (its rows with a key).
    int taskCount() const;

    // The date's filtered rows: the first of them (-1 when none), and how many there are
    // from that first row b on.
    int firstVisibleRow(int date) const;
    int countVisibleRows(int b) const;
    // Calls visit(row) for each of the date's filtered rows in store order.
    template <typename Visit> void forEachVisibleRow(int date, Visit&& visit) const {
        const int b = firstVisibleRow(date);
        if (b < 1)
            return;
        for (int r = b; r < gridStore_.rowCount() && keyDate(r) == date; ++r)
            if (passesFilter(r))
                visit(r);
    }
    // 1 when the first qualifying filtered row of the date is done (and done is wanted), 2
    // when it is not done (and not-done is wanted), -1 otherwise.
    int dateHighlight(int date, bool wantDone, bool wantNotDone) const;

    void readFromStore(int date);
    // The date the day view was last filled for (0 before the first read).
    int dayViewDate() const { return dayViewDate_; }
    // Writes the day view back over the date's filtered rows, then sortAndSaveStore.
    Status writeToStore(int date);
    // Drops rows with an empty key, sorts the store, saves grid.grd.
    Status sortAndSaveStore();
    // Puts tasks on their dates without the day view. Each takes its place among its date's
    // tasks by its time, as a task added in the editor does: just before the first of them
    // whose time is later than its own, or after the last. "All day" and untimed tasks
    // count as earlier than any time. The date's other tasks keep their order; the date's
    // rows are numbered anew from date.101 in that order. Saves nothing: the caller sorts
    // and saves once (sortAndSaveStore).
    void placeTasks(std::span<const PlacedTask> tasks);
    // Puts one task on a date (placeTasks), then sortAndSaveStore.
    Status insertTask(int date, const DatedTask& task);
    // Removes row `selected` of the day view or the to-do table (empties it when it is the
    // only data row); with writeBack, writes the day view back for the date (writeToStore).
    Status deleteEntry(CellTable& table, int selected, bool writeBack, int date);

    // Loading at start-up: a missing file leaves the table as it is. Throws TableFileError
    // (after keeping a copy of the damaged file aside, unless told not to). The store is
    // sorted by key once loaded.
    void loadStoreFile(bool keepDamaged = true);
    // Starts reading the store file on a thread of its own, for the program's start: its
    // windows are built while the file is read and parsed, and the next loadStoreFile takes
    // what was read (unless the data folder changed meanwhile). A file that could not be
    // read whole is read again there, so that its error is reported and a damaged file kept
    // aside as always. The format settings must not change until then.
    void startLoadingStoreFile();
    // The same for the to-do list, except that an empty file is an empty list; its header
    // row is always the program's own captions.
    void loadTodoFile(bool keepDamaged = true);
    // The store as loadStoreFile(false) leaves it, with only the rows of one date: for a
    // command that reads that date. A store loaded so is never saved.
    void loadStoreFileForDate(int date);
    Status saveStoreFile() const;
    Status saveTodoFile() const;
    // Closing, hiding and session end: each file is written only when its table differs
    // from what the file holds (isSavedAs), the store sorted first when asked. A close with
    // nothing changed writes nothing and leaves the files' modification times. A file whose
    // saving is refused for this run (save_guard.h) is skipped without a word: why was said
    // when it was loaded. Each file's failure is answered, the store's first.
    Status saveChangedFiles(bool sortStore);

private:
    const FormatSettings& fs_;
    const Clock& clock_;
    CellTable gridStore_;
    CellTable gridDay_;
    CellTable gridNonday_;
    TaskFilter filter_;
    std::string dataDir_ = ".";
    int dayViewDate_ = 0;
    // The read startLoadingStoreFile began: last, so that it is waited for before anything
    // it uses goes.
    std::future<std::optional<CellTable>> storeRead_;
    std::string storeReadPath_;
};

} // namespace dw
