#include "app/editing/task_editor.h"

#include "app/editing/date_fields.h"
#include "app/editing/reschedule_dialog.h"
#include "app/editing/spell_check_dialog.h"
#include "app/store/category_list_dialog.h"
#include "app/widgets/shadow_label.h"
#include "core/dates/date_format.h"
#include "core/dates/date_parse.h"
#include "core/editing/task_edit.h"
#include "core/output/completed_tasks.h"
#include "core/prompts/prompts.h"
#include "core/store/category_list.h"
#include "core/store/helpers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace dw {

namespace {

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

ShadowLabel* styledCaption(const QString& text, const EditorLabelStyle& style, QWidget* parent) {
    auto* l = new ShadowLabel(text, parent);
    l->setFont(style.titleFont);
    l->setShadowDepth(style.shadowDepth);
    l->setTextColor(style.color);
    return l;
}

} // namespace

// --- TaskEditor ---------------------------------------------------------------------------

TaskEditor::TaskEditor(const FormatSettings& fs, const Clock& clock, std::string dataDir,
                       CompletedTasks& completed, const EditorLabelStyle& style,
                       DateSerial selectedDate, const TaskEditInput& input, QWidget* parent)
    : QDialog(parent), fs_(fs), clock_(clock), dataDir_(std::move(dataDir)), completed_(completed),
      selectedDate_(selectedDate), taskDate_(selectedDate), input_(input) {
    setWindowTitle(q(input.caption.empty() ? kDefaultEditorCaption : input.caption));

    buildMainPanel(style);
    buildCompletePanel(style);
    buildButtons();

    panels_ = new QStackedWidget(this);
    panels_->addWidget(mainPage_);
    panels_->addWidget(completionPage_);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(rescheduleButton_);
    bottom->addWidget(repeatButton_);
    bottom->addWidget(markCompleteButton_);
    bottom->addStretch();
    bottom->addWidget(okButton_);
    bottom->addWidget(cancelButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(panels_, 1);
    layout->addLayout(bottom);

    // The caller's values.
    titleCaption_->setText(q(input.title.empty() ? kDefaultEditorTitle : input.title));
    if (input.titleColor)
        titleCaption_->setTextColor(*input.titleColor);
    const DateSerial now = clock_.now();
    timeEdit_->setTime(toQTime(input.time ? *input.time : dayFraction(now)));
    completionDateEdit_->setDate(toQDate(now));
    alarmCheck_->setChecked(input.alarm);
    doneCheck_->setChecked(input.done);
    std::vector<std::string> lines;
    textToLines(input.notes, lines);
    QStringList shown;
    for (const auto& l : lines)
        shown << q(l);
    notesEdit_->setPlainText(shown.join('\n'));
    notesEdit_->moveCursor(QTextCursor::End);

    // Showing, steps 1 to 5 (the rest when the window first shows).
    choices_ = FillCombo(dataDir_);
    fillCategoryBox();
    categoryCombo_->setCurrentIndex(-1);
    if (const auto at = findEntry(choices_, input.category))
        categoryCombo_->setCurrentIndex(static_cast<int>(*at));
    categoryCombo_->setEditText(q(input.category));
    panels_->setCurrentWidget(mainPage_);
    completionOkButton_->setEnabled(false);
    applyFace();
    if (!input.existing) {
        markCompleteButton_->setEnabled(false);
        repeatButton_->setEnabled(false);
        okButton_->setEnabled(false);
    }

    setTabOrder(timeEdit_, timePickerButton_);
    setTabOrder(timePickerButton_, categoryCombo_);
    setTabOrder(categoryCombo_, categoryListButton_);
    setTabOrder(categoryListButton_, alarmCheck_);
    setTabOrder(alarmCheck_, notesEdit_);
    setTabOrder(notesEdit_, spellNotesButton_);
    setTabOrder(spellNotesButton_, rescheduleButton_);
    setTabOrder(rescheduleButton_, repeatButton_);
    setTabOrder(repeatButton_, markCompleteButton_);
    setTabOrder(markCompleteButton_, okButton_);
    setTabOrder(okButton_, cancelButton_);
    notesEdit_->setFocus();
}

TaskEditor::~TaskEditor() = default;

void TaskEditor::buildMainPanel(const EditorLabelStyle& style) {
    mainPage_ = new QWidget(this);
    mainPage_->setObjectName("mainPage");

    titleCaption_ = styledCaption(q(kDefaultEditorTitle), style, mainPage_);
    titleCaption_->setObjectName("titleCaption");

    timeEdit_ = new TimeField(fs_, mainPage_);
    timeEdit_->setObjectName("timeEdit");
    timeLabel_ = new QLabel("&Time:", mainPage_);
    timeLabel_->setObjectName("timeLabel");
    timeLabel_->setBuddy(timeEdit_);
    timePickerButton_ = new QPushButton("...", mainPage_);
    timePickerButton_->setObjectName("timePickerButton");
    timePickerButton_->setFixedWidth(timePickerButton_->fontMetrics().horizontalAdvance("...") +
                                     16);

    categoryCombo_ = new QComboBox(mainPage_);
    categoryCombo_->setObjectName("categoryCombo");
    categoryCombo_->setEditable(true);
    categoryCombo_->setInsertPolicy(QComboBox::NoInsert);
    categoryCombo_->setMinimumContentsLength(16);
    categoryCombo_->lineEdit()->setValidator(
        new CharLimitValidator(kCategoryMaxChars, categoryCombo_));
    categoryLabel_ = new QLabel("&Category", mainPage_);
    categoryLabel_->setObjectName("categoryLabel");
    categoryLabel_->setBuddy(categoryCombo_);
    categoryListButton_ = new QPushButton("...", mainPage_);
    categoryListButton_->setObjectName("categoryListButton");
    categoryListButton_->setFixedWidth(timePickerButton_->width());
    categoryListButton_->setToolTip("Edit the category choices");

    alarmCheck_ = new QCheckBox("&Alarm?", mainPage_);
    alarmCheck_->setObjectName("alarmCheck");

    notesEdit_ = new NotesField(kNotesMaxChars, mainPage_);
    notesEdit_->setObjectName("notesEdit");
    notesEdit_->setMinimumSize(360, 130);
    notesLabel_ = new QLabel("&Notes", mainPage_);
    notesLabel_->setObjectName("notesLabel");
    notesLabel_->setBuddy(notesEdit_);
    spellNotesButton_ = new QPushButton("&Spell check", mainPage_);
    spellNotesButton_->setObjectName("spellNotesButton");

    markCompleteCaption_ = styledCaption(q(kStatusNotDone), style, mainPage_);
    markCompleteCaption_->setObjectName("markCompleteCaption");
    markCompleteCaption_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    doneCheck_ = new QCheckBox("Is this task completed?", mainPage_);
    doneCheck_->setObjectName("doneCheck");
    doneCheck_->hide();

    auto* timeRow = new QHBoxLayout;
    timeRow->setContentsMargins(0, 0, 0, 0);
    timeRow->addWidget(timeEdit_);
    timeRow->addWidget(timePickerButton_);
    auto* categoryRow = new QHBoxLayout;
    categoryRow->setContentsMargins(0, 0, 0, 0);
    categoryRow->addWidget(categoryCombo_, 1);
    categoryRow->addWidget(categoryListButton_);

    mainGrid_ = new QGridLayout(mainPage_);
    mainGrid_->setContentsMargins(0, 0, 0, 0);
    mainGrid_->addWidget(titleCaption_, 0, 0, 1, 3);
    mainGrid_->addWidget(timeLabel_, 1, 0);
    mainGrid_->addLayout(timeRow, 1, 1);
    mainGrid_->addWidget(markCompleteCaption_, 1, 2);
    mainGrid_->addWidget(categoryLabel_, 2, 0);
    mainGrid_->addLayout(categoryRow, 2, 1);
    mainGrid_->addWidget(alarmCheck_, 2, 2, Qt::AlignLeft);
    mainGrid_->addWidget(notesLabel_, 3, 0);
    mainGrid_->addWidget(spellNotesButton_, 3, 2, Qt::AlignRight);
    mainGrid_->addWidget(notesEdit_, 4, 0, 1, 3);
    mainGrid_->setColumnStretch(2, 1);
    mainGrid_->setRowStretch(4, 1);

    connect(notesEdit_, &NotesField::typed, this, &TaskEditor::onNotesTyped);
    connect(timePickerButton_, &QPushButton::clicked, this, &TaskEditor::pickTime);
    connect(categoryListButton_, &QPushButton::clicked, this, &TaskEditor::editCategoryList);
    connect(spellNotesButton_, &QPushButton::clicked, this, &TaskEditor::checkNotesSpelling);
}

void TaskEditor::buildCompletePanel(const EditorLabelStyle& style) {
    completionPage_ = new QWidget(this);
    completionPage_->setObjectName("completionPage");

    completionTitle_ = styledCaption("Task Completion Notes", style, completionPage_);
    completionTitle_->setObjectName("completionTitle");

    completionNotesEdit_ = new NotesField(kCompletionNotesMaxChars, completionPage_);
    completionNotesEdit_->setObjectName("completionNotesEdit");
    completionNotesEdit_->setMinimumSize(360, 100);
    completionNotesLabel_ = new QLabel("&Notes", completionPage_);
    completionNotesLabel_->setObjectName("completionNotesLabel");
    completionNotesLabel_->setBuddy(completionNotesEdit_);
    spellCompletionButton_ = new QPushButton("&Spell check", completionPage_);
    spellCompletionButton_->setObjectName("spellCompletionButton");

    completionDateEdit_ = new QDateEdit(completionPage_);
    completionDateEdit_->setObjectName("completionDateEdit");
    completionDateEdit_->setCalendarPopup(true);
    completionDateEdit_->setDisplayFormat(qtDisplayFormat(fs_.shortDateFormat));
    completionDateEdit_->setMinimumDate(QDate(1753, 1, 1));
    completionDateLabel_ = new QLabel("&Date of Task Completion", completionPage_);
    completionDateLabel_->setObjectName("completionDateLabel");
    completionDateLabel_->setBuddy(completionDateEdit_);
    originDateButton_ = new QPushButton("Goto origin date", completionPage_);
    originDateButton_->setObjectName("originDateButton");
    todayButton_ = new QPushButton("Goto today", completionPage_);
    todayButton_->setObjectName("todayButton");
    completionOkButton_ = new QPushButton("&OK", completionPage_);
    completionOkButton_->setObjectName("completionOkButton");
    completionCancelButton_ = new QPushButton("Cancel", completionPage_);
    completionCancelButton_->setObjectName("completionCancelButton");
    for (QPushButton* b : {spellCompletionButton_, originDateButton_, todayButton_,
                           completionOkButton_, completionCancelButton_})
        b->setAutoDefault(false);

    auto* notesHead = new QHBoxLayout;
    notesHead->addWidget(completionNotesLabel_);
    notesHead->addStretch();
    notesHead->addWidget(spellCompletionButton_);
    // The page's own OK and Cancel sit on the date's row, apart from the editor's.
    auto* dateRow = new QHBoxLayout;
    dateRow->addWidget(completionDateEdit_);
    dateRow->addWidget(originDateButton_);
    dateRow->addWidget(todayButton_);
    dateRow->addStretch();
    dateRow->addWidget(completionOkButton_);
    dateRow->addWidget(completionCancelButton_);

    auto* layout = new QVBoxLayout(completionPage_);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(completionTitle_);
    layout->addLayout(notesHead);
    layout->addWidget(completionNotesEdit_, 1);
    layout->addWidget(completionDateLabel_);
    layout->addLayout(dateRow);

    connect(spellCompletionButton_, &QPushButton::clicked, this,
            &TaskEditor::checkCompletionSpelling);
    connect(originDateButton_, &QPushButton::clicked, this, &TaskEditor::useOriginDate);
    connect(todayButton_, &QPushButton::clicked, this, &TaskEditor::useTodayDate);
    connect(completionOkButton_, &QPushButton::clicked, this, &TaskEditor::onCompletionOkClicked);
    connect(completionCancelButton_, &QPushButton::clicked, this,
            &TaskEditor::onCompletionCancelClicked);
}

void TaskEditor::buildButtons() {
    rescheduleButton_ = new QPushButton("R&eschedule", this);
    rescheduleButton_->setObjectName("rescheduleButton");
    repeatButton_ = new QPushButton("&Repeat", this);
    repeatButton_->setObjectName("repeatButton");
    repeatMenu_ = new QMenu(repeatButton_);
    repeatMenu_->setObjectName("repeatMenu");
    QAction* repeat = repeatMenu_->addAction("Repeat");
    repeat->setObjectName("repeatAction");
    QAction* annually = repeatMenu_->addAction("Repeat annually for 10 years");
    annually->setObjectName("repeatAnnuallyAction");
    repeatButton_->setMenu(repeatMenu_);
    markCompleteButton_ = new QPushButton("&Mark as Complete", this);
    markCompleteButton_->setObjectName("markCompleteButton");
    okButton_ = new QPushButton("&OK", this);
    okButton_->setObjectName("okButton");
    cancelButton_ = new QPushButton("Cancel", this);
    cancelButton_->setObjectName("cancelButton");
    for (QPushButton* b :
         {rescheduleButton_, repeatButton_, markCompleteButton_, okButton_, cancelButton_})
        b->setAutoDefault(false);
    okButton_->setDefault(true);

    connect(rescheduleButton_, &QPushButton::clicked, this, &TaskEditor::reschedule);
    connect(repeat, &QAction::triggered, this, &TaskEditor::repeatTask);
    connect(annually, &QAction::triggered, this, &TaskEditor::repeatAnnuallyForTenYears);
    connect(markCompleteButton_, &QPushButton::clicked, this, &TaskEditor::onMarkCompleteClicked);
    connect(okButton_, &QPushButton::clicked, this, &TaskEditor::onOkClicked);
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
}

void TaskEditor::applyFace() {
    const EditorFace face = editorFace(input_.done, input_.datedExisting, input_.timeHidden);
    markCompleteCaption_->setText(q(face.status));
    markCompleteButton_->setVisible(face.complete);
    // The Repeat menu and the time popup show once their work is supplied.
    repeatButton_->setVisible(face.repeat && repeatHooks_.repeat && repeatHooks_.repeatAnnually);
    rescheduleButton_->setVisible(face.reschedule);

    for (QWidget* w : {static_cast<QWidget*>(timeLabel_), static_cast<QWidget*>(timeEdit_),
                       static_cast<QWidget*>(alarmCheck_)})
        w->setVisible(!input_.timeHidden);
    timePickerButton_->setVisible(!input_.timeHidden && timePicker_);

    mainGrid_->removeWidget(markCompleteCaption_);
    if (face.statusAtLeft) {
        markCompleteCaption_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        mainGrid_->addWidget(markCompleteCaption_, 1, 0, 1, 3);
    } else {
        markCompleteCaption_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        mainGrid_->addWidget(markCompleteCaption_, 1, 2);
    }
}

void TaskEditor::setRepeatHooks(RepeatHooks hooks) {
    repeatHooks_ = std::move(hooks);
    applyFace();
}

void TaskEditor::setTimePicker(TimePicker picker) {
    timePicker_ = std::move(picker);
    applyFace();
}

void TaskEditor::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (shown_)
        return;
    shown_ = true;
    taskDate_ = selectedDate_;
    if (input_.completeNow)
        onMarkCompleteClicked();
    else
        notesEdit_->setFocus();
}

