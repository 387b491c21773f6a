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
class TfrmReschedule : public QDialog {
    Q_OBJECT
public:
    TfrmReschedule(const FormatSettings& fs, const Clock& clock, DateSerial start,
                   QWidget* parent = nullptr);

    // The chosen date (whole days).
    DateSerial date() const;
    void setDate(DateSerial d);

    ShadowLabel* lblTitle = nullptr;
    QLabel* lblDate = nullptr;
    QDateEdit* date1 = nullptr;
    QLabel* lblDate2 = nullptr;
    QPushButton* btOK = nullptr;
    QPushButton* btCancel = nullptr;

protected:
    void showEvent(QShowEvent* e) override;

private:
    void date1Change();

    const FormatSettings& fs_;
    const Clock& clock_;
};

} // namespace dw
