#include "app/editing/task_editor.h"

#include "app/editing/date_fields.h"
#include "app/editing/reschedule_dialog.h"
#include "app/editing/spell_check_dialog.h"
#include "app/store/list_box_dialog.h"
#include "app/widgets/shadow_label.h"
#include "core/dates/date_format.h"
#include "core/dates/date_parse.h"
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

} // namespace

TimeField::TimeField(const FormatSettings& fs, QWidget* parent) : QLineEdit(parent), fs_(fs) {
    setMaxLength(24);
    setMinimumWidth(
        fontMetrics().horizontalAdvance(q(formatDateTime("t", timeFraction(23, 58), fs_))) + 24);
    // Shown back as the time that will be stored: "930p" becomes "9:30 PM".
    connect(this, &QLineEdit::editingFinished, this, [this] {
        if (const QTime t = time(); t.isValid())
            setTime(t);
    });
}

void TimeField::setTime(const QTime& time) {
    setText(q(formatDateTime("t", fractionOfQTime(time), fs_)));
}

QTime TimeField::time() const {
    if (const auto t = parseTypedTime(text().toStdString(), fs_))
        return toQTime(*t);
    return {};
}

namespace {

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

// --- TfrmEdit ---------------------------------------------------------------------------

TfrmEdit::TfrmEdit(const FormatSettings& fs, const Clock& clock, std::string dataDir,
                   CompletedTasks& completed, const EditorLabelStyle& style,
                   DateSerial selectedDate, const TaskEditInput& input, QWidget* parent)
    : QDialog(parent), fs_(fs), clock_(clock), dataDir_(std::move(dataDir)), completed_(completed),
      selectedDate_(selectedDate), taskDate_(selectedDate), input_(input) {
    setWindowTitle(q(input.caption.empty() ? kDefaultEditorCaption : input.caption));

    buildMainPanel(style);
    buildCompletePanel(style);
    buildButtons();

    panels_ = new QStackedWidget(this);
    panels_->addWidget(pnlMain);
    panels_->addWidget(pnlComplete);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(btReschedule);
    bottom->addWidget(btRepeat);
    bottom->addWidget(btComplete);
    bottom->addStretch();
    bottom->addWidget(btOK);
    bottom->addWidget(btCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(panels_, 1);
    layout->addLayout(bottom);

    // The caller's values.
    lblTitle->setText(q(input.title.empty() ? kDefaultEditorTitle : input.title));
    if (input.titleColor)
        lblTitle->setTextColor(*input.titleColor);
    const DateSerial now = clock_.now();
    dtTime->setTime(toQTime(input.time ? *input.time : dayFraction(now)));
    dtComplete->setDate(toQDate(now));
    cbAlarm->setChecked(input.alarm);
    cbDone->setChecked(input.done);
    std::vector<std::string> lines;
    textToLines(input.notes, lines);
    QStringList shown;
    for (const auto& l : lines)
        shown << q(l);
    memMain->setPlainText(shown.join('\n'));
    memMain->moveCursor(QTextCursor::End);

    // Showing, steps 1 to 5 (the rest when the window first shows).
    choices_ = FillCombo(dataDir_);
    fillCategoryBox();
    cbCategory->setCurrentIndex(-1);
    if (const auto at = findEntry(choices_, input.category))
        cbCategory->setCurrentIndex(static_cast<int>(*at));
    cbCategory->setEditText(q(input.category));
    panels_->setCurrentWidget(pnlMain);
    btOK2->setEnabled(false);
    applyFace();
    if (!input.existing) {
        btComplete->setEnabled(false);
        btRepeat->setEnabled(false);
        btOK->setEnabled(false);
    }

    setTabOrder(dtTime, btTime);
    setTabOrder(btTime, cbCategory);
    setTabOrder(cbCategory, btCategory);
    setTabOrder(btCategory, cbAlarm);
    setTabOrder(cbAlarm, memMain);
    setTabOrder(memMain, btSpell1);
    setTabOrder(btSpell1, btReschedule);
    setTabOrder(btReschedule, btRepeat);
    setTabOrder(btRepeat, btComplete);
    setTabOrder(btComplete, btOK);
    setTabOrder(btOK, btCancel);
    memMain->setFocus();
}

TfrmEdit::~TfrmEdit() = default;

void TfrmEdit::buildMainPanel(const EditorLabelStyle& style) {
    pnlMain = new QWidget(this);
    pnlMain->setObjectName("pnlMain");

    lblTitle = styledCaption(q(kDefaultEditorTitle), style, pnlMain);
    lblTitle->setObjectName("lblTitle");

    dtTime = new TimeField(fs_, pnlMain);
    dtTime->setObjectName("dtTime");
    lblTime = new QLabel("&Time:", pnlMain);
    lblTime->setObjectName("lblTime");
    lblTime->setBuddy(dtTime);
    btTime = new QPushButton("...", pnlMain);
    btTime->setObjectName("btTime");
    btTime->setFixedWidth(btTime->fontMetrics().horizontalAdvance("...") + 16);

    cbCategory = new QComboBox(pnlMain);
    cbCategory->setObjectName("cbCategory");
    cbCategory->setEditable(true);
    cbCategory->setInsertPolicy(QComboBox::NoInsert);
    cbCategory->setMinimumContentsLength(16);
    cbCategory->lineEdit()->setValidator(new CharLimitValidator(kCategoryMaxChars, cbCategory));
    lblCategory = new QLabel("&Category", pnlMain);
    lblCategory->setObjectName("lblCategory");
    lblCategory->setBuddy(cbCategory);
    btCategory = new QPushButton("...", pnlMain);
    btCategory->setObjectName("btCategory");
    btCategory->setFixedWidth(btTime->width());
    btCategory->setToolTip("Edit the category choices");

    cbAlarm = new QCheckBox("&Alarm?", pnlMain);
    cbAlarm->setObjectName("cbAlarm");

    memMain = new NotesField(kNotesMaxChars, pnlMain);
    memMain->setObjectName("memMain");
    memMain->setMinimumSize(360, 130);
    Label1 = new QLabel("&Notes", pnlMain);
    Label1->setObjectName("Label1");
    Label1->setBuddy(memMain);
    btSpell1 = new QPushButton("&Spell check", pnlMain);
    btSpell1->setObjectName("btSpell1");

    lblComplete = styledCaption(q(kStatusNotDone), style, pnlMain);
    lblComplete->setObjectName("lblComplete");
    lblComplete->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    cbDone = new QCheckBox("Is this task completed?", pnlMain);
    cbDone->setObjectName("cbDone");
    cbDone->hide();

    auto* timeRow = new QHBoxLayout;
    timeRow->setContentsMargins(0, 0, 0, 0);
    timeRow->addWidget(dtTime);
    timeRow->addWidget(btTime);
    auto* categoryRow = new QHBoxLayout;
    categoryRow->setContentsMargins(0, 0, 0, 0);
    categoryRow->addWidget(cbCategory, 1);
    categoryRow->addWidget(btCategory);

    mainGrid_ = new QGridLayout(pnlMain);
    mainGrid_->setContentsMargins(0, 0, 0, 0);
    mainGrid_->addWidget(lblTitle, 0, 0, 1, 3);
    mainGrid_->addWidget(lblTime, 1, 0);
    mainGrid_->addLayout(timeRow, 1, 1);
    mainGrid_->addWidget(lblComplete, 1, 2);
    mainGrid_->addWidget(lblCategory, 2, 0);
    mainGrid_->addLayout(categoryRow, 2, 1);
    mainGrid_->addWidget(cbAlarm, 2, 2, Qt::AlignLeft);
    mainGrid_->addWidget(Label1, 3, 0);
    mainGrid_->addWidget(btSpell1, 3, 2, Qt::AlignRight);
    mainGrid_->addWidget(memMain, 4, 0, 1, 3);
    mainGrid_->setColumnStretch(2, 1);
    mainGrid_->setRowStretch(4, 1);

    connect(memMain, &NotesField::typed, this, &TfrmEdit::memMainTyped);
    connect(btTime, &QPushButton::clicked, this, &TfrmEdit::btTimeClick);
    connect(btCategory, &QPushButton::clicked, this, &TfrmEdit::btCategoryClick);
    connect(btSpell1, &QPushButton::clicked, this, &TfrmEdit::btSpell1Click);
}

void TfrmEdit::buildCompletePanel(const EditorLabelStyle& style) {
    pnlComplete = new QWidget(this);
    pnlComplete->setObjectName("pnlComplete");

    lblCompleteTitle = styledCaption("Task Completion Notes", style, pnlComplete);
    lblCompleteTitle->setObjectName("lblCompleteTitle");

    memComplete = new NotesField(kCompletionNotesMaxChars, pnlComplete);
    memComplete->setObjectName("memComplete");
    memComplete->setMinimumSize(360, 100);
    Label4 = new QLabel("&Notes", pnlComplete);
    Label4->setObjectName("Label4");
    Label4->setBuddy(memComplete);
    btSpell2 = new QPushButton("&Spell check", pnlComplete);
    btSpell2->setObjectName("btSpell2");

    dtComplete = new QDateEdit(pnlComplete);
    dtComplete->setObjectName("dtComplete");
    dtComplete->setCalendarPopup(true);
    dtComplete->setDisplayFormat(qtDisplayFormat(fs_.shortDateFormat));
    dtComplete->setMinimumDate(QDate(1753, 1, 1));
    Label3 = new QLabel("&Date of Task Completion", pnlComplete);
    Label3->setObjectName("Label3");
    Label3->setBuddy(dtComplete);
    btOrigin = new QPushButton("Goto origin date", pnlComplete);
    btOrigin->setObjectName("btOrigin");
    btToday = new QPushButton("Goto today", pnlComplete);
    btToday->setObjectName("btToday");
    btOK2 = new QPushButton("&OK", pnlComplete);
    btOK2->setObjectName("btOK2");
    btCancel2 = new QPushButton("Cancel", pnlComplete);
    btCancel2->setObjectName("btCancel2");
    for (QPushButton* b : {btSpell2, btOrigin, btToday, btOK2, btCancel2})
        b->setAutoDefault(false);

    auto* notesHead = new QHBoxLayout;
    notesHead->addWidget(Label4);
    notesHead->addStretch();
    notesHead->addWidget(btSpell2);
    // The page's own OK and Cancel sit on the date's row, apart from the editor's.
    auto* dateRow = new QHBoxLayout;
    dateRow->addWidget(dtComplete);
    dateRow->addWidget(btOrigin);
    dateRow->addWidget(btToday);
    dateRow->addStretch();
    dateRow->addWidget(btOK2);
    dateRow->addWidget(btCancel2);

    auto* layout = new QVBoxLayout(pnlComplete);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(lblCompleteTitle);
    layout->addLayout(notesHead);
    layout->addWidget(memComplete, 1);
    layout->addWidget(Label3);
    layout->addLayout(dateRow);

    connect(btSpell2, &QPushButton::clicked, this, &TfrmEdit::btSpell2Click);
    connect(btOrigin, &QPushButton::clicked, this, &TfrmEdit::btOriginClick);
    connect(btToday, &QPushButton::clicked, this, &TfrmEdit::btTodayClick);
    connect(btOK2, &QPushButton::clicked, this, &TfrmEdit::btOK2Click);
    connect(btCancel2, &QPushButton::clicked, this, &TfrmEdit::btCancel2Click);
}

void TfrmEdit::buildButtons() {
    btReschedule = new QPushButton("R&eschedule", this);
    btReschedule->setObjectName("btReschedule");
    btRepeat = new QPushButton("&Repeat", this);
    btRepeat->setObjectName("btRepeat");
    mnuRepeat = new QMenu(btRepeat);
    mnuRepeat->setObjectName("mnuRepeat");
    QAction* repeat = mnuRepeat->addAction("Repeat");
    repeat->setObjectName("Repeat1");
    QAction* annually = mnuRepeat->addAction("Repeat annually for 10 years");
    annually->setObjectName("RepeatAnnually1");
    btRepeat->setMenu(mnuRepeat);
    btComplete = new QPushButton("&Mark as Complete", this);
    btComplete->setObjectName("btComplete");
    btOK = new QPushButton("&OK", this);
    btOK->setObjectName("btOK");
    btCancel = new QPushButton("Cancel", this);
    btCancel->setObjectName("btCancel");
    for (QPushButton* b : {btReschedule, btRepeat, btComplete, btOK, btCancel})
        b->setAutoDefault(false);
    btOK->setDefault(true);

    connect(btReschedule, &QPushButton::clicked, this, &TfrmEdit::btRescheduleClick);
    connect(repeat, &QAction::triggered, this, &TfrmEdit::Repeat1Click);
    connect(annually, &QAction::triggered, this, &TfrmEdit::RepeatAnnually1Click);
    connect(btComplete, &QPushButton::clicked, this, &TfrmEdit::btCompleteClick);
    connect(btOK, &QPushButton::clicked, this, &TfrmEdit::btOKClick);
    connect(btCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmEdit::applyFace() {
    const EditorFace face = editorFace(input_.done, input_.datedExisting, input_.timeHidden);
    lblComplete->setText(q(face.status));
    btComplete->setVisible(face.complete);
    // The Repeat menu and the time popup show once their work is supplied.
    btRepeat->setVisible(face.repeat && repeatHooks_.repeat && repeatHooks_.repeatAnnually);
    btReschedule->setVisible(face.reschedule);

    for (QWidget* w : {static_cast<QWidget*>(lblTime), static_cast<QWidget*>(dtTime),
                       static_cast<QWidget*>(cbAlarm)})
        w->setVisible(!input_.timeHidden);
    btTime->setVisible(!input_.timeHidden && timePicker_);

    mainGrid_->removeWidget(lblComplete);
    if (face.statusAtLeft) {
        lblComplete->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        mainGrid_->addWidget(lblComplete, 1, 0, 1, 3);
    } else {
        lblComplete->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        mainGrid_->addWidget(lblComplete, 1, 2);
    }
}

void TfrmEdit::setRepeatHooks(RepeatHooks hooks) {
    repeatHooks_ = std::move(hooks);
    applyFace();
}

void TfrmEdit::setTimePicker(TimePicker picker) {
    timePicker_ = std::move(picker);
    applyFace();
}

void TfrmEdit::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (shown_)
        return;
    shown_ = true;
    taskDate_ = selectedDate_;
    if (input_.completeNow)
        btCompleteClick();
    else
        memMain->setFocus();
}

void TfrmEdit::fillCategoryBox() {
    const QString text = cbCategory->currentText();
    cbCategory->clear();
    for (const auto& c : choices_)
        cbCategory->addItem(q(c));
    cbCategory->setCurrentIndex(-1);
    cbCategory->setEditText(text);
}

std::string TfrmEdit::categoryText() const {
    return singleLineText(cbCategory->currentText().toStdString());
}

std::string TfrmEdit::notesText() const {
    return memoText(memMain->toPlainText().toStdString());
}

TaskEditResult TfrmEdit::output() const {
    TaskEditResult r;
    r.time = fractionOfQTime(dtTime->time());
    r.category = categoryText();
    r.notes = notesText();
    r.done = cbDone->isChecked();
    r.alarm = cbAlarm->isChecked();
    r.taskDate = taskDate_;
    return r;
}

void TfrmEdit::memMainTyped() {
    btComplete->setEnabled(true);
    btRepeat->setEnabled(true);
    if (panels_->currentWidget() == pnlMain)
        btOK->setEnabled(true);
}

bool TfrmEdit::notesBlank() {
    if (!notesAreBlank(memoLines(memMain->toPlainText().toStdString())))
        return false;
    showError(kNotesBlankMessage);
    memMain->setFocus();
    return true;
}

bool TfrmEdit::timeNotATime() {
    if (input_.timeHidden || dtTime->time().isValid())
        return false;
    showError("\"" + dtTime->text().trimmed().toStdString() +
              "\" is not a time. Type a time such as 9:30, 9:30 PM, 21:30 or 930.");
    dtTime->setFocus();
    dtTime->selectAll();
    return true;
}

void TfrmEdit::btOKClick() {
    if (!btOK->isEnabled() || notesBlank() || timeNotATime())
        return;
    bool added = false;
    if (!UpdateComboBox(choices_, categoryText(), dataDir_, &added))
        return; // the file could not be written; shown, and the editor stays open
    if (added)
        cbCategory->addItem(q(choices_.back()));
    accept();
}

void TfrmEdit::btCompleteClick() {
    if (notesBlank() || timeNotATime())
        return;
    panels_->setCurrentWidget(pnlComplete);
    btOK->setEnabled(false);
    btOK->setDefault(false);
    btOK2->setEnabled(true);
    btOK2->setDefault(true);
    // On the completion page only its own OK and Cancel (and the editor's Cancel) apply:
    // a reschedule from here would close the editor without recording the completion.
    setMainPageButtonsEnabled(false);
    memComplete->setFocus();
}

void TfrmEdit::btOK2Click() {
    if (!btOK2->isEnabled())
        return;
    cbAlarm->setChecked(false);
    cbDone->setChecked(true);
    CompletedTask record;
    record.completionDate = serialOfQDate(dtComplete->date());
    record.time = fractionOfQTime(dtTime->time());
    record.category = categoryText();
    record.origin = input_.origin;
    record.what = notesText();
    record.notes = memoText(memComplete->toPlainText().toStdString());
    // A failed save has been shown; the record stays in the table, which is written
    // again when the completed tasks window closes.
    completed_.add(record, fs_);
    accept();
}

void TfrmEdit::setMainPageButtonsEnabled(bool enabled) {
    for (QPushButton* b : {btReschedule, btComplete, btRepeat})
        b->setEnabled(enabled);
}

void TfrmEdit::btCancel2Click() {
    btOK->setEnabled(true);
    btOK->setDefault(true);
    btOK2->setEnabled(false);
    btOK2->setDefault(false);
    setMainPageButtonsEnabled(true);
    panels_->setCurrentWidget(pnlMain);
    memMain->setFocus();
}

void TfrmEdit::btOriginClick() {
    dtComplete->setDate(toQDate(selectedDate_));
}

void TfrmEdit::btTodayClick() {
    dtComplete->setDate(toQDate(clock_.now()));
}

void TfrmEdit::btRescheduleClick() {
    TfrmReschedule dlg(fs_, clock_, selectedDate_, this);
    if (dlg.exec() == QDialog::Accepted)
        taskDate_ = dlg.date();
    // Moved to another date: the caller stores it there, whatever the notes hold.
    if (rescheduleCloses(taskDate_, selectedDate_))
        accept();
}

void TfrmEdit::btCategoryClick() {
    TfrmListBox dlg(this);
    dlg.setWindowTitle("Edit Category Choices");
    dlg.setEntries(choices_);
    dlg.selectEntry(cbCategory->currentText().toStdString());
    if (dlg.exec() == QDialog::Accepted) {
        choices_ = dlg.entries();
        fillCategoryBox();
        if (const auto current = dlg.currentEntry()) {
            if (const auto at = findEntry(choices_, *current))
                cbCategory->setCurrentIndex(static_cast<int>(*at));
            cbCategory->setEditText(q(*current));
        }
    }
    SaveCombo(choices_, dataDir_);
}

void TfrmEdit::btTimeClick() {
    if (!timePicker_)
        return;
    if (const auto t = timePicker_(fractionOfQTime(dtTime->time()))) {
        dtTime->setTime(toQTime(*t));
        dtTime->setFocus();
    }
}

void TfrmEdit::btSpell1Click() {
    spellCheckField(memMain, dataDir_, this, memMain->maxChars());
}

void TfrmEdit::btSpell2Click() {
    spellCheckField(memComplete, dataDir_, this, memComplete->maxChars());
}

void TfrmEdit::Repeat1Click() {
    if (!repeatHooks_.repeat || notesBlank() || timeNotATime())
        return;
    // The generator stores its tasks itself; nothing is left for the caller to do.
    if (repeatHooks_.repeat(output(), wholeDays(selectedDate_) + 1))
        reject();
}

void TfrmEdit::RepeatAnnually1Click() {
    if (!repeatHooks_.repeatAnnually || notesBlank() || timeNotATime())
        return;
    repeatHooks_.repeatAnnually(output());
    accept();
}

} // namespace dw
