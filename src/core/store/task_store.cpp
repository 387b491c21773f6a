#include "core/store/task_store.h"

#include "core/dates/date_parse.h"
#include "core/store/file_io.h"
#include "core/store/helpers.h"
#include "core/store/save_guard.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <new>
#include <unordered_map>

namespace dw {

namespace {

// A key in the form the program writes: digits, optionally a full stop and more digits,
// optionally signed. Answers its two numbers.
bool parsePlainKey(std::string_view key, long long& date, long long& sequence) {
    if (key.empty())
        return false;
    const char* p = key.data();
    const char* end = p + key.size();
    const bool negative = *p == '-';
    if (negative)
        ++p;
    const char* dot = std::find(p, end, '.');
    // Nine digits keep the date inside int; longer keys take the general road.
    if (dot == p || dot - p > 9)
        return false;
    long long d = 0;
    for (const char* q = p; q < dot; ++q) {
        if (*q < '0' || *q > '9')
            return false;
        d = d * 10 + (*q - '0');
    }
    long long s = -1;
    if (dot != end) {
        const char* q = dot + 1;
        if (q == end || end - q > 18)
            return false;
        s = 0;
        for (; q < end; ++q) {
            if (*q < '0' || *q > '9')
                return false;
            s = s * 10 + (*q - '0');
        }
    }
    date = negative ? -d : d;
    sequence = s;
    return true;
}

int cutToInt(double v) {
    if (!std::isfinite(v) || v >= 2147483647.0 || v <= -2147483648.0)
        return 0;
    return static_cast<int>(v);
}

template <typename T> int threeWay(T a, T b) {
    return a < b ? -1 : a > b ? 1 : 0;
}

} // namespace

std::string storeKey(int date, int sequence) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%d.%d", date, sequence);
    return buf;
}

int keyDate(std::string_view key, const FormatSettings& fs) {
    long long date = 0, sequence = 0;
    if (parsePlainKey(key, date, sequence))
        return static_cast<int>(date);
    return cutToInt(numberOfText(key, fs));
}

int compareStoreKeys(const std::string& a, const std::string& b, const FormatSettings& fs) {
    long long da = 0, sa = 0, db = 0, sb = 0;
    const bool plainA = parsePlainKey(a, da, sa);
    const bool plainB = parsePlainKey(b, db, sb);
    if (!plainA)
        da = keyDate(a, fs);
    if (!plainB)
        db = keyDate(b, fs);
    if (da != db)
        return threeWay(da, db);
    // Within a date: the program's own keys by sequence number, any other key after them
    // in text order. Equal numbers written differently ("5.0100", "5.100") go by text.
    if (plainA != plainB)
        return plainA ? -1 : 1;
    if (plainA && sa != sb)
        return threeWay(sa, sb);
    return a.compare(b);
}

int gridDayCustomCompare(const std::string& a, const std::string& b, const FormatSettings& fs,
                         const Clock& clock) {
    if (a.empty() || b.empty())
        return 0;
    return threeWay(timeOfText(a, fs, clock), timeOfText(b, fs, clock));
}

bool isTodoRowOccupied(const CellTable& todo, int row) {
    return !todo.cell(TodoCol::Category, row).empty() || !todo.cell(TodoCol::What, row).empty();
}

int firstFreeTodoRow(CellTable& todo) {
    for (int r = 1; r < todo.rowCount(); ++r)
        if (!isTodoRowOccupied(todo, r))
            return r;
    todo.insertRows(todo.rowCount(), 1);
    return todo.rowCount() - 1;
}

CellTable makeGridStore(const FormatSettings& fs) {
    CellTable t(6, 4);
    // A file with fewer columns than the layout must not make later writes drop cells.
    t.setMinColCount(6);
    // Every save of a store holding tasks follows the sort, which drops blank rows; only a
    // store without tasks is written with blank rows: the three of a fresh one.
    TableFileRules rules;
    rules.blankRowsAtEnd = 0;
    rules.blankRowsAtEndWithoutData = 3;
    t.setFileRules(std::move(rules));
    const int widths[] = {110, 94, 146, 64, 64, 64};
    for (int c = 0; c < 6; ++c)
        t.setColWidth(c, widths[c]);
    t.setCustomCompare(StoreCol::Key, [&fs](const std::string& a, const std::string& b) {
        return compareStoreKeys(a, b, fs);
    });
    return t;
}

