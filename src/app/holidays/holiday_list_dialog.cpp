#include "app/holidays/holiday_list_dialog.h"

#include "app/holidays/holiday_editor_dialog.h"
#include "app/holidays/holiday_import_dialog.h"
#include "app/shell/app_prompts.h"
#include "app/shell/help_window.h"
#include "app/widgets/cell_grid.h"
#include "app/widgets/dialog_frame.h"
#include "core/dates/date_serial.h"
#include "core/holidays/holiday_rules.h"
#include "core/holidays/holiday_table.h"
#include "core/store/file_io.h"
#include "core/store/helpers.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>

namespace dw {

HolidayListDialog::HolidayListDialog(const FormatSettings& fs, const Clock& clock,
                                     std::string holidayPath, bool confirmDeletes, Prompts& prompts,
                                     QWidget* parent)
    : QDialog(parent), fs_(fs), clock_(clock), path_(std::move(holidayPath)),
      confirmDeletes_(confirmDeletes), prompts_(prompts), table_(makeHolidayTable()) {
    setWindowTitle("Holidays");
    loadFile();

    grid_ = new CellGrid(table_, this);
    grid_->setObjectName("holidayGrid");
    // The rows keep the user's order: no sort mark, no sorting.
    grid_->horizontalHeader()->setSortIndicatorShown(false);
    grid_->setRowDragDrop(true);
    int width = 0;
    for (int col = 0; col < table_.colCount(); ++col)
        width += grid_->columnWidth(col);
    grid_->setMinimumSize(width + 2 * grid_->frameWidth() + 20, 300);

    auto button = [this](const char* name, const char* caption) {
        return dialogButton(this, name, caption);
    };
    addButton_ = button("addButton", "&Add");
    editButton_ = button("editButton", "&Edit");
    deleteButton_ = button("deleteButton", "&Delete");
    importButton_ = button("importButton", "&International");
    importButton_->setToolTip("Import International holidays");
    printButton_ = button("printButton", "&Print");
    helpButton_ = button("helpButton", "&Help");
    closeButton_ = button("closeButton", "Close");

    connect(addButton_, &QPushButton::clicked, this, &HolidayListDialog::addHoliday);
    connect(editButton_, &QPushButton::clicked, this, &HolidayListDialog::editHoliday);
    connect(deleteButton_, &QPushButton::clicked, this, &HolidayListDialog::deleteHoliday);
    connect(importButton_, &QPushButton::clicked, this, &HolidayListDialog::importHolidays);
    connect(printButton_, &QPushButton::clicked, this, &HolidayListDialog::printHolidays);
    connect(helpButton_, &QPushButton::clicked, this, [] { showHelpTopic(HelpTopic::Holidays); });
    connect(closeButton_, &QPushButton::clicked, this, &HolidayListDialog::saveAndClose);
    connect(grid_, &QAbstractItemView::doubleClicked, this, &HolidayListDialog::editHoliday);
    connect(grid_, &CellGrid::rowDropped, this, [this](const QMimeData* data, int row) {
        // Only a row of this list moves within it.
        if (data && data->data(kRowDragMimeType) == grid_->objectName().toUtf8())
            dropOnRow(row);
    });

    auto* side = new QVBoxLayout;
    for (QPushButton* b :
         {addButton_, editButton_, deleteButton_, importButton_, printButton_, helpButton_})
        side->addWidget(b);
    side->addStretch();
    side->addWidget(closeButton_);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(grid_, 1);
    layout->addLayout(side);

    // Fixed size, centred on the screen.
    setFixedSize(sizeHint());
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    grid_->setFocus();
}

HolidayListDialog::~HolidayListDialog() {
    // The grid reads the table until it is gone; the table is a member, gone before the
    // dialog's own children.
    delete grid_;
}

void HolidayListDialog::loadFile() {
    try {
        loadTableIfPresent(table_, path_);
    } catch (const TableFileError& e) {
        prompts_.error(e.what());
    }
    if (table_.rowCount() < 2)
        table_.setRowCount(2);
    table_.setCanSort([](int) { return false; });
}

void HolidayListDialog::showTable(int selectRow) {
    grid_->refresh();
    grid_->selectTableRow(selectRow);
}

void HolidayListDialog::addHoliday() {
    HolidayEditorDialog editor(fs_, this);
    const CivilDate today = decodeDate(clock_.now());
    editor.setDraft(newHolidayDraft(today.month, today.day));
    if (editor.exec() != QDialog::Accepted)
        return;
    const int row = rowForNewHoliday(table_, grid_->selectedRow());
    writeHolidayDraft(table_, row, editor.draft(), fs_);
    unsaved_ = true;
    showTable(row);
}

void HolidayListDialog::editHoliday() {
    const int row = grid_->selectedRow();
    if (!isHolidayRow(table_, row)) {
        prompts_.error("Nothing to edit");
        return;
    }
    HolidayEditorDialog editor(fs_, this);
    editor.setDraft(holidayDraftOfRow(table_, row, fs_));
    if (editor.exec() != QDialog::Accepted)
        return;
    writeHolidayDraft(table_, row, editor.draft(), fs_);
    unsaved_ = true;
    showTable(row);
}

void HolidayListDialog::deleteHoliday() {
    const int row = grid_->selectedRow();
    if (row >= table_.rowCount())
        return;
    if (confirmDeletes_ &&
        !prompts_.askYesNo("Really delete \"" + table_.cell(kHolidayName, row) + "\"?", "Confirm"))
        return;
    deleteHolidayRow(table_, row);
    unsaved_ = true;
    showTable(row);
}

void HolidayListDialog::dropOnRow(int row) {
    const int from = grid_->selectedRow();
    if (row < 1 || row >= table_.rowCount() || row == from)
        return;
    moveHolidayRow(table_, from, row);
    unsaved_ = true;
    showTable(row);
}

void HolidayListDialog::printHolidays() {
    if (printer_)
        printer_(table_, holidayPrintLayout());
}

void HolidayListDialog::importHolidays() {
    // The import adds to the file; what is not saved would be lost when it is read again.
    if (showErrors(prompts_, table_.saveTable(path_)))
        return;
    unsaved_ = false;
    {
        HolidayImportDialog import(fs_, path_, prompts_, this);
        import.exec();
    }
    if (fileExists(path_))
        loadFile();
    showTable(1);
}

void HolidayListDialog::saveAndClose() {
    if (!showErrors(prompts_, table_.saveTable(path_))) {
        unsaved_ = false;
        accept();
    }
}

bool HolidayListDialog::busyWithChanges() const {
    return unsaved_ || findChild<HolidayImportDialog*>() != nullptr;
}

void HolidayListDialog::reloadFile() {
    const int row = grid_->selectedRow();
    table_ = makeHolidayTable();
    loadFile();
    unsaved_ = false;
    showTable(std::min(row, table_.rowCount() - 1));
}

void HolidayListDialog::keyPressEvent(QKeyEvent* e) {
    // Escape closes as "Close" does; only the title bar's close button discards.
    if (e->key() == Qt::Key_Escape && e->modifiers() == Qt::NoModifier) {
        saveAndClose();
        return;
    }
    QDialog::keyPressEvent(e);
}

} // namespace dw
