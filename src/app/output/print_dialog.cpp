#include "app/output/print_dialog.h"

#include "app/editing/date_fields.h"
#include "app/settings/font_spec.h"
#include "app/shell/app_state.h"
#include "app/widgets/shadow_label.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <initializer_list>

namespace dw {

namespace {

template <typename W> W* named(W* w, const char* name) {
    w->setObjectName(name);
    return w;
}

QDateEdit* makeDateEdit(const char* name, const FormatSettings& fs, QWidget* parent) {
    auto* edit = named(new QDateEdit(parent), name);
    edit->setCalendarPopup(true);
    edit->setDisplayFormat(qtDisplayFormat(fs.shortDateFormat));
    return edit;
}

} // namespace

PrintDialog::PrintDialog(AppState& state, QWidget* parent) : QDialog(parent), state_(state) {
    setObjectName("printDialog");

    title_ = named(new ShadowLabel(QString(), this), "titleCaption");
    title_->setAlignment(Qt::AlignCenter);
    title_->setFont(toQFont(state_.options().titleFont));

    allRadio_ = named(new QRadioButton(this), "allRadio");
    rangeRadio_ = named(new QRadioButton(this), "rangeRadio");
    fromLabel_ = new QLabel("From this date (inclusive)", this);
    fromEdit_ = makeDateEdit("fromEdit", state_.fs(), this);
    toLabel_ = new QLabel("Through date (inclusive)", this);
    toEdit_ = makeDateEdit("toEdit", state_.fs(), this);
    fromLabel_->setBuddy(fromEdit_);
    toLabel_->setBuddy(toEdit_);

    categoryCheck_ = named(new QCheckBox("Selected categories?", this), "categoryCheck");
    categoryBox_ = named(new QComboBox(this), "categoryBox");
    const CategoryChoices choices = printCategoryChoices(state_.paths().dataDir);
    for (const std::string& entry : choices.entries)
        categoryBox_->addItem(QString::fromStdString(entry));
    categoryBox_->setCurrentIndex(choices.chosen);
    // The preselected category is the choice from the start, for the exports too.
    PrintSelection& sel = state_.printSelection();
    if (sel.categories.empty() && choices.chosen >= 0)
        sel.categories = {choices.entries[static_cast<size_t>(choices.chosen)]};

    doneCheck_ = named(new QCheckBox("Done tasks?", this), "doneCheck");
    notDoneCheck_ = named(new QCheckBox("Not Done tasks?", this), "notDoneCheck");
    todoCheck_ = named(new QCheckBox("To-do tasks?", this), "todoCheck");

    okButton_ = named(new QPushButton("OK", this), "okButton");
    okButton_->setDefault(true);
    cancelButton_ = named(new QPushButton("Cancel", this), "cancelButton");
    cancelButton_->setAutoDefault(false);

    auto* dates = new QGridLayout;
    dates->setContentsMargins(20, 0, 0, 0);
    dates->addWidget(fromLabel_, 0, 0);
    dates->addWidget(fromEdit_, 0, 1);
    dates->addWidget(toLabel_, 1, 0);
    dates->addWidget(toEdit_, 1, 1);
    auto* category = new QHBoxLayout;
    category->addWidget(categoryCheck_);
    category->addWidget(categoryBox_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(okButton_);
    buttons->addWidget(cancelButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title_);
    layout->addWidget(allRadio_);
    layout->addWidget(rangeRadio_);
    layout->addLayout(dates);
    layout->addLayout(category);
    layout->addWidget(notDoneCheck_);
    layout->addWidget(doneCheck_);
    layout->addWidget(todoCheck_);
    layout->addStretch(1);
    layout->addLayout(buttons);
    // The window fits what it shows as the date boxes and the category list come and go.
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(rangeRadio_, &QRadioButton::toggled, this, &PrintDialog::updateVisibility);
    connect(categoryCheck_, &QCheckBox::toggled, this, &PrintDialog::updateVisibility);
    connect(okButton_, &QPushButton::clicked, this, &PrintDialog::onOkClicked);
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);

    setMode(Mode::Printing);
    showSelection();
}

bool PrintDialog::askSelection(QWidget* window, AppState& state, Mode mode) {
    auto* dialog = window->findChild<PrintDialog*>("printDialog", Qt::FindDirectChildrenOnly);
    if (!dialog)
        dialog = new PrintDialog(state, window);
    return dialog->ask(mode);
}

bool PrintDialog::ask(Mode mode) {
    setMode(mode);
    return exec() == QDialog::Accepted;
}

void PrintDialog::setMode(Mode mode) {
    mode_ = mode;
    const bool printing = mode == Mode::Printing;
    const QString caption = printing ? "Print tasks" : "Clear tasks";
    setWindowTitle(caption);
    title_->setText(caption);
    allRadio_->setText(printing ? "Print All tasks" : "Clear All tasks");
    rangeRadio_->setText(printing ? "Print tasks within a range of dates"
                                  : "Clear tasks within a range of dates");
}

void PrintDialog::showSelection() {
    const PrintSelection& sel = state_.printSelection();
    allRadio_->setChecked(sel.allDates);
    rangeRadio_->setChecked(!sel.allDates);
    fromEdit_->setDate(toQDate(sel.fromDate));
    toEdit_->setDate(toQDate(sel.toDate));
    categoryCheck_->setChecked(sel.byCategory);
    categoryBox_->setCurrentIndex(
        sel.categories.empty() ? -1
                               : categoryBox_->findText(QString::fromStdString(sel.categories[0]),
                                                        Qt::MatchExactly | Qt::MatchCaseSensitive));
    doneCheck_->setChecked(sel.done);
    notDoneCheck_->setChecked(sel.notDone);
    todoCheck_->setChecked(sel.todo);
    updateVisibility();
}

PrintSelection PrintDialog::selectionFromControls() const {
    PrintSelection sel;
    sel.allDates = !rangeRadio_->isChecked();
    sel.fromDate = serialOfQDate(fromEdit_->date());
    sel.toDate = serialOfQDate(toEdit_->date());
    sel.byCategory = categoryCheck_->isChecked();
    if (categoryBox_->currentIndex() >= 0)
        sel.categories = {categoryBox_->currentText().toStdString()};
    sel.done = doneCheck_->isChecked();
    sel.notDone = notDoneCheck_->isChecked();
    sel.todo = todoCheck_->isChecked();
    return sel;
}

void PrintDialog::updateVisibility() {
    const bool range = rangeRadio_->isChecked();
    for (QWidget* w : std::initializer_list<QWidget*>{fromLabel_, fromEdit_, toLabel_, toEdit_})
        w->setVisible(range);
    categoryBox_->setVisible(categoryCheck_->isChecked());
}

void PrintDialog::onOkClicked() {
    const PrintSelection sel = selectionFromControls();
    if (const auto problem = checkPrintSelection(sel)) {
        state_.prompts().error(problem->message);
        switch (problem->field) {
        case SelectionProblem::Field::NotDone:
            notDoneCheck_->setFocus();
            break;
        case SelectionProblem::Field::ToDate:
            toEdit_->setFocus();
            break;
        case SelectionProblem::Field::Category:
            categoryBox_->setFocus();
            break;
        }
        return;
    }
    accept();
}

void PrintDialog::done(int result) {
    state_.printSelection() = selectionFromControls();
    QDialog::done(result);
}

void PrintDialog::showEvent(QShowEvent* e) {
    if (captionStyle_) {
        title_->setShadowDepth(captionStyle_->shadowDepth());
        title_->setTextColor(captionStyle_->textColor());
    }
    showSelection();
    QDialog::showEvent(e);
}

} // namespace dw
