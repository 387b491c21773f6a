#pragma once

#include "core/dates/clock.h"
#include "core/dates/date_serial.h"
#include "core/dates/format_settings.h"

#include <QDialog>

class QDateEdit;
class QLabel;
class QPushButton;

namespace dw {

class ShadowLabel;

// Picks the date a task moves to; the label under the date names its weekday and how far
// it lies from today.
class RescheduleDialog : public QDialog {
    Q_OBJECT
public:
    RescheduleDialog(const FormatSettings& fs, const Clock& clock, DateSerial start,
                     QWidget* parent = nullptr);

    // The chosen date (whole days).
    DateSerial date() const;
    void setDate(DateSerial d);

    ShadowLabel* titleCaption() const { return titleCaption_; }
    QLabel* dateLabel() const { return dateLabel_; }
    QDateEdit* dateEdit() const { return dateEdit_; }
    QLabel* weekdayLabel() const { return weekdayLabel_; }
    QPushButton* okButton() const { return okButton_; }
    QPushButton* cancelButton() const { return cancelButton_; }

protected:
    void showEvent(QShowEvent* e) override;

private:
    void onDateEdited();

    const FormatSettings& fs_;
    const Clock& clock_;
    ShadowLabel* titleCaption_ = nullptr;
    QLabel* dateLabel_ = nullptr;
    QDateEdit* dateEdit_ = nullptr;
    QLabel* weekdayLabel_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
};

} // namespace dw
