#include "app/holidays/holiday_editor_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

namespace dw {

namespace {

constexpr int kNameMaxChars = 30;

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

QComboBox* listCombo(const char* name, QWidget* parent) {
    auto* combo = new QComboBox(parent);
    combo->setObjectName(name);
    combo->setEditable(false);
    return combo;
}

// Selects the list's n-th entry (1-based); 0 leaves nothing chosen and shows the row's own
// text in its place.
void choose(QComboBox* combo, int n, const std::string& ownText) {
    combo->setPlaceholderText(q(ownText));
    combo->setCurrentIndex(n >= 1 && n <= combo->count() ? n - 1 : -1);
}

int chosen(const QComboBox* combo) {
    return combo->currentIndex() + 1;
}

} // namespace

HolidayEditorDialog::HolidayEditorDialog(const FormatSettings& fs, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle("Edit Holiday");

    nameEdit_ = new QLineEdit(this);
    nameEdit_->setObjectName("nameEdit");
    nameEdit_->setMaxLength(kNameMaxChars);
    auto* nameLabel = new QLabel("&Holiday name", this);
    nameLabel->setBuddy(nameEdit_);

    monthCombo_ = listCombo("monthCombo", this);
    for (const std::string& month : fs.longMonthNames)
        monthCombo_->addItem(q(month));
    auto* monthLabel = new QLabel("&Month", this);
    monthLabel->setBuddy(monthCombo_);

    specificRadio_ = new QRadioButton("&Specific day of month", this);
    specificRadio_->setObjectName("specificRadio");
    floatingRadio_ = new QRadioButton("&Floating day of month", this);
    floatingRadio_->setObjectName("floatingRadio");
    specificRadio_->setChecked(true);

    dayCombo_ = listCombo("dayCombo", this);
    ordinalCombo_ = listCombo("ordinalCombo", this);
    for (const std::string& word : ordinalWords())
        ordinalCombo_->addItem(q(word));
    weekdayCombo_ = listCombo("weekdayCombo", this);
    for (const std::string& day : fs.longDayNames)
        weekdayCombo_->addItem(q(day));

    okButton_ = new QPushButton("OK", this);
    okButton_->setObjectName("okButton");
    okButton_->setDefault(true);
    cancelButton_ = new QPushButton("Cancel", this);
    cancelButton_->setObjectName("cancelButton");
    cancelButton_->setAutoDefault(false);
    connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);

    auto* fields = new QGridLayout;
    fields->addWidget(nameLabel, 0, 0);
    fields->addWidget(nameEdit_, 0, 1, 1, 2);
    fields->addWidget(monthLabel, 1, 0);
    fields->addWidget(monthCombo_, 1, 1);
    fields->addWidget(specificRadio_, 2, 0, 1, 2);
    fields->addWidget(dayCombo_, 2, 2);
    fields->addWidget(floatingRadio_, 3, 0, 1, 2);
    auto* floatingLists = new QHBoxLayout;
    floatingLists->addWidget(ordinalCombo_);
    floatingLists->addWidget(weekdayCombo_);
    fields->addLayout(floatingLists, 4, 1, 1, 2);
    fields->setColumnStretch(1, 1);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(okButton_, QDialogButtonBox::AcceptRole);
    buttons->addButton(cancelButton_, QDialogButtonBox::RejectRole);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addStretch();
    layout->addWidget(buttons);

    connect(monthCombo_, &QComboBox::currentIndexChanged, this, [this] { fillDayList(); });
    connect(specificRadio_, &QRadioButton::toggled, this, [this] { applyRuleKind(); });
    connect(floatingRadio_, &QRadioButton::toggled, this, [this] { applyRuleKind(); });

    // Measured while every list is there, so that either rule's lists fit.
    setFixedSize(sizeHint().expandedTo(QSize(360, 0)));
    setDraft(newHolidayDraft(1, 1));
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void HolidayEditorDialog::setDraft(const HolidayDraft& draft) {
    base_ = draft;
    // A longer name, imported or from a file, is kept whole; the limit is for typing.
    nameEdit_->setMaxLength(std::max(kNameMaxChars, static_cast<int>(q(draft.name).size())));
    nameEdit_->setText(q(draft.name));
    choose(monthCombo_, draft.month, draft.ownMonthText);
    dayCombo_->clear();
    for (const std::string& day : dayListOfMonth(draft.month))
        dayCombo_->addItem(q(day));
    choose(dayCombo_, draft.day, draft.ownDayText);
    choose(ordinalCombo_, draft.ordinal, draft.ownOrdinalText);
    choose(weekdayCombo_, draft.weekday, draft.ownWeekdayText);
    (draft.floating ? floatingRadio_ : specificRadio_)->setChecked(true);
    applyRuleKind();
}

HolidayDraft HolidayEditorDialog::draft() const {
    HolidayDraft d = base_;
    d.name = nameEdit_->text().toStdString();
    d.month = chosen(monthCombo_);
    d.floating = floatingRadio_->isChecked();
    d.day = chosen(dayCombo_);
    d.ordinal = chosen(ordinalCombo_);
    d.weekday = chosen(weekdayCombo_);
    return d;
}

void HolidayEditorDialog::fillDayList() {
    const int position = dayCombo_->currentIndex();
    dayCombo_->clear();
    for (const std::string& day : dayListOfMonth(chosen(monthCombo_)))
        dayCombo_->addItem(q(day));
    dayCombo_->setCurrentIndex(std::min(position, dayCombo_->count() - 1));
}

void HolidayEditorDialog::applyRuleKind() {
    const bool floating = floatingRadio_->isChecked();
    dayCombo_->setVisible(!floating);
    ordinalCombo_->setVisible(floating);
    weekdayCombo_->setVisible(floating);
}

} // namespace dw
