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

    ShadowLabel* titleCaption = nullptr;
    QLabel* dateLabel = nullptr;
    QDateEdit* dateEdit = nullptr;
    QLabel* weekdayLabel = nullptr;
    QPushButton* okButton = nullptr;
    QPushButton* cancelButton = nullptr;

protected:
    void showEvent(QShowEvent* e) override;

private:
    void onDateEdited();

    const FormatSettings& fs_;
    const Clock& clock_;
};

} // namespace dw
