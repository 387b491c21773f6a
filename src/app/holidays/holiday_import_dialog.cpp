#include "app/holidays/holiday_import_dialog.h"

#include "app/shell/app_prompts.h"
#include "app/widgets/tab_stop_delegate.h"
#include "core/holidays/holiday_sets.h"
#include "core/holidays/holiday_table.h"
#include "core/store/helpers.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>

namespace dw {

HolidayImportDialog::HolidayImportDialog(const FormatSettings& fs, std::string holidayPath,
                                         Prompts& prompts, QWidget* parent)
    : QDialog(parent), fs_(fs), path_(std::move(holidayPath)), prompts_(prompts),
      table_(makeHolidayTable()) {
    setWindowTitle("Import International Holidays");

    countryList_ = new QListWidget(this);
    countryList_->setObjectName("countryList");
    countryList_->setSelectionMode(QAbstractItemView::SingleSelection);
    for (const std::string_view country : builtInHolidayCountries())
        countryList_->addItem(QString::fromUtf8(country.data(), static_cast<int>(country.size())));
    countryList_->setMinimumWidth(150);

    holidayList_ = new QListWidget(this);
    holidayList_->setObjectName("holidayList");
    holidayList_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    holidayList_->setItemDelegate(new TabStopDelegate(60, holidayList_));
    holidayList_->setMinimumSize(460, 300);

    auto* hint = new QLabel("Hint: Drag mouse or Ctrl-Click to select multiple entries", this);

    okButton_ = new QPushButton("OK", this);
    okButton_->setObjectName("okButton");
    okButton_->setDefault(true);
    closeButton_ = new QPushButton("Close", this);
    closeButton_->setObjectName("closeButton");
    closeButton_->setAutoDefault(false);
    connect(okButton_, &QPushButton::clicked, this, &HolidayImportDialog::addSelected);
    connect(closeButton_, &QPushButton::clicked, this, &QDialog::reject);
    connect(countryList_, &QListWidget::currentRowChanged, this,
            &HolidayImportDialog::fillHolidays);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(okButton_, QDialogButtonBox::AcceptRole);
    buttons->addButton(closeButton_, QDialogButtonBox::RejectRole);
    auto* layout = new QGridLayout(this);
    layout->addWidget(countryList_, 0, 0);
    layout->addWidget(holidayList_, 0, 1);
    layout->addWidget(hint, 1, 0, 1, 2);
    layout->addWidget(buttons, 2, 0, 1, 2);

    // Australia first; the dialog's copy of the holiday table.
    countryList_->setCurrentRow(0);
    try {
        loadTableIfPresent(table_, path_);
    } catch (const TableFileError& e) {
        prompts_.error(e.what());
    }

    setFixedSize(sizeHint());
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void HolidayImportDialog::fillHolidays() {
    holidayList_->clear();
    for (const std::string& line : countryHolidayLines(countryList_->currentRow(), fs_))
        holidayList_->addItem(QString::fromStdString(line));
}

void HolidayImportDialog::addSelected() {
    std::vector<int> chosen;
    for (int i = 0; i < holidayList_->count(); ++i)
        if (holidayList_->item(i)->isSelected())
            chosen.push_back(i);
    if (chosen.empty()) {
        prompts_.error("Nothing selected!  Click on holiday(s) above to select.");
        return;
    }
    // Added to a copy, so that a failed save adds nothing twice when tried again.
    CellTable next = table_;
    importHolidays(next, countryList_->currentRow(), chosen, fs_);
    if (showErrors(prompts_, next.saveTable(path_)))
        return;
    table_ = std::move(next);
    accept();
}

} // namespace dw
