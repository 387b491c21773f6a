#pragma once

#include "core/dates/clock.h"
#include "core/dates/format_settings.h"
#include "core/store/cell_table.h"

#include <string>
#include <string_view>
#include <vector>

namespace dw {

// The folder and the file name with one separator between them.
std::string joinPath(const std::string& dir, const std::string& name);

// A decimal number written with "." as the decimal point; 0 when the text is no number.
double numberOfText(std::string_view text, const FormatSettings& fs);

// The time of day written in the locale's time format, as a fraction of a day. A text that
// is no valid time reads as the current date and time, so it sorts after every valid time.
double timeOfText(std::string_view text, const FormatSettings& fs, const Clock& clock);

// Flags in table cells.
inline const char* yesNo(bool flag) {
    return flag ? "Yes" : "No";
}
inline bool isYes(std::string_view text) {
    return text == "Yes";
}

// True for the empty text and for one made only of spaces, CRs, LFs and backspaces.
bool isBlankText(std::string_view text);

// The text before the first CR LF.
std::string firstLine(std::string_view text);

// A multi-line text as one cell text: with two or more lines every line ends with CR LF.
std::string linesToText(const std::vector<std::string>& lines);
// Cuts a cell text at each CR LF into lines.
void textToLines(std::string_view text, std::vector<std::string>& lines);
// Removes every CR LF; the rest, when not empty, is the only line.
void textToSingleLine(std::string_view text, std::vector<std::string>& lines);

// Every cell of the data rows becomes empty; the row count stays.
void clearDataRows(CellTable& table);
// The lowest data row whose column 0 is empty, appending one when there is none.
int firstFreeRow(CellTable& table);
// The data row holding exactly these cells: `preferred` when it does (a selected row), else
// the first such row, else -1. Finds a row again after a sort has moved it.
int rowHolding(const CellTable& table, const std::vector<std::string>& cells, int preferred);
// A row leaves its table: a table with one data row keeps it, emptied.
void takeRowOut(CellTable& table, int row);

// Loads a table file when it exists (a missing file is no error and leaves the table as
// it is; a folder or an unreadable file under its name is an error). When the file cannot
// be loaded, a copy of it is kept aside (keepDamagedCopy) and the TableFileError that goes
// on to the caller names the copy; when no copy can be made, or a folder stands in the
// file's place, the file is never saved during this run (save_guard.h) and the message
// says so. Callers that never save after
// a failure (the command line) pass keepDamaged = false.
void loadTableIfPresent(CellTable& table, const std::string& path, bool keepDamaged = true);

} // namespace dw