void TaskEditor::fillCategoryBox() {
    const QString text = categoryCombo_->currentText();
    categoryCombo_->clear();
    for (const auto& c : choices_)
        categoryCombo_->addItem(q(c));
    categoryCombo_->setCurrentIndex(-1);
    categoryCombo_->setEditText(text);
}

std::string TaskEditor::categoryText() const {
    return singleLineText(categoryCombo_->currentText().toStdString());
}

std::string TaskEditor::notesText() const {
    return memoText(notesEdit_->toPlainText().toStdString());
}

TaskEditResult TaskEditor::output() const {
    TaskEditResult r;
    r.time = fractionOfQTime(timeEdit_->time());
    r.category = categoryText();
    r.notes = notesText();
    r.done = doneCheck_->isChecked();
    r.alarm = alarmCheck_->isChecked();
    r.taskDate = taskDate_;
    return r;
}

void TaskEditor::onNotesTyped() {
    markCompleteButton_->setEnabled(true);
    repeatButton_->setEnabled(true);
    if (panels_->currentWidget() == mainPage_)
        okButton_->setEnabled(true);
}

bool TaskEditor::notesBlank() {
    if (!notesAreBlank(memoLines(notesEdit_->toPlainText().toStdString())))
        return false;
    showError(kNotesBlankMessage);
    notesEdit_->setFocus();
    return true;
}

