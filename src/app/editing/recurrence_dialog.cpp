#include "app/editing/recurrence_dialog.h"

#include "app/editing/date_fields.h"
#include "app/editing/day_of_month_grid.h"
#include "app/shell/app_prompts.h"
#include "app/widgets/tab_stop_delegate.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDateEdit>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace dw {

namespace {

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

constexpr int kDateRole = Qt::UserRole;

} // namespace

RecurrenceDialog::RecurrenceDialog(const FormatSettings& fs, const Clock& clock, TaskStore& store,
                                   Prompts& prompts, QWidget* parent)
    : QDialog(parent), fs_(fs), clock_(clock), store_(store), prompts_(prompts) {
    setObjectName("recurrenceDialog");
    setWindowTitle("Repeating event");

    auto* top = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    left->addWidget(buildRangeBox());
    left->addWidget(buildModeBox(), 1);
    top->addLayout(left, 3);
    top->addWidget(buildPreviewBox(), 2);

    previewButton = new QPushButton("&Preview Selection", this);
    previewButton->setObjectName("previewButton");
    resetButton = new QPushButton("&Reset", this);
    resetButton->setObjectName("resetButton");
    deleteButton = new QPushButton("&Delete", this);
    deleteButton->setObjectName("deleteButton");
    okButton = new QPushButton("OK", this);
    okButton->setObjectName("okButton");
    okButton->setToolTip("Add multiple reminders");
    cancelButton = new QPushButton("Cancel", this);
    cancelButton->setObjectName("cancelButton");
    for (QPushButton* b : {resetButton, deleteButton, okButton, cancelButton})
        b->setAutoDefault(false);
    previewButton->setDefault(true);
    deleteButton->setEnabled(false);
    okButton->setEnabled(false);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(previewButton);
    buttons->addWidget(resetButton);
    buttons->addWidget(deleteButton);
    buttons->addStretch();
    buttons->addWidget(okButton);
    buttons->addWidget(cancelButton);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(buttons);

    connect(previewButton, &QPushButton::clicked, this, &RecurrenceDialog::preview);
    connect(resetButton, &QPushButton::clicked, this, &RecurrenceDialog::reset);
    connect(deleteButton, &QPushButton::clicked, this, &RecurrenceDialog::deleteSelected);
    connect(okButton, &QPushButton::clicked, this, &RecurrenceDialog::accept);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);

    weekOfMonthRadio->setChecked(true);
    showModePanel();
    setStartDate(wholeDays(clock_.now()) + 1);
}

void RecurrenceDialog::init(double time, const std::string& category, const std::string& what,
                            bool alarm) {
    task_ = DatedTask{generatedTimeText(time, fs_), category, what, false, alarm};
    setWindowTitle(q(recurrenceCaption(what)));
}

void RecurrenceDialog::setStartDate(int date) {
    startDateEdit->setDate(toQDate(date));
    endDateEdit->setDate(toQDate(date + 30));
    updateDayCount();
}

int RecurrenceDialog::startDate() const {
    return serialOfQDate(startDateEdit->date());
}

int RecurrenceDialog::endDate() const {
    return serialOfQDate(endDateEdit->date());
}

void RecurrenceDialog::showEvent(QShowEvent* e) {
    updateDayCount();
    QDialog::showEvent(e);
}

RecurrenceMode RecurrenceDialog::mode() const {
    if (daysOfMonthRadio->isChecked())
        return RecurrenceMode::DaysOfMonth;
    if (weeklyRadio->isChecked())
        return RecurrenceMode::Weekly;
    if (dailyRadio->isChecked())
        return RecurrenceMode::Daily;
    if (annualRadio->isChecked())
        return RecurrenceMode::Annual;
    return RecurrenceMode::WeekOfMonth;
}

void RecurrenceDialog::showModePanel() {
    modePanels->setCurrentIndex(static_cast<int>(mode()));
}

void RecurrenceDialog::updateDayCount() {
    dayCountLabel->setText(QString::number(rangeDayCount(startDate(), endDate())));
}

void RecurrenceDialog::ordinalToggled(int index, bool checked) {
    if (!checked)
        return;
    std::array<bool, 5> others{};
    for (std::size_t i = 0; i < 5; ++i)
        others[i] = static_cast<int>(i) != index && ordinalChecks[i]->isChecked();
    // The one checked first stays; the one just checked is unchecked again.
    if (!ordinalMayBeChecked(static_cast<WeekOrdinal>(index), others))
        ordinalChecks[static_cast<std::size_t>(index)]->setChecked(false);
}

