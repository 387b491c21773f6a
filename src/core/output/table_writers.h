#pragma once

#include "core/common/status.h"
#include "core/store/cell_table.h"

#include <string>
#include <string_view>

namespace dw {

// The header cells' colour in an HTML table, as six hexadecimal digits red, green, blue:
// the classic active-border grey, the same on every platform so that exports compare.
inline constexpr std::string_view kHtmlHeaderColor = "D4D0C8";

// A text made safe for HTML: &, <, > and " become entities.
std::string escapeHtml(std::string_view text);
// A cell text as HTML: escaped, every CR written as "<br>" (a LF after it stays), and
// "<br>" for a text that comes out empty.
std::string htmlCellText(std::string_view text);

// The whole table as an HTML fragment, lines ended by CR LF: a bordered table whose header
// row is bold on `headerColor`, one row per data row.
std::string htmlTableText(const CellTable& table, std::string_view headerColor = kHtmlHeaderColor);

// The whole table as comma-delimited text (RFC 4180): one line per row ended by CR LF; an
// empty cell is "", a cell holding a comma, a double quote, CR or LF is enclosed in double
// quotes with its inner quotes doubled, anything else is written bare.
std::string commaDelimitedText(const CellTable& table);

// Writes the table to a file, replacing any file of that name. A file that cannot be
// created fails with "Cannot create file NAME".
Status writeHtmlTable(const CellTable& table, const std::string& path);
Status writeCommaDelimited(const CellTable& table, const std::string& path);

// Writes an output file (export, web page), failing as the writers above do.
Status writeOutputFile(const std::string& path, const std::string& text);

} // namespace dw
