#include "app/editing/task_editor.h"

#include "app/editing/date_fields.h"
#include "app/editing/reschedule_dialog.h"
#include "app/editing/spell_check_dialog.h"
#include "app/shell/app_prompts.h"
#include "app/store/category_list_dialog.h"
#include "app/widgets/shadow_label.h"
#include "core/dates/date_format.h"
#include "core/dates/date_parse.h"
#include "core/editing/task_edit.h"
#include "core/output/completed_tasks.h"
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

} // namespace

// --- TaskEditor ---------------------------------------------------------------------------

TaskEditor::TaskEditor(const FormatSettings& fs, const Clock& clock, std::string dataDir,
                       CompletedTasks& completed, Prompts& prompts, const EditorLabelStyle& style,
                       DateSerial selectedDate, const TaskEditInput& input, QWidget* parent)
    : QDialog(parent), fs_(fs), clock_(clock), dataDir_(std::move(dataDir)), completed_(completed),
      prompts_(prompts), selectedDate_(selectedDate), taskDate_(selectedDate), input_(input) {
    setWindowTitle(q(input.caption.empty() ? kDefaultEditorCaption : input.caption));

    buildMainPanel(style);
    buildCompletePanel(style);
    buildButtons();

    panels_ = new QStackedWidget(this);
    panels_->addWidget(mainPage_);
    panels_->addWidget(completionPage_);
    // The main page's buttons; the completion page has its own OK and Cancel, and only the
    // page on show has its buttons on show.
    mainButtons_ = new QWidget(this);
    mainButtons_->setObjectName("mainButtons");
    auto* bottom = new QHBoxLayout(mainButtons_);
    bottom->setContentsMargins(0, 0, 0, 0);
    bottom->addWidget(rescheduleButton_);
    bottom->addWidget(repeatButton_);
    bottom->addWidget(markCompleteButton_);
    bottom->addStretch();
    bottom->addWidget(okButton_);
    bottom->addWidget(cancelButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(panels_, 1);
    layout->addWidget(mainButtons_);

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
    choices_ = loadCategoryChoices(dataDir_);
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
    prompts_.error(kNotesBlankMessage);
    notesEdit_->setFocus();
    return true;
}

bool TaskEditor::timeNotATime() {
    if (input_.timeHidden || timeEdit_->time().isValid())
        return false;
    prompts_.error("\"" + timeEdit_->text().trimmed().toStdString() +
                   "\" is not a time. Type a time such as 9:30, 9:30 PM, 21:30 or 930.");
    timeEdit_->setFocus();
    timeEdit_->selectAll();
    return true;
}

void TaskEditor::onOkClicked() {
    if (!okButton_->isEnabled() || notesBlank() || timeNotATime())
        return;
    bool added = false;
    if (showErrors(prompts_, addCategoryChoice(choices_, categoryText(), dataDir_, &added)))
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
    mainButtons_->hide();
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
    // A failed save is shown; the record stays in the table, which is written again when
    // the completed tasks window closes.
    showErrors(prompts_, completed_.add(record, fs_));
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
    mainButtons_->show();
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
    // The move takes the typed time along: a time that is no time is refused first, as OK
    // refuses it, rather than becoming midnight on the new date.
    if (timeNotATime())
        return;
    RescheduleDialog dlg(fs_, clock_, selectedDate_, this);
    if (dlg.exec() == QDialog::Accepted)
        taskDate_ = dlg.date();
    // Moved to another date: the caller stores it there, whatever the notes hold.
    if (rescheduleCloses(taskDate_, selectedDate_))
        accept();
}

void TaskEditor::editCategoryList() {
    CategoryListDialog dlg(prompts_, this);
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
    showErrors(prompts_, saveCategoryChoices(choices_, dataDir_));
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
    spellCheckField(notesEdit_, dataDir_, prompts_, this, notesEdit_->maxChars());
}

void TaskEditor::checkCompletionSpelling() {
    spellCheckField(completionNotesEdit_, dataDir_, prompts_, this,
                    completionNotesEdit_->maxChars());
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
