#include "core/output/completed_tasks.h"

#include "core/dates/date_format.h"
#include "core/dates/date_parse.h"
#include "core/prompts/prompts.h"
#include "core/store/helpers.h"

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

bool AddToCompleteGrid(CellTable& table, const std::string& path, const CompletedTask& task,
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

CompletedTasks::CompletedTasks(std::string dataDir)
    : dataDir_(std::move(dataDir)), table_(CompCol::Count, 2) {
    for (int c = 0; c < CompCol::Count; ++c)
        table_.setColWidth(c, kCreationWidths[static_cast<std::size_t>(c)]);
    setCompletedHeaders(table_);
}

std::string CompletedTasks::path() const {
    return joinPath(dataDir_, kCompletedFileName);
}

void CompletedTasks::load() {
    try {
        loadTableIfPresent(table_, path());
    } catch (const TableFileError& e) {
        showError(e.what());
    }
    setCompletedHeaders(table_);
}

} // namespace dw
