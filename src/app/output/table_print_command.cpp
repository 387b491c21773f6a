#include "app/output/table_print_command.h"

#include "print/table_printer.h"

#include <QPrintDialog>
#include <QPrinter>

namespace dw {

namespace {

PrinterChooser& chooser() {
    static PrinterChooser c;
    return c;
}

bool askForPrinter(QPrinter& printer, QWidget* parent) {
    if (chooser())
        return chooser()(printer, parent);
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace

void setPrinterChooser(PrinterChooser c) {
    chooser() = std::move(c);
}

bool printTableWithDialog(QWidget* parent, const CellTable& table, const PrintLayout& layout,
                          const FormatSettings& fs, const Clock& clock, Prompts& prompts) {
    QPrinter printer(QPrinter::HighResolution);
    applyPageLayout(printer, layout);
    if (!askForPrinter(printer, parent))
        return false;
    if (printTable(printer, table, layout, fs, clock) == 0) {
        const QString where =
            printer.outputFileName().isEmpty() ? printer.printerName() : printer.outputFileName();
        prompts.error("Could not print on " + where.toStdString());
        return false;
    }
    return true;
}

} // namespace dw
