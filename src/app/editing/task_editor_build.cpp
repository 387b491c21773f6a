#include "app/editing/task_editor.h"

// How the task editor is put together: its two pages and its buttons. What they do is
// wired in task_editor.cpp.

#include "app/editing/date_fields.h"
#include "app/editing/reschedule_dialog.h"
#include "app/editing/spell_check_dialog.h"
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

ShadowLabel* styledCaption(const QString& text, const EditorLabelStyle& style, QWidget* parent) {
    auto* l = new ShadowLabel(text, parent);
    l->setFont(style.titleFont);
    l->setShadowDepth(style.shadowDepth);
    l->setTextColor(style.color);
    return l;
}

} // namespace

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

} // namespace dw