CellTable makeGridDay(const FormatSettings& fs, const Clock& clock) {
    CellTable t(5, 2);
    const char* headers[] = {"Time", "Category", "What", "Done?", "Alarm?"};
    const int widths[] = {54, 62, 231, 52, 52};
    for (int c = 0; c < 5; ++c) {
        t.setCell(c, 0, headers[c]);
        t.setColWidth(c, widths[c]);
    }
    t.setCustomCompare(DayCol::Time, [&fs, &clock](const std::string& a, const std::string& b) {
        return gridDayCustomCompare(a, b, fs, clock);
    });
    return t;
}

CellTable makeGridNonday() {
    CellTable t(3, 2);
    t.setMinColCount(3);
    // Blank rows come from Clear all, which empties the first row and keeps it: sorted by a
    // header click, it can end the list. An empty file is an empty list; the captions are
    // always the program's own.
    TableFileRules rules;
    rules.blankRowsAtEnd = 1;
    rules.blankRowsAtEndWithoutData = 1;
    rules.emptyFileIsBlank = true;
    rules.header = {"Category", "What", "Done?"};
    const int widths[] = {62, 503, 52};
    for (int c = 0; c < 3; ++c) {
        t.setCell(c, 0, rules.header[static_cast<std::size_t>(c)]);
        t.setColWidth(c, widths[c]);
    }
    t.setFileRules(std::move(rules));
    return t;
}

TaskStore::TaskStore(const FormatSettings& fs, const Clock& clock)
    : fs_(fs), clock_(clock), gridStore_(makeGridStore(fs)), gridDay_(makeGridDay(fs, clock)),
      gridNonday_(makeGridNonday()) {}

std::string TaskStore::storePath() const {
    return joinPath(dataDir_, "grid.grd");
}
std::string TaskStore::todoPath() const {
    return joinPath(dataDir_, "gridNon.grd");
}

bool TaskStore::passesFilter(int row) const {
    if (!filter_)
        return true;
    // Copies, not the rows' own strings: a filtered walk over the store stays on the
    // loaded cells (flags and categories are short enough to need no allocation).
    return filter_(std::string(gridStore_.cellView(StoreCol::Done, row)),
                   std::string(gridStore_.cellView(StoreCol::Category, row)));
}

int TaskStore::keyDate(int row) const {
    return dw::keyDate(gridStore_.cellView(StoreCol::Key, row), fs_);
}

int TaskStore::taskCount() const {
    int n = 0;
    for (int r = 1; r < gridStore_.rowCount(); ++r)
        n += gridStore_.cellView(StoreCol::Key, r).empty() ? 0 : 1;
    return n;
}

int TaskStore::firstVisibleRow(int date) const {
    const int rows = gridStore_.rowCount();
    if (rows < 2)
        return -1;
    int lo = 1, hi = rows - 1, m = 0;
    bool hit = false;
    while (lo <= hi) {
        m = lo + (hi - lo) / 2;
        const int d = keyDate(m);
        if (d == date) {
            hit = true;
            break;
        }
        if (date < d)
            hi = m - 1;
        else
            lo = m + 1;
    }
    if (!hit)
        return -1;
    // Any row of the date will do as a start; the answer is the uppermost one that passes.
    int first = m;
    while (first > 1 && keyDate(first - 1) == date)
        --first;
    for (int r = first; r < rows && keyDate(r) == date; ++r)
        if (passesFilter(r))
            return r;
    return -1;
}

int TaskStore::countVisibleRows(int b) const {
    const int date = keyDate(b);
    int n = 1;
    for (int r = b + 1; r < gridStore_.rowCount() && keyDate(r) == date; ++r)
        if (passesFilter(r))
            ++n;
    return n;
}

int TaskStore::dateHighlight(int date, bool wantDone, bool wantNotDone) const {
    if (!wantDone && !wantNotDone)
        return -1;
    const int b = firstVisibleRow(date);
    if (b < 1)
        return -1;
    for (int r = b; r < gridStore_.rowCount() && keyDate(r) == date; ++r) {
        if (!passesFilter(r))
            continue;
        const std::string_view done = gridStore_.cellView(StoreCol::Done, r);
        if (wantDone && done == "Yes")
            return 1;
        if (wantNotDone && done == "No")
            return 2;
    }
    return -1;
}

