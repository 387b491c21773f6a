#include "core/output/completed_tasks.h"

#include "core/dates/date_format.h"
#include "core/dates/date_parse.h"
#include "core/store/helpers.h"

#include <algorithm>
#include <array>

namespace dw {

namespace {

constexpr std::array<const char*, CompCol::Count> kHeaders = {"Comp Date", "Time", "Category",
                                                              "Orig Date", "What", "Comp Notes"};
constexpr std::array<int, CompCol::Count> kCreationWidths = {81, 79, 64, 188, 64, 64};

// A table read from a file may be narrower or hold only its header row; both would leave
// the record without a place to go.
void ensureShape(CellTable& table) {
    if (table.colCount() < CompCol::Count)
        table.setColCount(CompCol::Count);
    if (table.rowCount() < 2)
        table.setRowCount(2);
}

} // namespace

void setCompletedHeaders(CellTable& table) {
    ensureShape(table);
    for (int c = 0; c < CompCol::Count; ++c)
        table.setCell(c, 0, kHeaders[static_cast<std::size_t>(c)]);
}

Status recordCompletedTask(CellTable& table, const std::string& path, const CompletedTask& task,
                           const FormatSettings& fs) {
    ensureShape(table);
    if (!table.cell(0, 1).empty())
        table.insertRows(1, 1);
    // The seconds are never recorded, even before the start-up adjustment has run.
    FormatSettings timeFs = fs;
    fix2000(timeFs);
    table.setCell(CompCol::CompDate, 1,
                  formatDateTime("ddddd", wholeDays(task.completionDate), fs));
    table.setCell(CompCol::Time, 1, formatDateTime("tt", dayFraction(task.time), timeFs));
    table.setCell(CompCol::Category, 1, task.category);
    table.setCell(CompCol::OrigDate, 1, task.origin);
    table.setCell(CompCol::What, 1, task.what);
    table.setCell(CompCol::CompNotes, 1, task.notes);
    return table.saveTable(path);
}

void deleteCompletedRecord(CellTable& table, int row) {
    ensureShape(table);
    takeRowOut(table, row);
}

void clearCompletedRecords(CellTable& table) {
    ensureShape(table);
    clearDataRows(table);
    table.setRowCount(2);
}

void writeBackCompletedPanes(CellTable& table, int row, const std::vector<std::string>& what,
                             const std::vector<std::string>& notes) {
    ensureShape(table);
    if (row < 1 || row >= table.rowCount())
        return;
    table.setCell(CompCol::What, row, linesToText(what));
    table.setCell(CompCol::CompNotes, row, linesToText(notes));
}

void writeBackCompletedText(CellTable& table, int row, int column,
                            const std::vector<std::string>& lines) {
    ensureShape(table);
    if (row < 1 || row >= table.rowCount() ||
        (column != CompCol::What && column != CompCol::CompNotes))
        return;
    table.setCell(column, row, linesToText(lines));
}

int compareCompletionDates(const std::string& a, const std::string& b, const FormatSettings& fs,
                           int currentYear) {
    const std::optional<int> da = parseShortDateText(a, fs, currentYear);
    const std::optional<int> db = parseShortDateText(b, fs, currentYear);
    if (da && db)
        return *da < *db ? -1 : *da > *db ? 1 : 0;
    if (da || db)
        return da ? 1 : -1;
    return a.compare(b);
}

void sortCompletionDatesAsDates(CellTable& table, const FormatSettings& fs, const Clock& clock) {
    table.setCustomCompare(
        CompCol::CompDate, [&fs, &clock](const std::string& a, const std::string& b) {
            return compareCompletionDates(a, b, fs, decodeDate(wholeDays(clock.now())).year);
        });
}

std::vector<int> completedColumnWidths(int tableWidth, int scrollBarWidth, int frameWidth,
                                       int dpi) {
    std::vector<int> widths;
    int fixed = 0;
    for (const int w : {70, 62, 58, 128}) {
        widths.push_back(w * dpi / 96);
        fixed += widths.back();
    }
    const int share = std::max(0, (tableWidth - fixed - scrollBarWidth - frameWidth - 6) / 2);
    widths.push_back(share);
    widths.push_back(share);
    return widths;
}

CompletedTasks::CompletedTasks(std::string dataDir)
    : dataDir_(std::move(dataDir)), table_(CompCol::Count, 2) {
    // A record goes into the first row when it is blank, else into a new first row: the
    // only blank row a saved table can have is the one of a table without records.
    TableFileRules rules;
    rules.blankRowsAtEnd = 0;
    rules.blankRowsAtEndWithoutData = 1;
    table_.setFileRules(std::move(rules));
    for (int c = 0; c < CompCol::Count; ++c)
        table_.setColWidth(c, kCreationWidths[static_cast<std::size_t>(c)]);
    setCompletedHeaders(table_);
}

std::string CompletedTasks::path() const {
    return joinPath(dataDir_, kCompletedFileName);
}

Status CompletedTasks::load() {
    Status loaded;
    try {
        loadTableIfPresent(table_, path());
    } catch (const TableFileError& e) {
        loaded = Status::failure(e.what());
    }
    setCompletedHeaders(table_);
    return loaded;
}

} // namespace dw
