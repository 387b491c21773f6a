#pragma once

#include "core/dates/format_settings.h"
#include "core/store/cell_table.h"

#include <optional>
#include <string>
#include <vector>

namespace dw {

// Columns of the print table.
namespace PrintCol {
constexpr int Date = 0, Time = 1, Category = 2, What = 3, Completed = 4, Alarm = 5, Count = 6;
}

// Which tasks the print window admits. One object for the whole run: the choices made for
// printing stay for clearing and for the "Daily Tasks" export, and the other way round.
struct PrintSelection {
    bool allDates = true; // off: only dates from `fromDate` through `toDate`
    int fromDate = 0;     // whole days, both ends included
    int toDate = 0;
    bool byCategory = false;             // only tasks whose category is exactly one of `categories`
    std::vector<std::string> categories; // the window chooses one; scripts may name several
    bool done = true;                    // dated tasks whose done flag is "Yes"
    bool notDone = true;                 // dated tasks whose done flag is anything else
    bool todo = true;                    // to-do tasks

    // A selection that starts on today's date for both ends of the range.
    static PrintSelection startingOn(int today) {
        PrintSelection s;
        s.fromDate = today;
        s.toDate = today;
        return s;
    }
};

// Whether a dated task on `date` (whole days) with these flag and category texts is admitted.
bool okToPrintDateTask(const PrintSelection& sel, int date, const std::string& done,
                       const std::string& category);
// The same for a to-do task.
bool okToPrintNonDateTask(const PrintSelection& sel, const std::string& category);

// Why the print window cannot accept its choices, and the control that gets the focus.
struct SelectionProblem {
    enum class Field { NotDone, ToDate, Category };
    Field field;
    std::string message;
};
std::optional<SelectionProblem> checkPrintSelection(const PrintSelection& sel);

// The print window's category choices: category.xxx's entries with the second one chosen,
// or, without entries, the four built-in categories with none chosen (-1).
struct CategoryChoices {
    std::vector<std::string> entries;
    int chosen = -1;
};
CategoryChoices printCategoryChoices(const std::string& dataDir);

// The print table with its header row and no data rows.
CellTable makePrintTable();

// Rebuilds the print table from the dated task store: the header row, then every admitted
// dated task in store order, its date in the short date format.
void transferToPrintTable(CellTable& print, const CellTable& gridStore, const PrintSelection& sel,
                          const FormatSettings& fs);
// Appends every admitted to-do task after the dated rows, "To-do" in the Date column.
void appendTodoToPrintTable(CellTable& print, const CellTable& gridNonday,
                            const PrintSelection& sel);

} // namespace dw