void TaskStore::readFromStore(int date) {
    dayViewDate_ = date;
    const int b = firstVisibleRow(date);
    if (b < 1) {
        gridDay_.setRowCount(2);
        clearDataRows(gridDay_);
        return;
    }
    const int n = countVisibleRows(b);
    gridDay_.setRowCount(n + 1);
    clearDataRows(gridDay_);
    int next = 1;
    for (int r = b; r < gridStore_.rowCount() && keyDate(r) == date; ++r) {
        if (!passesFilter(r))
            continue;
        for (int c = 0; c < 5; ++c)
            gridDay_.setCell(c, next, gridStore_.cell(c + 1, r));
        ++next;
    }
}

Status TaskStore::writeToStore(int date) {
    const int b = firstVisibleRow(date);
    int p = 1;
    if (b >= 1) {
        // The date's rows are consecutive; the filter's hidden rows among them stay.
        int end = b;
        while (end < gridStore_.rowCount() && keyDate(end) == date)
            ++end;
        int kept = b;
        for (int r = b; r < end; ++r) {
            if (!passesFilter(r)) {
                if (kept != r)
                    gridStore_.swapRows(kept, r);
                ++kept;
            }
        }
        gridStore_.removeRows(kept, end - kept);
        p = b;
    }
    const int k = gridDay_.rowCount() - 1;
    gridStore_.insertRows(p, k);
    for (int j = 1; j <= k; ++j) {
        if (gridDay_.cell(DayCol::Time, j).empty())
            continue; // a blank day-view row leaves its store row empty
        const int r = p + j - 1;
        gridStore_.setCell(StoreCol::Key, r, storeKey(date, j + 100));
        for (int c = 0; c < 5; ++c)
            gridStore_.setCell(c + 1, r, gridDay_.cell(c, j));
    }
    return sortAndSaveStore();
}

Status TaskStore::sortAndSaveStore() {
    gridStore_.removeDataRowsWithEmptyCell(StoreCol::Key);
    gridStore_.setSortColumn(StoreCol::Key);
    gridStore_.setSortDirection(SortDirection::Ascending);
    gridStore_.sortRows();
    return gridStore_.saveTable(storePath());
}

void writeTaskCells(CellTable& table, int row, int timeColumn, const DatedTask& task) {
    table.setCell(timeColumn, row, task.time);
    table.setCell(timeColumn + 1, row, task.category);
    table.setCell(timeColumn + 2, row, task.what);
    table.setCell(timeColumn + 3, row, yesNo(task.done));
    table.setCell(timeColumn + 4, row, yesNo(task.alarm));
}

void writeStoreRow(CellTable& store, int row, const DatedTask& task) {
    writeTaskCells(store, row, StoreCol::Time, task);
}

namespace {

// Where a task stands in its day: "All day", an empty or any other text that is not a time
// stands before every time of day.
double placingTime(std::string_view timeText, const FormatSettings& fs) {
    const std::optional<double> t = parseTimeText(timeText, fs);
    return t ? *t : -1.0;
}

} // namespace

void TaskStore::placeTasks(std::span<const PlacedTask> tasks) {
    if (tasks.empty())
        return;
    struct Placed {
        double time;
        int row;
    };
    // The dates that take tasks, each with its rows in the day view's order (key order).
    // The store need not be sorted here: a caller may have changed keys before.
    std::unordered_map<int, std::vector<Placed>> days;
    for (const PlacedTask& t : tasks)
        days.try_emplace(t.date);
    const int firstNew = gridStore_.rowCount();
    for (int r = 1; r < firstNew; ++r) {
        if (gridStore_.cellView(StoreCol::Key, r).empty())
            continue;
        const auto day = days.find(keyDate(r));
        if (day != days.end())
            day->second.push_back({placingTime(gridStore_.cellView(StoreCol::Time, r), fs_), r});
    }
    for (auto& [date, rows] : days)
        std::stable_sort(rows.begin(), rows.end(), [this](const Placed& a, const Placed& b) {
            return compareStoreKeys(gridStore_.cell(StoreCol::Key, a.row),
                                    gridStore_.cell(StoreCol::Key, b.row), fs_) < 0;
        });
    gridStore_.insertRows(firstNew, static_cast<int>(tasks.size()));
    int row = firstNew;
    for (const PlacedTask& t : tasks) {
        writeStoreRow(gridStore_, row, t.task);
        std::vector<Placed>& rows = days[t.date];
        const double time = placingTime(t.task.time, fs_);
        const auto later = std::find_if(rows.begin(), rows.end(),
                                        [time](const Placed& p) { return p.time > time; });
        rows.insert(later, {time, row});
        ++row;
    }
    for (const auto& [date, rows] : days)
        for (std::size_t i = 0; i < rows.size(); ++i)
            gridStore_.setCell(StoreCol::Key, rows[i].row,
                               storeKey(date, 101 + static_cast<int>(i)));
}

