#pragma once

#include "core/common/status.h"
#include "core/dates/clock.h"
#include "core/dates/date_serial.h"
#include "core/dates/format_settings.h"
#include "core/store/cell_table.h"

#include <string>
#include <vector>

namespace dw {

// Columns of the completed tasks table; row 0 is the header, newest record first.
namespace CompCol {
constexpr int CompDate = 0;
constexpr int Time = 1;
constexpr int Category = 2;
constexpr int OrigDate = 3;
constexpr int What = 4;
constexpr int CompNotes = 5;
constexpr int Count = 6;
} // namespace CompCol

inline constexpr const char* kCompletedFileName = "gridComp.grd";

// One completion as the editor's completion page records it.
struct CompletedTask {
    DateSerial completionDate = 0; // only the whole day counts
    double time = 0;               // the editor's time of day
    std::string category;
    std::string origin; // "ddd ddddd" of the task's date, "To-do task" or "Non date task"
    std::string what;   // notes text, lines joined by linesToText
    std::string notes;  // completion notes text, the same way
};

// The six header texts in row 0, widening a table that has fewer columns.
void setCompletedHeaders(CellTable& table);

// Inserts the record at row 1 (the row is reused when cell (0, 1) is empty), writes the
// six columns and saves the table to `path`. The completion date is in the short date
// format, the time in the long time format without seconds. When the save fails the record
// stays in the table.
Status recordCompletedTask(CellTable& table, const std::string& path, const CompletedTask& task,
                           const FormatSettings& fs);

// Removes a record. The last one leaves its row behind, emptied, so the next completion
// and the panes always have a data row to write into.
void deleteCompletedRecord(CellTable& table, int row);
// Clears every record: the header row and one empty row remain.
void clearCompletedRecords(CellTable& table);
// The panes' texts, one line per entry, written back into the record's What and Comp Notes.
void writeBackCompletedPanes(CellTable& table, int row, const std::vector<std::string>& what,
                             const std::vector<std::string>& notes);
// One pane's text into its column (What or Comp Notes) of a record; nothing for no record.
void writeBackCompletedText(CellTable& table, int row, int column,
                            const std::vector<std::string>& lines);

// Two "Comp Date" texts in date order: read in the short date format they were written in.
// A text that is no date sorts before every date, and such texts among themselves as text.
int compareCompletionDates(const std::string& a, const std::string& b, const FormatSettings& fs,
                           int currentYear);
// The table sorts its "Comp Date" column by compareCompletionDates. The format settings and
// the clock must outlive the table's sorting.
void sortCompletionDatesAsDates(CellTable& table, const FormatSettings& fs, const Clock& clock);

// The window's column widths for a table `tableWidth` pixels wide: "Comp Date" 70, "Time"
// 62, "Category" 58, "Orig Date" 128 (at 96 dots per inch, scaled by `dpi`), and "What"
// and "Comp Notes" sharing the rest less the scroll bar (when shown), the frame and 6.
std::vector<int> completedColumnWidths(int tableWidth, int scrollBarWidth, int frameWidth, int dpi);

// The completed tasks table with its file, held for the whole run.
class CompletedTasks {
public:
    // A new table: the header row and one empty row, at the creation widths.
    explicit CompletedTasks(std::string dataDir = {});

    CellTable& table() { return table_; }
    const CellTable& table() const { return table_; }
    const std::string& dataDir() const { return dataDir_; }
    std::string path() const;

    // Loads the file when it exists, then rewrites the headers. A damaged file is kept
    // aside (so no later save destroys it) and answered as the failure; the table stays
    // empty.
    Status load();
    Status save() const { return table_.saveTable(path()); }
    Status add(const CompletedTask& task, const FormatSettings& fs) {
        return recordCompletedTask(table_, path(), task, fs);
    }

private:
    std::string dataDir_;
    CellTable table_;
};

} // namespace dw
