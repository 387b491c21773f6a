#include "app/editing/reschedule_dialog.h"

#include "app/editing/date_fields.h"
#include "app/widgets/shadow_label.h"
#include "core/calendar/relative_date.h"
#include "core/dates/date_format.h"

#include <QDateEdit>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace dw {

TfrmReschedule::TfrmReschedule(const FormatSettings& fs, const Clock& clock, DateSerial start,
                               QWidget* parent)
    : QDialog(parent), fs_(fs), clock_(clock) {
    setWindowTitle("Reschedule Task");

    lblTitle = new ShadowLabel("Reschedule Task", this);
    lblTitle->setObjectName("lblTitle");
    QFont titleFont = lblTitle->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.6);
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);

    date1 = new QDateEdit(this);
    date1->setObjectName("date1");
    date1->setCalendarPopup(true);
    date1->setDisplayFormat(qtDisplayFormat(fs.shortDateFormat));
    date1->setMinimumDate(QDate(1753, 1, 1));
    lblDate = new QLabel("Date", this);
    lblDate->setObjectName("lblDate");
    lblDate->setBuddy(date1);
    lblDate2 = new QLabel(this);
    lblDate2->setObjectName("lblDate2");

    btOK = new QPushButton("OK", this);
    btOK->setObjectName("btOK");
    btCancel = new QPushButton("Cancel", this);
    btCancel->setObjectName("btCancel");
    btOK->setDefault(true);
    btCancel->setAutoDefault(false);
    connect(btOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(btCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* fields = new QGridLayout;
    fields->addWidget(lblDate, 0, 0);
    fields->addWidget(date1, 0, 1);
    fields->addWidget(lblDate2, 1, 1);
    fields->setColumnStretch(1, 1);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(btOK, QDialogButtonBox::AcceptRole);
    buttons->addButton(btCancel, QDialogButtonBox::RejectRole);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblTitle);
    layout->addLayout(fields);
    layout->addStretch();
    layout->addWidget(buttons);

    connect(date1, &QDateEdit::dateChanged, this, &TfrmReschedule::date1Change);
    setDate(start);
    date1Change(); // also when the start date is the field's own default
    date1->setFocus();
    setMinimumWidth(320);
}

DateSerial TfrmReschedule::date() const {
    return serialOfQDate(date1->date());
}

void TfrmReschedule::setDate(DateSerial d) {
    date1->setDate(toQDate(d));
}

void TfrmReschedule::showEvent(QShowEvent* e) {
    // "Today" may have moved on since the dialog was made.
    date1Change();
    QDialog::showEvent(e);
}

void TfrmReschedule::date1Change() {
    const DateSerial d = date();
    lblDate2->setText(QString::fromStdString(formatDateTime("dddd", d, fs_) + " : " +
                                             relativeDateText(d, clock_)));
}

} // namespace dw