bool TaskEditor::timeNotATime() {
    if (input_.timeHidden || timeEdit_->time().isValid())
        return false;
    showError("\"" + timeEdit_->text().trimmed().toStdString() +
              "\" is not a time. Type a time such as 9:30, 9:30 PM, 21:30 or 930.");
    timeEdit_->setFocus();
    timeEdit_->selectAll();
    return true;
}

void TaskEditor::onOkClicked() {
    if (!okButton_->isEnabled() || notesBlank() || timeNotATime())
        return;
    bool added = false;
    if (!UpdateComboBox(choices_, categoryText(), dataDir_, &added))
        return; // the file could not be written; shown, and the editor stays open
    if (added)
        categoryCombo_->addItem(q(choices_.back()));
    accept();
}

void TaskEditor::onMarkCompleteClicked() {
    if (notesBlank() || timeNotATime())
        return;
    panels_->setCurrentWidget(completionPage_);
    okButton_->setEnabled(false);
    okButton_->setDefault(false);
    completionOkButton_->setEnabled(true);
    completionOkButton_->setDefault(true);
    // On the completion page only its own OK and Cancel (and the editor's Cancel) apply:
    // a reschedule from here would close the editor without recording the completion.
    setMainPageButtonsEnabled(false);
    completionNotesEdit_->setFocus();
}