RecurrencePattern RecurrenceDialog::pattern() const {
    RecurrencePattern p;
    p.mode = mode();
    switch (p.mode) {
    case RecurrenceMode::WeekOfMonth:
        p.every = weekOfMonthEvery->value();
        for (std::size_t i = 0; i < 5; ++i)
            p.ordinals[i] = ordinalChecks[i]->isChecked();
        for (std::size_t i = 0; i < 7; ++i)
            p.weekdays[i] = weekOfMonthDayChecks[i]->isChecked();
        break;
    case RecurrenceMode::DaysOfMonth:
        p.every = daysOfMonthEvery->value();
        p.days = dayGrid->flags();
        p.avoidSaturday = daysOfMonthAvoidSaturday->isChecked();
        p.avoidSunday = daysOfMonthAvoidSunday->isChecked();
        break;
    case RecurrenceMode::Weekly:
        p.every = weeklyEvery->value();
        for (std::size_t i = 0; i < 7; ++i)
            p.weekdays[i] = weeklyDayChecks[i]->isChecked();
        break;
    case RecurrenceMode::Daily:
        p.every = dailyEvery->value();
        p.avoidSaturday = dailyAvoidSaturday->isChecked();
        p.avoidSunday = dailyAvoidSunday->isChecked();
        break;
    case RecurrenceMode::Annual:
        break;
    }
    return p;
}

std::vector<int> RecurrenceDialog::listedDates() const {
    std::vector<int> dates;
    dates.reserve(static_cast<std::size_t>(previewList->count()));
    for (int i = 0; i < previewList->count(); ++i)
        dates.push_back(previewList->item(i)->data(kDateRole).toInt());
    return dates;
}

void RecurrenceDialog::preview() {
    // Typed but not yet committed values count.
    for (QSpinBox* spin : {weekOfMonthEvery, daysOfMonthEvery, weeklyEvery, dailyEvery})
        spin->interpretText();
    const RecurrencePreview result = previewDates(pattern(), startDate(), endDate());
    if (result.error == kRangeTooLongMessage) {
        prompts_.error(result.error);
        return;
    }
    previewList->clear();
    for (const int date : result.dates) {
        // The line's exact date goes with it: its text need not read back as the same date.
        auto* item = new QListWidgetItem(q(previewLine(date, fs_, clock_)));
        item->setData(kDateRole, date);
        previewList->addItem(item);
    }
    countLabel->setText(q(dateCountText(result.dates.size())));
    if (result.full)
        prompts_.error(kPreviewFullMessage);
    if (!result.error.empty())
        prompts_.error(result.error);
    updateButtons();
}

void RecurrenceDialog::updateButtons() {
    deleteButton->setEnabled(!previewList->selectedItems().isEmpty());
    okButton->setEnabled(previewList->count() > 0);
}

void RecurrenceDialog::deleteSelected() {
    for (int i = previewList->count() - 1; i >= 0; --i)
        if (previewList->item(i)->isSelected())
            delete previewList->takeItem(i);
    countLabel->setText(q(dateCountText(static_cast<std::size_t>(previewList->count()))));
    updateButtons();
}

void RecurrenceDialog::reset() {
    previewList->clear();
    countLabel->clear();
    okButton->setEnabled(false);
    deleteButton->setEnabled(false);
}

void RecurrenceDialog::accept() {
    if (!okButton->isEnabled())
        return;
    const std::vector<int> dates = listedDates();
    if (!prompts_.askYesNo(addEventsQuestion(dates.size()), "Information"))
        return;
    // A failed save is shown; the tasks are in the store all the same and go to
    // the file with its next save, so closing with OK tells the truth.
    showErrors(prompts_, addRecurringTasks(store_, dates, task_));
    QDialog::accept();
}

bool RecurrenceDialog::eventFilter(QObject* watched, QEvent* e) {
    if (watched == previewList && e->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(e)->key() == Qt::Key_Delete) {
        deleteSelected();
        return true;
    }
    return QDialog::eventFilter(watched, e);
}

} // namespace dw
