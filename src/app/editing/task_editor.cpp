#include "app/editing/task_editor.h"

#include "app/editing/date_fields.h"
#include "app/editing/reschedule_dialog.h"
#include "app/editing/spell_check_dialog.h"
#include "app/store/category_list_dialog.h"
#include "app/widgets/shadow_label.h"
#include "core/editing/task_edit.h"
#include "core/output/completed_tasks.h"
#include "core/prompts/prompts.h"
#include "core/store/category_list.h"
#include "core/store/helpers.h"
#include "core/store/text_codec.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QStackedWidget>
#include <QTimeEdit>
#include <QVBoxLayout>
#include <QValidator>

namespace dw {

namespace {

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

std::size_t charCount(const QString& s) {
    return utf8Length(s.toStdString());
}

// Pasted text keeps its line breaks as the field's own (one LF each), so that a CR LF
// neither counts twice nor becomes two breaks.
QString fieldLineBreaks(QString text) {
    text.replace("\r\n", "\n");
    text.replace('\r', '\n');
    return text;
}

// A line field of at most a number of characters: what goes past the limit is dropped
// from what was just typed or pasted (it ends at the cursor), never from the rest.
class CharLimitValidator : public QValidator {
public:
    CharLimitValidator(std::size_t maxChars, QObject* parent)
        : QValidator(parent), maxChars_(maxChars) {}

