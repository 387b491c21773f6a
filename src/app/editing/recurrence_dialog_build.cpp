#include "app/editing/recurrence_dialog.h"

// How the recurrence dialog is put together: its range, its modes and their panels, the
// preview. What they do is in recurrence_dialog.cpp.

#include "app/editing/date_fields.h"
#include "app/editing/day_of_month_grid.h"
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

// A spin field that takes a number above its limit while it is typed ("13" in a field of
// 1 to 12) and brings it to the limit once it is read; a plain spin field refuses the last
// keystroke instead, so 13 would become 1.
class EveryField : public QSpinBox {
public:
    using QSpinBox::QSpinBox;

protected:
    QValidator::State validate(QString& text, int&) const override {
        const QString digits = text.trimmed();
        if (digits.isEmpty())
            return QValidator::Intermediate;
        if (digits.size() > 9 ||
            !std::all_of(digits.begin(), digits.end(), [](QChar c) { return c.isDigit(); }))
            return QValidator::Invalid;
        const int v = digits.toInt();
        return v >= minimum() && v <= maximum() ? QValidator::Acceptable : QValidator::Intermediate;
    }
    void fixup(QString& text) const override {
        bool ok = false;
        const int v = text.trimmed().toInt(&ok);
        if (ok)
            text = QString::number(std::clamp(v, minimum(), maximum()));
    }
};

QSpinBox* everyField(int min, int max, QWidget* parent) {
    auto* spin = new EveryField(parent);
    spin->setRange(min, max);
    spin->setValue(min);
    // A value outside the range is brought to the nearest bound.
    spin->setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
    return spin;
}

// "E&very" N unit, the first row of most panels.
QHBoxLayout* everyRow(QSpinBox* spin, const QString& unit, QWidget* parent) {
    auto* label = new QLabel("E&very", parent);
    label->setBuddy(spin);
    auto* row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(spin);
    row->addWidget(new QLabel(unit, parent));
    row->addStretch();
    return row;
}

// Mon to Sun, left to right; the array is indexed from Sunday.
QHBoxLayout* weekdayRow(std::array<QCheckBox*, 7>& checks, const QString& lead,
                        const char* namePrefix, QWidget* parent) {
    static const char* const kNames[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    auto* row = new QHBoxLayout;
    if (!lead.isEmpty())
        row->addWidget(new QLabel(lead, parent));
    for (int i = 1; i <= 7; ++i) {
        const int w = i % 7;
        checks[static_cast<std::size_t>(w)] = new QCheckBox(kNames[w], parent);
        checks[static_cast<std::size_t>(w)]->setObjectName(QString(namePrefix) + kNames[w]);
        row->addWidget(checks[static_cast<std::size_t>(w)]);
    }
    row->addStretch();
    return row;
}

} // namespace

QWidget* RecurrenceDialog::buildRangeBox() {
    auto* box = new QGroupBox("Range", this);
    const auto dateField = [&](const char* name) {
        auto* field = new QDateEdit(box);
        field->setObjectName(name);
        field->setCalendarPopup(true);
        field->setDisplayFormat(qtDisplayFormat(fs_.shortDateFormat));
        field->setMinimumDate(QDate(1753, 1, 1));
        connect(field, &QDateEdit::dateChanged, this, &RecurrenceDialog::updateDayCount);
        connect(field, &QDateEdit::editingFinished, this, &RecurrenceDialog::updateDayCount);
        return field;
    };
    startDateEdit = dateField("startDateEdit");
    endDateEdit = dateField("endDateEdit");
    auto* startLabel = new QLabel("&Start Date", box);
    startLabel->setBuddy(startDateEdit);
    auto* endLabel = new QLabel("E&nd Date", box);
    endLabel->setBuddy(endDateEdit);
    dayCountLabel = new QLabel(box);
    dayCountLabel->setObjectName("dayCountLabel");
    dayCountLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    auto* grid = new QGridLayout(box);
    grid->addWidget(startLabel, 0, 0);
    grid->addWidget(startDateEdit, 0, 1);
    grid->addWidget(endLabel, 1, 0);
    grid->addWidget(endDateEdit, 1, 1);
    grid->addWidget(dayCountLabel, 1, 2);
    grid->addWidget(new QLabel("Days", box), 1, 3);
    grid->setColumnStretch(4, 1);
    return box;
}

