#pragma once

#include "core/dates/clock.h"
#include "core/dates/format_settings.h"
#include "core/output/print_layout.h"
#include "core/prompts/prompts.h"
#include "core/store/cell_table.h"

#include <functional>

class QPrinter;
class QWidget;

namespace dw {

// Shows the print dialog and, when it is confirmed, prints the whole table on the chosen
// printer with the layout (printing to a PDF file is one of the dialog's printers). The
// dialog opens in the layout's orientation on the printer's own paper. False when
// cancelled or when the printer could not be used (that is reported).
bool printTableWithDialog(QWidget* parent, const CellTable& table, const PrintLayout& layout,
                          const FormatSettings& fs, const Clock& clock, Prompts& prompts);

// Chooses and sets up the printer; true to print. The print dialog unless replaced (tests
// print to a PDF file instead); an empty chooser brings the dialog back.
using PrinterChooser = std::function<bool(QPrinter& printer, QWidget* parent)>;
void setPrinterChooser(PrinterChooser chooser);

} // namespace dw