Status TaskStore::insertTask(int date, const DatedTask& task) {
    const PlacedTask placed{date, task};
    placeTasks({&placed, 1});
    return sortAndSaveStore();
}

Status TaskStore::deleteEntry(CellTable& table, int selected, bool writeBack, int date) {
    takeRowOut(table, selected);
    if (writeBack)
        return writeToStore(date);
    return {};
}

namespace {

// A loaded store table made ready for use: widened to the store's columns and in key order.
void prepareLoadedStore(CellTable& table, const FormatSettings& fs, const std::string& path) {
    // Widened as it loads (makeGridStore); a table made elsewhere may not be.
    if (table.colCount() < 6)
        table.setColCount(6);
    // The date lookups bisect, so the rows must be in key order. Files of older versions
    // are in text order, which differs for dates before 18 May 1927 (four-digit serials);
    // a file that is already in order costs one pass.
    table.setSortColumn(StoreCol::Key);
    table.setSortDirection(SortDirection::Ascending);
    try {
        table.sortRows();
    } catch (const std::bad_alloc&) {
        // Too big to sort is too big to use: the documented error, and no half-loaded store.
        table = makeGridStore(fs);
        throw TableFileError("File contains no data or corrupt file " + path);
    }
}

} // namespace

void TaskStore::loadStoreFile(bool keepDamaged) {
    if (storeRead_.valid()) {
        std::optional<CellTable> read = storeRead_.get();
        if (read && storeReadPath_ == storePath()) {
            gridStore_ = std::move(*read);
            return;
        }
    }
    loadTableIfPresent(gridStore_, storePath(), keepDamaged);
    prepareLoadedStore(gridStore_, fs_, storePath());
}

void TaskStore::startLoadingStoreFile() {
    storeReadPath_ = storePath();
    storeRead_ = std::async(std::launch::async,
                            [&fs = fs_, path = storePath()]() -> std::optional<CellTable> {
                                // The file's absence and its errors are left to loadStoreFile.
                                if (!pathExists(path))
                                    return std::nullopt;
                                try {
                                    CellTable table = makeGridStore(fs);
                                    table.loadTable(path);
                                    prepareLoadedStore(table, fs, path);
                                    return table;
                                } catch (const TableFileError&) {
                                    return std::nullopt;
                                }
                            });
}

void TaskStore::loadStoreFileForDate(int date) {
    if (pathExists(storePath()))
        gridStore_.loadRowsWhere(storePath(), StoreCol::Key, [&](std::string_view key) {
            return dw::keyDate(key, fs_) == date;
        });
    if (gridStore_.colCount() < 6)
        gridStore_.setColCount(6);
    // In key order, as loadStoreFile leaves them: a stable sort of the date's rows alone
    // orders them as sorting the whole store would.
    gridStore_.setSortColumn(StoreCol::Key);
    gridStore_.setSortDirection(SortDirection::Ascending);
    gridStore_.sortRows();
}

void TaskStore::loadTodoFile(bool keepDamaged) {
    loadTableIfPresent(gridNonday_, todoPath(), keepDamaged);
    if (gridNonday_.colCount() < 3)
        gridNonday_.setColCount(3);
}

Status TaskStore::saveStoreFile() const {
    return gridStore_.saveTable(storePath());
}
Status TaskStore::saveTodoFile() const {
    return gridNonday_.saveTable(todoPath());
}

Status TaskStore::saveChangedFiles(bool sortStore) {
    // A file refused for this run (one that could not be read at start and could not be
    // kept aside: a folder in its place, say) was reported when it was loaded; hiding and
    // closing neither write over it nor report it again.
    Status saved;
    if (!saveRefusal(storePath()) && !gridStore_.isSavedAs(storePath()))
        saved = sortStore ? sortAndSaveStore() : saveStoreFile();
    if (!saveRefusal(todoPath()))
        saved += gridNonday_.saveTableIfChanged(todoPath());
    return saved;
}

} // namespace dw