QWidget* RecurrenceDialog::buildModeBox() {
    auto* box = new QGroupBox("Pattern", this);
    weekOfMonthRadio = new QRadioButton("&Week of Month", box);
    weekOfMonthRadio->setObjectName("weekOfMonthRadio");
    daysOfMonthRadio = new QRadioButton("Da&ys of Month", box);
    daysOfMonthRadio->setObjectName("daysOfMonthRadio");
    weeklyRadio = new QRadioButton("W&eekly", box);
    weeklyRadio->setObjectName("weeklyRadio");
    dailyRadio = new QRadioButton("D&aily", box);
    dailyRadio->setObjectName("dailyRadio");
    annualRadio = new QRadioButton("Annually", box);
    annualRadio->setObjectName("annualRadio");

    auto* radios = new QVBoxLayout;
    auto* group = new QButtonGroup(box);
    for (QRadioButton* r :
         {weekOfMonthRadio, daysOfMonthRadio, weeklyRadio, dailyRadio, annualRadio}) {
        group->addButton(r);
        radios->addWidget(r);
        connect(r, &QRadioButton::toggled, this, &RecurrenceDialog::showModePanel);
    }
    radios->addStretch();

    // One panel per mode, in the order of RecurrenceMode.
    modePanels = new QStackedWidget(box);
    modePanels->addWidget(buildWeekOfMonthPanel());
    modePanels->addWidget(buildDaysOfMonthPanel());
    modePanels->addWidget(buildWeeklyPanel());
    modePanels->addWidget(buildDailyPanel());
    modePanels->addWidget(buildAnnualPanel());

    auto* layout = new QHBoxLayout(box);
    layout->addLayout(radios);
    auto* line = new QFrame(box);
    line->setFrameShape(QFrame::VLine);
    line->setFrameShadow(QFrame::Sunken);
    layout->addWidget(line);
    layout->addWidget(modePanels, 1);
    return box;
}

QWidget* RecurrenceDialog::buildWeekOfMonthPanel() {
    auto* panel = new QWidget(this);
    panel->setObjectName("weekOfMonthPanel");
    weekOfMonthEvery = everyField(1, 12, panel);
    weekOfMonthEvery->setObjectName("weekOfMonthEvery");

    static const char* const kOrdinals[5] = {"1st", "2nd", "3rd", "4th", "Last"};
    auto* ordinals = new QHBoxLayout;
    ordinals->addWidget(new QLabel("On the", panel));
    for (int i = 0; i < 5; ++i) {
        auto* check = new QCheckBox(kOrdinals[i], panel);
        check->setObjectName(QString("ordinal") + kOrdinals[i]);
        ordinalChecks[static_cast<std::size_t>(i)] = check;
        ordinals->addWidget(check);
        connect(check, &QCheckBox::toggled, this,
                [this, i](bool checked) { ordinalToggled(i, checked); });
    }
    ordinals->addStretch();

    auto* layout = new QVBoxLayout(panel);
    layout->addLayout(everyRow(weekOfMonthEvery, "Months", panel));
    layout->addLayout(ordinals);
    layout->addLayout(weekdayRow(weekOfMonthDayChecks, "On", "weekOfMonth", panel));
    layout->addStretch();
    return panel;
}