void TaskEditor::onCompletionOkClicked() {
    if (!completionOkButton_->isEnabled())
        return;
    alarmCheck_->setChecked(false);
    doneCheck_->setChecked(true);
    CompletedTask record;
    record.completionDate = serialOfQDate(completionDateEdit_->date());
    record.time = fractionOfQTime(timeEdit_->time());
    record.category = categoryText();
    record.origin = input_.origin;
    record.what = notesText();
    record.notes = memoText(completionNotesEdit_->toPlainText().toStdString());
    // A failed save has been shown; the record stays in the table, which is written
    // again when the completed tasks window closes.
    completed_.add(record, fs_);
    accept();
}

void TaskEditor::setMainPageButtonsEnabled(bool enabled) {
    for (QPushButton* b : {rescheduleButton_, markCompleteButton_, repeatButton_})
        b->setEnabled(enabled);
}

void TaskEditor::onCompletionCancelClicked() {
    okButton_->setEnabled(true);
    okButton_->setDefault(true);
    completionOkButton_->setEnabled(false);
    completionOkButton_->setDefault(false);
    setMainPageButtonsEnabled(true);
    panels_->setCurrentWidget(mainPage_);
    notesEdit_->setFocus();
}

void TaskEditor::useOriginDate() {
    completionDateEdit_->setDate(toQDate(selectedDate_));
}

