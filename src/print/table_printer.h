#pragma once

#include "core/dates/clock.h"
#include "core/dates/format_settings.h"
#include "core/output/print_layout.h"
#include "core/store/cell_table.h"

#include <string>

class QPagedPaintDevice;

namespace dw {

// Sets the device's orientation from the layout; the printer keeps its own paper and
// margins. Call before printTable.
void applyPageLayout(QPagedPaintDevice& device, const PrintLayout& layout);

// Prints the whole table, header row included, with the layout: the title, print date and
// print time (from `clock`, in the short formats of `fs`) in the page header or footer,
// the table between the margins, fitted to the width as the layout says, its header row
// on every page and its rows broken across pages. Multi-line cells print every line; no
// borders. The device is a printer or a PDF writer whose orientation is already set.
// Returns the number of pages printed, 0 when the device could not be painted on.
int printTable(QPagedPaintDevice& device, const CellTable& table, const PrintLayout& layout,
               const FormatSettings& fs, const Clock& clock);

// Prints the table to a PDF file on A4 paper. The number of pages, 0 when the file could
// not be written.
int printTableToPdf(const std::string& path, const CellTable& table, const PrintLayout& layout,
                    const FormatSettings& fs, const Clock& clock);

} // namespace dw