QWidget* RecurrenceDialog::buildDaysOfMonthPanel() {
    auto* panel = new QWidget(this);
    panel->setObjectName("daysOfMonthPanel");
    daysOfMonthEvery = everyField(1, 12, panel);
    daysOfMonthEvery->setObjectName("daysOfMonthEvery");
    dayGrid = new DayOfMonthGrid(panel);
    dayGrid->setObjectName("dayGrid");
    daysOfMonthAvoidSaturday = new QCheckBox("Avoid Saturdays?", panel);
    daysOfMonthAvoidSaturday->setObjectName("daysOfMonthAvoidSaturday");
    daysOfMonthAvoidSunday = new QCheckBox("Avoid Sundays?", panel);
    daysOfMonthAvoidSunday->setObjectName("daysOfMonthAvoidSunday");

    auto* avoid = new QVBoxLayout;
    avoid->addWidget(daysOfMonthAvoidSaturday);
    avoid->addWidget(daysOfMonthAvoidSunday);
    avoid->addStretch();
    auto* row = new QHBoxLayout;
    row->addWidget(dayGrid);
    row->addLayout(avoid);
    row->addStretch();

    auto* layout = new QVBoxLayout(panel);
    layout->addLayout(everyRow(daysOfMonthEvery, "Months", panel));
    layout->addLayout(row);
    layout->addStretch();
    return panel;
}

QWidget* RecurrenceDialog::buildWeeklyPanel() {
    auto* panel = new QWidget(this);
    panel->setObjectName("weeklyPanel");
    weeklyEvery = everyField(1, 52, panel);
    weeklyEvery->setObjectName("weeklyEvery");
    auto* layout = new QVBoxLayout(panel);
    layout->addLayout(everyRow(weeklyEvery, "Weeks", panel));
    layout->addLayout(weekdayRow(weeklyDayChecks, QString(), "weekly", panel));
    layout->addStretch();
    return panel;
}

QWidget* RecurrenceDialog::buildDailyPanel() {
    auto* panel = new QWidget(this);
    panel->setObjectName("dailyPanel");
    dailyEvery = everyField(1, 364, panel);
    dailyEvery->setObjectName("dailyEvery");
    dailyAvoidSaturday = new QCheckBox("Avoid Saturdays?", panel);
    dailyAvoidSaturday->setObjectName("dailyAvoidSaturday");
    dailyAvoidSunday = new QCheckBox("Avoid Sundays?", panel);
    dailyAvoidSunday->setObjectName("dailyAvoidSunday");
    auto* layout = new QVBoxLayout(panel);
    layout->addLayout(everyRow(dailyEvery, "Days", panel));
    layout->addWidget(dailyAvoidSaturday);
    layout->addWidget(dailyAvoidSunday);
    layout->addStretch();
    return panel;
}

QWidget* RecurrenceDialog::buildAnnualPanel() {
    auto* panel = new QWidget(this);
    panel->setObjectName("annualPanel");
    auto* text = new QLabel("Events are scheduled annually on the starting date above", panel);
    text->setWordWrap(true);
    auto* layout = new QVBoxLayout(panel);
    layout->addWidget(text);
    layout->addStretch();
    return panel;
}

QWidget* RecurrenceDialog::buildPreviewBox() {
    auto* box = new QWidget(this);
    previewList = new QListWidget(box);
    previewList->setObjectName("previewList");
    previewList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    previewList->setToolTip("Click and drag to select multiple dates to delete");
    previewList->setItemDelegate(new TabStopDelegate(25, previewList));
    // The lines fit the list's width once their TABs stand as columns.
    previewList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    previewList->setMinimumWidth(previewList->fontMetrics().averageCharWidth() * 40);
    previewList->installEventFilter(this);
    auto* title = new QLabel("Preview of dates", box);
    title->setBuddy(previewList);
    auto* note = new QLabel("Highlight multiple dates then click Delete to remove dates.", box);
    note->setWordWrap(true);
    countLabel = new QLabel("Number of dates: ", box);
    countLabel->setObjectName("countLabel");

    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(title);
    layout->addWidget(previewList, 1);
    layout->addWidget(countLabel);
    layout->addWidget(note);

    connect(previewList, &QListWidget::itemSelectionChanged, this,
            [this] { deleteButton->setEnabled(!previewList->selectedItems().isEmpty()); });
    return box;
}

} // namespace dw