    State validate(QString& input, int& pos) const override {
        std::size_t chars = charCount(input);
        while (chars > maxChars_) {
            int at = pos > 0 ? pos : static_cast<int>(input.size());
            int len = 1;
            if (at >= 2 && input[at - 1].isLowSurrogate() && input[at - 2].isHighSurrogate())
                len = 2;
            input.remove(at - len, len);
            if (pos > 0)
                pos -= len;
            --chars;
        }
        return Acceptable;
    }

private:
    std::size_t maxChars_;
};

ShadowLabel* styledCaption(const QString& text, const EditorLabelStyle& style, QWidget* parent) {
    auto* l = new ShadowLabel(text, parent);
    l->setFont(style.titleFont);
    l->setShadowDepth(style.shadowDepth);
    l->setTextColor(style.color);
    return l;
}

} // namespace

// --- NotesField -------------------------------------------------------------------------

NotesField::NotesField(std::size_t maxChars, QWidget* parent)
    : QPlainTextEdit(parent), maxChars_(maxChars) {
    // Tab leaves the field, as in every other field of the dialog.
    setTabChangesFocus(true);
}

void NotesField::insertLimited(const QString& text) {
    const QString selected = textCursor().selectedText();
    const std::string fits = fitInsertion(charCount(toPlainText()), charCount(selected),
                                          fieldLineBreaks(text).toStdString(), maxChars_);
    if (fits.empty() && !text.isEmpty()) {
        QApplication::beep();
        return;
    }
    insertPlainText(q(fits));
}

void NotesField::keyPressEvent(QKeyEvent* e) {
    const QString t = e->text();
    if (!t.isEmpty() && !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        emit typed();
        // Printable characters and Enter grow the text; only they meet the limit.
        const bool grows = t == "\r" || t == "\n" || t[0].isPrint();
        if (grows) {
            const QString incoming = t == "\r" ? QString("\n") : t;
            const std::string fits =
                fitInsertion(charCount(toPlainText()), charCount(textCursor().selectedText()),
                             incoming.toStdString(), maxChars_);
            if (fits.empty()) {
                QApplication::beep();
                e->accept();
                return;
            }
        }
    }
    QPlainTextEdit::keyPressEvent(e);
}

void NotesField::insertFromMimeData(const QMimeData* source) {
    if (!source || !source->hasText()) {
        QPlainTextEdit::insertFromMimeData(source);
        return;
    }
    emit typed();
    insertLimited(source->text());
}

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
    panels_->addWidget(mainPage);
    panels_->addWidget(completionPage);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(rescheduleButton);
    bottom->addWidget(repeatButton);
    bottom->addWidget(markCompleteButton);
    bottom->addStretch();
    bottom->addWidget(okButton);
    bottom->addWidget(cancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(panels_, 1);
    layout->addLayout(bottom);

    // The caller's values.
    titleCaption->setText(q(input.title.empty() ? kDefaultEditorTitle : input.title));
    if (input.titleColor)
        titleCaption->setTextColor(*input.titleColor);
    const DateSerial now = clock_.now();
    timeEdit->setTime(toQTime(input.time ? *input.time : dayFraction(now)));
    completionDateEdit->setDate(toQDate(now));
    alarmCheck->setChecked(input.alarm);
    doneCheck->setChecked(input.done);
    std::vector<std::string> lines;
    textToLines(input.notes, lines);
    QStringList shown;
    for (const auto& l : lines)
        shown << q(l);
    notesEdit->setPlainText(shown.join('\n'));
    notesEdit->moveCursor(QTextCursor::End);

    // Showing, steps 1 to 5 (the rest when the window first shows).
    choices_ = FillCombo(dataDir_);
    fillCategoryBox();
    categoryCombo->setCurrentIndex(-1);
    if (const auto at = findEntry(choices_, input.category))
        categoryCombo->setCurrentIndex(static_cast<int>(*at));
    categoryCombo->setEditText(q(input.category));
    panels_->setCurrentWidget(mainPage);
    completionOkButton->setEnabled(false);
    applyFace();
    if (!input.existing) {
        markCompleteButton->setEnabled(false);
        repeatButton->setEnabled(false);
        okButton->setEnabled(false);
    }

    setTabOrder(timeEdit, timePickerButton);
    setTabOrder(timePickerButton, categoryCombo);
    setTabOrder(categoryCombo, categoryListButton);
    setTabOrder(categoryListButton, alarmCheck);
    setTabOrder(alarmCheck, notesEdit);
    setTabOrder(notesEdit, spellNotesButton);
    setTabOrder(spellNotesButton, rescheduleButton);
    setTabOrder(rescheduleButton, repeatButton);
    setTabOrder(repeatButton, markCompleteButton);
    setTabOrder(markCompleteButton, okButton);
    setTabOrder(okButton, cancelButton);
    notesEdit->setFocus();
}

TaskEditor::~TaskEditor() = default;

void TaskEditor::buildMainPanel(const EditorLabelStyle& style) {
    mainPage = new QWidget(this);
    mainPage->setObjectName("mainPage");

    titleCaption = styledCaption(q(kDefaultEditorTitle), style, mainPage);
    titleCaption->setObjectName("titleCaption");

    timeEdit = new QTimeEdit(mainPage);
    timeEdit->setObjectName("timeEdit");
    timeEdit->setDisplayFormat(qtDisplayFormat(fs_.shortTimeFormat));
    timeLabel = new QLabel("&Time:", mainPage);
    timeLabel->setObjectName("timeLabel");
    timeLabel->setBuddy(timeEdit);
    timePickerButton = new QPushButton("...", mainPage);
    timePickerButton->setObjectName("timePickerButton");
    timePickerButton->setFixedWidth(timePickerButton->fontMetrics().horizontalAdvance("...") + 16);

    categoryCombo = new QComboBox(mainPage);
    categoryCombo->setObjectName("categoryCombo");
    categoryCombo->setEditable(true);
    categoryCombo->setInsertPolicy(QComboBox::NoInsert);
    categoryCombo->setMinimumContentsLength(16);
    categoryCombo->lineEdit()->setValidator(
        new CharLimitValidator(kCategoryMaxChars, categoryCombo));
    categoryLabel = new QLabel("&Category", mainPage);
    categoryLabel->setObjectName("categoryLabel");
    categoryLabel->setBuddy(categoryCombo);
    categoryListButton = new QPushButton("...", mainPage);
    categoryListButton->setObjectName("categoryListButton");
    categoryListButton->setFixedWidth(timePickerButton->width());
    categoryListButton->setToolTip("Edit the category choices");

    alarmCheck = new QCheckBox("&Alarm?", mainPage);
    alarmCheck->setObjectName("alarmCheck");

    notesEdit = new NotesField(kNotesMaxChars, mainPage);
    notesEdit->setObjectName("notesEdit");
    notesEdit->setMinimumSize(360, 130);
    notesLabel = new QLabel("&Notes", mainPage);
    notesLabel->setObjectName("notesLabel");
    notesLabel->setBuddy(notesEdit);
    spellNotesButton = new QPushButton("&Spell check", mainPage);
    spellNotesButton->setObjectName("spellNotesButton");

    markCompleteCaption = styledCaption(q(kStatusNotDone), style, mainPage);
    markCompleteCaption->setObjectName("markCompleteCaption");
    markCompleteCaption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    doneCheck = new QCheckBox("Is this task completed?", mainPage);
    doneCheck->setObjectName("doneCheck");
    doneCheck->hide();

    auto* timeRow = new QHBoxLayout;
    timeRow->setContentsMargins(0, 0, 0, 0);
    timeRow->addWidget(timeEdit);
    timeRow->addWidget(timePickerButton);
    auto* categoryRow = new QHBoxLayout;
    categoryRow->setContentsMargins(0, 0, 0, 0);
    categoryRow->addWidget(categoryCombo, 1);
    categoryRow->addWidget(categoryListButton);

    mainGrid_ = new QGridLayout(mainPage);
    mainGrid_->setContentsMargins(0, 0, 0, 0);
    mainGrid_->addWidget(titleCaption, 0, 0, 1, 3);
    mainGrid_->addWidget(timeLabel, 1, 0);
    mainGrid_->addLayout(timeRow, 1, 1);
    mainGrid_->addWidget(markCompleteCaption, 1, 2);
    mainGrid_->addWidget(categoryLabel, 2, 0);
    mainGrid_->addLayout(categoryRow, 2, 1);
    mainGrid_->addWidget(alarmCheck, 2, 2, Qt::AlignLeft);
    mainGrid_->addWidget(notesLabel, 3, 0);
    mainGrid_->addWidget(spellNotesButton, 3, 2, Qt::AlignRight);
    mainGrid_->addWidget(notesEdit, 4, 0, 1, 3);
    mainGrid_->setColumnStretch(2, 1);
    mainGrid_->setRowStretch(4, 1);

    connect(notesEdit, &NotesField::typed, this, &TaskEditor::onNotesTyped);
    connect(timePickerButton, &QPushButton::clicked, this, &TaskEditor::pickTime);
    connect(categoryListButton, &QPushButton::clicked, this, &TaskEditor::editCategoryList);
    connect(spellNotesButton, &QPushButton::clicked, this, &TaskEditor::checkNotesSpelling);
}

void TaskEditor::buildCompletePanel(const EditorLabelStyle& style) {
    completionPage = new QWidget(this);
    completionPage->setObjectName("completionPage");

    completionTitle = styledCaption("Task Completion Notes", style, completionPage);
    completionTitle->setObjectName("completionTitle");

    completionNotesEdit = new NotesField(kCompletionNotesMaxChars, completionPage);
    completionNotesEdit->setObjectName("completionNotesEdit");
    completionNotesEdit->setMinimumSize(360, 100);
    completionNotesLabel = new QLabel("&Notes", completionPage);
    completionNotesLabel->setObjectName("completionNotesLabel");
    completionNotesLabel->setBuddy(completionNotesEdit);
    spellCompletionButton = new QPushButton("&Spell check", completionPage);
    spellCompletionButton->setObjectName("spellCompletionButton");

    completionDateEdit = new QDateEdit(completionPage);
    completionDateEdit->setObjectName("completionDateEdit");
    completionDateEdit->setCalendarPopup(true);
    completionDateEdit->setDisplayFormat(qtDisplayFormat(fs_.shortDateFormat));
    completionDateEdit->setMinimumDate(QDate(1753, 1, 1));
    completionDateLabel = new QLabel("&Date of Task Completion", completionPage);
    completionDateLabel->setObjectName("completionDateLabel");
    completionDateLabel->setBuddy(completionDateEdit);
    originDateButton = new QPushButton("Goto origin date", completionPage);
    originDateButton->setObjectName("originDateButton");
    todayButton = new QPushButton("Goto today", completionPage);
    todayButton->setObjectName("todayButton");
    completionOkButton = new QPushButton("&OK", completionPage);
    completionOkButton->setObjectName("completionOkButton");
    completionCancelButton = new QPushButton("Cancel", completionPage);
    completionCancelButton->setObjectName("completionCancelButton");
    for (QPushButton* b : {spellCompletionButton, originDateButton, todayButton, completionOkButton,
                           completionCancelButton})
        b->setAutoDefault(false);

    auto* notesHead = new QHBoxLayout;
    notesHead->addWidget(completionNotesLabel);
    notesHead->addStretch();
    notesHead->addWidget(spellCompletionButton);
    // The page's own OK and Cancel sit on the date's row, apart from the editor's.
    auto* dateRow = new QHBoxLayout;
    dateRow->addWidget(completionDateEdit);
    dateRow->addWidget(originDateButton);
    dateRow->addWidget(todayButton);
    dateRow->addStretch();
    dateRow->addWidget(completionOkButton);
    dateRow->addWidget(completionCancelButton);

    auto* layout = new QVBoxLayout(completionPage);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(completionTitle);
    layout->addLayout(notesHead);
    layout->addWidget(completionNotesEdit, 1);
    layout->addWidget(completionDateLabel);
    layout->addLayout(dateRow);

    connect(spellCompletionButton, &QPushButton::clicked, this,
            &TaskEditor::checkCompletionSpelling);
    connect(originDateButton, &QPushButton::clicked, this, &TaskEditor::useOriginDate);
    connect(todayButton, &QPushButton::clicked, this, &TaskEditor::useTodayDate);
    connect(completionOkButton, &QPushButton::clicked, this, &TaskEditor::onCompletionOkClicked);
    connect(completionCancelButton, &QPushButton::clicked, this,
            &TaskEditor::onCompletionCancelClicked);
}

void TaskEditor::buildButtons() {
    rescheduleButton = new QPushButton("R&eschedule", this);
    rescheduleButton->setObjectName("rescheduleButton");
    repeatButton = new QPushButton("&Repeat", this);
    repeatButton->setObjectName("repeatButton");
    repeatMenu = new QMenu(repeatButton);
    repeatMenu->setObjectName("repeatMenu");
    QAction* repeat = repeatMenu->addAction("Repeat");
    repeat->setObjectName("Repeat1");
    QAction* annually = repeatMenu->addAction("Repeat annually for 10 years");
    annually->setObjectName("RepeatAnnually1");
    repeatButton->setMenu(repeatMenu);
    markCompleteButton = new QPushButton("&Mark as Complete", this);
    markCompleteButton->setObjectName("markCompleteButton");
    okButton = new QPushButton("&OK", this);
    okButton->setObjectName("okButton");
    cancelButton = new QPushButton("Cancel", this);
    cancelButton->setObjectName("cancelButton");
    for (QPushButton* b :
         {rescheduleButton, repeatButton, markCompleteButton, okButton, cancelButton})
        b->setAutoDefault(false);
    okButton->setDefault(true);

    connect(rescheduleButton, &QPushButton::clicked, this, &TaskEditor::reschedule);
    connect(repeat, &QAction::triggered, this, &TaskEditor::repeatTask);
    connect(annually, &QAction::triggered, this, &TaskEditor::repeatAnnuallyForTenYears);
    connect(markCompleteButton, &QPushButton::clicked, this, &TaskEditor::onMarkCompleteClicked);
    connect(okButton, &QPushButton::clicked, this, &TaskEditor::onOkClicked);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

void TaskEditor::applyFace() {
    const EditorFace face = editorFace(input_.done, input_.datedExisting, input_.timeHidden);
    markCompleteCaption->setText(q(face.status));
    markCompleteButton->setVisible(face.complete);
    // The Repeat menu and the time popup show once their work is supplied.
    repeatButton->setVisible(face.repeat && repeatHooks_.repeat && repeatHooks_.repeatAnnually);
    rescheduleButton->setVisible(face.reschedule);

    for (QWidget* w : {static_cast<QWidget*>(timeLabel), static_cast<QWidget*>(timeEdit),
                       static_cast<QWidget*>(alarmCheck)})
        w->setVisible(!input_.timeHidden);
    timePickerButton->setVisible(!input_.timeHidden && timePicker_);

    mainGrid_->removeWidget(markCompleteCaption);
    if (face.statusAtLeft) {
        markCompleteCaption->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        mainGrid_->addWidget(markCompleteCaption, 1, 0, 1, 3);
    } else {
        markCompleteCaption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        mainGrid_->addWidget(markCompleteCaption, 1, 2);
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
        notesEdit->setFocus();
}

void TaskEditor::fillCategoryBox() {
    const QString text = categoryCombo->currentText();
    categoryCombo->clear();
    for (const auto& c : choices_)
        categoryCombo->addItem(q(c));
    categoryCombo->setCurrentIndex(-1);
    categoryCombo->setEditText(text);
}

std::string TaskEditor::categoryText() const {
    return singleLineText(categoryCombo->currentText().toStdString());
}

std::string TaskEditor::notesText() const {
    return memoText(notesEdit->toPlainText().toStdString());
}

TaskEditResult TaskEditor::output() const {
    TaskEditResult r;
    r.time = fractionOfQTime(timeEdit->time());
    r.category = categoryText();
    r.notes = notesText();
    r.done = doneCheck->isChecked();
    r.alarm = alarmCheck->isChecked();
    r.taskDate = taskDate_;
    return r;
}

void TaskEditor::onNotesTyped() {
    markCompleteButton->setEnabled(true);
    repeatButton->setEnabled(true);
    if (panels_->currentWidget() == mainPage)
        okButton->setEnabled(true);
}

bool TaskEditor::notesBlank() {
    if (!notesAreBlank(memoLines(notesEdit->toPlainText().toStdString())))
        return false;
    showError(kNotesBlankMessage);
    notesEdit->setFocus();
    return true;
}

void TaskEditor::onOkClicked() {
    if (!okButton->isEnabled() || notesBlank())
        return;
    bool added = false;
    if (!UpdateComboBox(choices_, categoryText(), dataDir_, &added))
        return; // the file could not be written; shown, and the editor stays open
    if (added)
        categoryCombo->addItem(q(choices_.back()));
    accept();
}

void TaskEditor::onMarkCompleteClicked() {
    if (notesBlank())
        return;
    panels_->setCurrentWidget(completionPage);
    okButton->setEnabled(false);
    okButton->setDefault(false);
    completionOkButton->setEnabled(true);
    completionOkButton->setDefault(true);
    // On the completion page only its own OK and Cancel (and the editor's Cancel) apply:
    // a reschedule from here would close the editor without recording the completion.
    setMainPageButtonsEnabled(false);
    completionNotesEdit->setFocus();
}

void TaskEditor::onCompletionOkClicked() {
    if (!completionOkButton->isEnabled())
        return;
    alarmCheck->setChecked(false);
    doneCheck->setChecked(true);
    CompletedTask record;
    record.completionDate = serialOfQDate(completionDateEdit->date());
    record.time = fractionOfQTime(timeEdit->time());
    record.category = categoryText();
    record.origin = input_.origin;
    record.what = notesText();
    record.notes = memoText(completionNotesEdit->toPlainText().toStdString());
    // A failed save has been shown; the record stays in the table, which is written
    // again when the completed tasks window closes.
    completed_.add(record, fs_);
    accept();
}

void TaskEditor::setMainPageButtonsEnabled(bool enabled) {
    for (QPushButton* b : {rescheduleButton, markCompleteButton, repeatButton})
        b->setEnabled(enabled);
}

void TaskEditor::onCompletionCancelClicked() {
    okButton->setEnabled(true);
    okButton->setDefault(true);
    completionOkButton->setEnabled(false);
    completionOkButton->setDefault(false);
    setMainPageButtonsEnabled(true);
    panels_->setCurrentWidget(mainPage);
    notesEdit->setFocus();
}

void TaskEditor::useOriginDate() {
    completionDateEdit->setDate(toQDate(selectedDate_));
}

void TaskEditor::useTodayDate() {
    completionDateEdit->setDate(toQDate(clock_.now()));
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
    dlg.selectEntry(categoryCombo->currentText().toStdString());
    if (dlg.exec() == QDialog::Accepted) {
        choices_ = dlg.entries();
        fillCategoryBox();
        if (const auto current = dlg.currentEntry()) {
            if (const auto at = findEntry(choices_, *current))
                categoryCombo->setCurrentIndex(static_cast<int>(*at));
            categoryCombo->setEditText(q(*current));
        }
    }
    SaveCombo(choices_, dataDir_);
}

void TaskEditor::pickTime() {
    if (!timePicker_)
        return;
    if (const auto t = timePicker_(fractionOfQTime(timeEdit->time()))) {
        timeEdit->setTime(toQTime(*t));
        timeEdit->setFocus();
    }
}

void TaskEditor::checkNotesSpelling() {
    spellCheckField(notesEdit, dataDir_, this, notesEdit->maxChars());
}

void TaskEditor::checkCompletionSpelling() {
    spellCheckField(completionNotesEdit, dataDir_, this, completionNotesEdit->maxChars());
}

void TaskEditor::repeatTask() {
    if (!repeatHooks_.repeat || notesBlank())
        return;
    // The generator stores its tasks itself; nothing is left for the caller to do.
    if (repeatHooks_.repeat(output(), wholeDays(selectedDate_) + 1))
        reject();
}

void TaskEditor::repeatAnnuallyForTenYears() {
    if (!repeatHooks_.repeatAnnually || notesBlank())
        return;
    repeatHooks_.repeatAnnually(output());
    accept();
}

} // namespace dw
