#include "app/calendar/find_dialog.h"

#include "app/calendar/calendar_pane.h"
#include "app/shell/app_state.h"
#include "app/shell/pane_splitter.h"
#include "app/widgets/cell_grid.h"
#include "core/calendar/found_row.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace dw {

namespace {

template <typename W> W* named(W* w, const char* name) {
    w->setObjectName(name);
    return w;
}

} // namespace

FindDialog::FindDialog(QWidget& window, CalendarPane& calendars, PaneSplitter& split1,
                       PaneSplitter& split2, CellGrid& gridDay, AppState& state)
    : QDialog(&window), calendars_(calendars), split1_(split1), split2_(split2), gridDay_(gridDay),
      state_(state) {
    setObjectName("findDialog");
    setWindowTitle("Find");
    setModal(false);

    findText_ = named(new QLineEdit(this), "findText");
    auto* textLabel = new QLabel("Fi&nd what:", this);
    textLabel->setBuddy(findText_);
    wholeWordCheck_ = named(new QCheckBox("Match &whole word only", this), "wholeWordCheck");
    matchCaseCheck_ = named(new QCheckBox("Match &case", this), "matchCaseCheck");
    auto* direction = new QGroupBox("Direction", this);
    upButton_ = named(new QRadioButton("&Up", direction), "upButton");
    downButton_ = named(new QRadioButton("&Down", direction), "downButton");
    downButton_->setChecked(true);
    findNextButton_ = named(new QPushButton("&Find Next", this), "findNextButton");
    findNextButton_->setDefault(true);
    findNextButton_->setEnabled(false);
    cancelButton_ = named(new QPushButton("Cancel", this), "cancelButton");
    cancelButton_->setAutoDefault(false);

    auto* textRow = new QHBoxLayout;
    textRow->addWidget(textLabel);
    textRow->addWidget(findText_, 1);
    auto* directionLayout = new QHBoxLayout(direction);
    directionLayout->addWidget(upButton_);
    directionLayout->addWidget(downButton_);
    auto* options = new QHBoxLayout;
    auto* checks = new QVBoxLayout;
    checks->addStretch(1);
    checks->addWidget(wholeWordCheck_);
    checks->addWidget(matchCaseCheck_);
    options->addLayout(checks);
    options->addWidget(direction);
    auto* left = new QVBoxLayout;
    left->addLayout(textRow);
    left->addLayout(options);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(findNextButton_);
    buttons->addWidget(cancelButton_);
    buttons->addStretch(1);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(buttons);

    // There is nothing to look for in an empty text.
    connect(findText_, &QLineEdit::textChanged, this,
            [this](const QString& text) { findNextButton_->setEnabled(!text.isEmpty()); });
    connect(findNextButton_, &QPushButton::clicked, this, &FindDialog::findNext);
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
}

void FindDialog::startFind() {
    search_.open();
    show();
    raise();
    activateWindow();
    findText_->setFocus();
}

void FindDialog::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    placeAtSplitterCorner();
    calendars_.foundRow = -1;
}

void FindDialog::hideEvent(QHideEvent* e) {
    QDialog::hideEvent(e);
    // Date changes no longer look for the found task.
    calendars_.foundRow = -1;
}

void FindDialog::placeAtSplitterCorner() {
    // Where the calendars, the day view and the to-do list meet.
    const QPoint corner(split1_.position(), split2_.position());
    move(split2_.mapToGlobal(corner));
}

void FindDialog::findNext() {
    FindQuery query;
    query.text = findText_->text().toStdString();
    query.wholeWord = wholeWordCheck_->isChecked();
    query.matchCase = matchCaseCheck_->isChecked();
    query.down = downButton_->isChecked();
    const std::optional<FindHit> hit = search_.findNext(state_.store(), query);
    if (!hit) {
        state_.prompts().error(findFailureMessage(query.text, query.down));
        return;
    }
    CalendarPane* calendars = &calendars_;
    calendars->foundRow = hit->row;
    if (calendars->selectedDate() == hit->date) {
        selectFoundTask(!query.down);
        return;
    }
    // The date change refills the day view and selects the task there.
    calendars->setSelectedDate(hit->date);
    // Of two equal tasks on the date, an upward search stops at the lower one first.
    if (!query.down)
        selectFoundTask(true);
}

void FindDialog::selectFoundTask(bool lastOfEqualTasks) {
    CellGrid* day = &gridDay_;
    day->setFocus();
    const int row = foundDayRow(state_.store(), calendars_.foundRow, lastOfEqualTasks);
    if (row > 0)
        day->selectTableRow(row);
}

} // namespace dw
