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

RescheduleDialog::RescheduleDialog(const FormatSettings& fs, const Clock& clock, DateSerial start,
                                   QWidget* parent)
    : QDialog(parent), fs_(fs), clock_(clock) {
    setWindowTitle("Reschedule Task");

    titleCaption = new ShadowLabel("Reschedule Task", this);
    titleCaption->setObjectName("titleCaption");
    QFont titleFont = titleCaption->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.6);
    titleFont.setBold(true);
    titleCaption->setFont(titleFont);

    dateEdit = new QDateEdit(this);
    dateEdit->setObjectName("dateEdit");
    dateEdit->setCalendarPopup(true);
    dateEdit->setDisplayFormat(qtDisplayFormat(fs.shortDateFormat));
    dateEdit->setMinimumDate(QDate(1753, 1, 1));
    dateLabel = new QLabel("Date", this);
    dateLabel->setObjectName("dateLabel");
    dateLabel->setBuddy(dateEdit);
    weekdayLabel = new QLabel(this);
    weekdayLabel->setObjectName("weekdayLabel");

    okButton = new QPushButton("OK", this);
    okButton->setObjectName("okButton");
    cancelButton = new QPushButton("Cancel", this);
    cancelButton->setObjectName("cancelButton");
    okButton->setDefault(true);
    cancelButton->setAutoDefault(false);
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);

    auto* fields = new QGridLayout;
    fields->addWidget(dateLabel, 0, 0);
    fields->addWidget(dateEdit, 0, 1);
    fields->addWidget(weekdayLabel, 1, 1);
    fields->setColumnStretch(1, 1);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(okButton, QDialogButtonBox::AcceptRole);
    buttons->addButton(cancelButton, QDialogButtonBox::RejectRole);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(titleCaption);
    layout->addLayout(fields);
    layout->addStretch();
    layout->addWidget(buttons);

    connect(dateEdit, &QDateEdit::dateChanged, this, &RescheduleDialog::onDateEdited);
    setDate(start);
    onDateEdited(); // also when the start date is the field's own default
    dateEdit->setFocus();
    setMinimumWidth(320);
}

DateSerial RescheduleDialog::date() const {
    return serialOfQDate(dateEdit->date());
}

void RescheduleDialog::setDate(DateSerial d) {
    dateEdit->setDate(toQDate(d));
}

void RescheduleDialog::showEvent(QShowEvent* e) {
    // "Today" may have moved on since the dialog was made.
    onDateEdited();
    QDialog::showEvent(e);
}

void RescheduleDialog::onDateEdited() {
    const DateSerial d = date();
    weekdayLabel->setText(QString::fromStdString(formatDateTime("dddd", d, fs_) + " : " +
                                                 relativeDateText(d, clock_)));
}

} // namespace dw
