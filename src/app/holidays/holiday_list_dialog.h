#pragma once

#include "core/dates/clock.h"
#include "core/dates/format_settings.h"
#include "core/output/print_layout.h"
#include "core/prompts/prompts.h"
#include "core/store/cell_table.h"

#include <QDialog>
#include <functional>
#include <string>

class QPushButton;

namespace dw {

class CellGrid;

// Prints a table with a page layout (the print dialog is the printer's).
using TablePrinter = std::function<void(const CellTable&, const PrintLayout&)>;

// "Holidays": the holiday table in its own copy, read from holiday.grd when the dialog is
// made. Add, edit (also a double click), delete, reorder by dragging, print, and the
// international sets. "Close" and the Escape key save the copy and close; the title bar's
// close button discards what was changed since the last save.
class HolidayListDialog : public QDialog {
    Q_OBJECT
public:
    HolidayListDialog(const FormatSettings& fs, const Clock& clock, std::string holidayPath,
                      bool confirmDeletes, Prompts& prompts, QWidget* parent = nullptr);
    ~HolidayListDialog() override;

    void setPrinter(TablePrinter printer) { printer_ = std::move(printer); }

    CellTable& table() { return table_; }
    CellGrid* grid() const { return grid_; }
    QPushButton* addButton() const { return addButton_; }
    QPushButton* editButton() const { return editButton_; }
    QPushButton* deleteButton() const { return deleteButton_; }
    QPushButton* importButton() const { return importButton_; }
    QPushButton* printButton() const { return printButton_; }
    QPushButton* helpButton() const { return helpButton_; }
    QPushButton* closeButton() const { return closeButton_; }

    void addHoliday();
    void editHoliday();
    void deleteHoliday();
    // The dragged selected row is dropped on row `row`.
    void dropOnRow(int row);
    void printHolidays();
    // Saves the copy, lets the import dialog add to the file, then reads the file again.
    void importHolidays();
    // Saves the copy and closes; a copy that cannot be saved keeps the dialog open.
    void saveAndClose();

    // Whether the copy holds changes not saved yet, or the international sets are open
    // (they save their own copy): then the file must not change under the dialog.
    bool busyWithChanges() const;
    // Shows holiday.grd again after something else added to it.
    void reloadFile();

protected:
    void keyPressEvent(QKeyEvent* e) override;

private:
    void loadFile();
    void showTable(int selectRow);

    const FormatSettings& fs_;
    const Clock& clock_;
    std::string path_;
    bool confirmDeletes_;
    Prompts& prompts_;
    TablePrinter printer_;
    CellTable table_;
    bool unsaved_ = false;
    CellGrid* grid_ = nullptr;
    QPushButton* addButton_ = nullptr;
    QPushButton* editButton_ = nullptr;
    QPushButton* deleteButton_ = nullptr;
    QPushButton* importButton_ = nullptr;
    QPushButton* printButton_ = nullptr;
    QPushButton* helpButton_ = nullptr;
    QPushButton* closeButton_ = nullptr;
};

} // namespace dw
