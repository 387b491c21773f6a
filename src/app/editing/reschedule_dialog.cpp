#include "app/editing/reschedule_dialog.h"

#include "app/editing/date_fields.h"
#include "app/widgets/shadow_label.h"
#include "core/editing/reschedule_text.h"

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

    titleCaption_ = new ShadowLabel("Reschedule Task", this);
    titleCaption_->setObjectName("titleCaption");
    QFont titleFont = titleCaption_->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.6);
    titleFont.setBold(true);
    titleCaption_->setFont(titleFont);

    dateEdit_ = new QDateEdit(this);
    dateEdit_->setObjectName("dateEdit");
    dateEdit_->setCalendarPopup(true);
    dateEdit_->setDisplayFormat(qtDisplayFormat(fs.shortDateFormat));
    dateEdit_->setMinimumDate(QDate(1753, 1, 1));
    dateLabel_ = new QLabel("Date", this);
    dateLabel_->setObjectName("dateLabel");
    dateLabel_->setBuddy(dateEdit_);
    weekdayLabel_ = new QLabel(this);
    weekdayLabel_->setObjectName("weekdayLabel");

    okButton_ = new QPushButton("OK", this);
    okButton_->setObjectName("okButton");
    cancelButton_ = new QPushButton("Cancel", this);
    cancelButton_->setObjectName("cancelButton");
    okButton_->setDefault(true);
    cancelButton_->setAutoDefault(false);
    connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);

    auto* fields = new QGridLayout;
    fields->addWidget(dateLabel_, 0, 0);
    fields->addWidget(dateEdit_, 0, 1);
    fields->addWidget(weekdayLabel_, 1, 1);
    fields->setColumnStretch(1, 1);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(okButton_, QDialogButtonBox::AcceptRole);
    buttons->addButton(cancelButton_, QDialogButtonBox::RejectRole);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(titleCaption_);
    layout->addLayout(fields);
    layout->addStretch();
    layout->addWidget(buttons);

    connect(dateEdit_, &QDateEdit::dateChanged, this, &RescheduleDialog::onDateEdited);
    setDate(start);
    onDateEdited(); // also when the start date is the field's own default
    dateEdit_->setFocus();
    setMinimumWidth(320);
}

DateSerial RescheduleDialog::date() const {
    return serialOfQDate(dateEdit_->date());
}

void RescheduleDialog::setDate(DateSerial d) {
    dateEdit_->setDate(toQDate(d));
}

void RescheduleDialog::showEvent(QShowEvent* e) {
    // "Today" may have moved on since the dialog was made.
    onDateEdited();
    QDialog::showEvent(e);
}

void RescheduleDialog::onDateEdited() {
    weekdayLabel_->setText(QString::fromStdString(rescheduleDateText(date(), fs_, clock_)));
}

} // namespace dw
