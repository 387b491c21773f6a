#pragma once

#include "core/dates/format_settings.h"
#include "core/holidays/holiday_table.h"

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace dw {

// "Edit Holiday": one holiday's name, month and either a specific day of the month or a
// floating weekday (the first to fourth or last of the month). A piece the row had that the
// lists do not offer (a month or weekday in another language, a hand-edited day) shows as
// the row's own text and stays as it was unless the user chooses another.
class HolidayEditorDialog : public QDialog {
    Q_OBJECT
public:
    explicit HolidayEditorDialog(const FormatSettings& fs, QWidget* parent = nullptr);

    void setDraft(const HolidayDraft& draft);
    HolidayDraft draft() const;

    QLineEdit* nameEdit() const { return nameEdit_; }
    QComboBox* monthCombo() const { return monthCombo_; }
    QRadioButton* specificRadio() const { return specificRadio_; }
    QRadioButton* floatingRadio() const { return floatingRadio_; }
    QComboBox* dayCombo() const { return dayCombo_; }
    QComboBox* ordinalCombo() const { return ordinalCombo_; }
    QComboBox* weekdayCombo() const { return weekdayCombo_; }
    QPushButton* okButton() const { return okButton_; }
    QPushButton* cancelButton() const { return cancelButton_; }

private:
    // The days of the chosen month; the chosen day stays, or becomes the month's last.
    void fillDayList();
    // Only the chosen kind of rule shows its lists.
    void applyRuleKind();

    HolidayDraft base_; // the row's own texts
    QLineEdit* nameEdit_ = nullptr;
    QComboBox* monthCombo_ = nullptr;
    QRadioButton* specificRadio_ = nullptr;
    QRadioButton* floatingRadio_ = nullptr;
    QComboBox* dayCombo_ = nullptr;
    QComboBox* ordinalCombo_ = nullptr;
    QComboBox* weekdayCombo_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
};

} // namespace dw
