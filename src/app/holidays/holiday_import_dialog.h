#pragma once

#include "core/dates/format_settings.h"
#include "core/prompts/prompts.h"
#include "core/store/cell_table.h"

#include <QDialog>
#include <string>

class QListWidget;
class QPushButton;

namespace dw {

// "Import International Holidays": one country's ready-made holidays at a time; the
// selected ones are added at the top of holiday.grd when "OK" is pressed. "Close" and the
// title bar leave the file as it was.
class HolidayImportDialog : public QDialog {
    Q_OBJECT
public:
    HolidayImportDialog(const FormatSettings& fs, std::string holidayPath, Prompts& prompts,
                        QWidget* parent = nullptr);

    QListWidget* countryList() const { return countryList_; }
    QListWidget* holidayList() const { return holidayList_; }
    QPushButton* okButton() const { return okButton_; }
    QPushButton* closeButton() const { return closeButton_; }

    // The chosen country's holidays, one line each: when, a tab, the name.
    void fillHolidays();
    // Adds the selected lines and saves; with none selected, says how to select.
    void addSelected();

private:
    const FormatSettings& fs_;
    std::string path_;
    Prompts& prompts_;
    CellTable table_;
    QListWidget* countryList_ = nullptr;
    QListWidget* holidayList_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QPushButton* closeButton_ = nullptr;
};

} // namespace dw