void TaskEditor::useTodayDate() {
    completionDateEdit_->setDate(toQDate(clock_.now()));
}

void TaskEditor::reschedule() {
    RescheduleDialog dlg(fs_, clock_, selectedDate_, this);
    if (dlg.exec() == QDialog::Accepted)
        taskDate_ = dlg.date();
    // Moved to another date: the caller stores it there, whatever the notes hold.
    if (rescheduleCloses(taskDate_, selectedDate_))
        accept();
}

void TaskEditor::editCategoryList() {
    CategoryListDialog dlg(this);
    dlg.setWindowTitle("Edit Category Choices");
    dlg.setEntries(choices_);
    dlg.selectEntry(categoryCombo_->currentText().toStdString());
    if (dlg.exec() == QDialog::Accepted) {
        choices_ = dlg.entries();
        fillCategoryBox();
        if (const auto current = dlg.currentEntry()) {
            if (const auto at = findEntry(choices_, *current))
                categoryCombo_->setCurrentIndex(static_cast<int>(*at));
            categoryCombo_->setEditText(q(*current));
        }
    }
    SaveCombo(choices_, dataDir_);
}

void TaskEditor::pickTime() {
    if (!timePicker_)
        return;
    if (const auto t = timePicker_(fractionOfQTime(timeEdit_->time()))) {
        timeEdit_->setTime(toQTime(*t));
        timeEdit_->setFocus();
    }
}

void TaskEditor::checkNotesSpelling() {
    spellCheckField(notesEdit_, dataDir_, this, notesEdit_->maxChars());
}

void TaskEditor::checkCompletionSpelling() {
    spellCheckField(completionNotesEdit_, dataDir_, this, completionNotesEdit_->maxChars());
}

void TaskEditor::repeatTask() {
    if (!repeatHooks_.repeat || notesBlank() || timeNotATime())
        return;
    // The generator stores its tasks itself; nothing is left for the caller to do.
    if (repeatHooks_.repeat(output(), wholeDays(selectedDate_) + 1))
        reject();
}

void TaskEditor::repeatAnnuallyForTenYears() {
    if (!repeatHooks_.repeatAnnually || notesBlank() || timeNotATime())
        return;
    repeatHooks_.repeatAnnually(output());
    accept();
}

} // namespace dw
