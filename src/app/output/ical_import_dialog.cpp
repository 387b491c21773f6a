#include "app/output/ical_import_dialog.h"

#include "app/editing/date_fields.h"
#include "app/shell/app_prompts.h"
#include "app/shell/app_state.h"
#include "core/dates/date_format.h"

#include <QDateEdit>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace dw {

namespace {

QString q(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

IcalImportDialog::IcalImportDialog(AppState& state, std::string fileText,
                                   const std::string& fileName, const UtcToLocal& toLocal,
                                   QWidget* parent)
    : QDialog(parent), state_(state), fileText_(std::move(fileText)), toLocal_(toLocal) {
    setWindowTitle("Import iCalendar");

    auto* fileLabel =
        new QLabel("Tasks from " + QFileInfo(QString::fromStdString(fileName)).fileName(), this);
    const auto dateField = [&](const char* name, int date) {
        auto* field = new QDateEdit(toQDate(date), this);
        field->setObjectName(name);
        field->setCalendarPopup(true);
        field->setDisplayFormat(qtDisplayFormat(state_.fs().shortDateFormat));
        field->setMinimumDate(QDate(1753, 1, 1));
        connect(field, &QDateEdit::dateChanged, this, &IcalImportDialog::refreshPreview);
        return field;
    };
    const ImportRange range = defaultImportRange(wholeDays(state_.clock().now()));
    fromEdit_ = dateField("fromEdit", range.from);
    toEdit_ = dateField("toEdit", range.to);
    auto* fromLabel = new QLabel("Events &from", this);
    fromLabel->setBuddy(fromEdit_);
    auto* toLabel = new QLabel("&to", this);
    toLabel->setBuddy(toEdit_);

    previewList_ = new QTreeWidget(this);
    previewList_->setObjectName("previewList");
    previewList_->setHeaderLabels({"Date", "Time", "Category", "What"});
    previewList_->setRootIsDecorated(false);
    previewList_->setSelectionMode(QAbstractItemView::NoSelection);
    previewList_->header()->setStretchLastSection(true);
    countLabel_ = new QLabel(this);
    countLabel_->setObjectName("countLabel");
    notesView_ = new QPlainTextEdit(this);
    notesView_->setObjectName("notesView");
    notesView_->setReadOnly(true);
    notesView_->setMaximumHeight(80);

    okButton_ = new QPushButton("OK", this);
    okButton_->setDefault(true);
    auto* cancelButton = new QPushButton("Cancel", this);

    auto* rangeRow = new QHBoxLayout;
    rangeRow->addWidget(fromLabel);
    rangeRow->addWidget(fromEdit_);
    rangeRow->addWidget(toLabel);
    rangeRow->addWidget(toEdit_);
    rangeRow->addStretch(1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(countLabel_, 1);
    buttons->addWidget(okButton_);
    buttons->addWidget(cancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(fileLabel);
    layout->addLayout(rangeRow);
    layout->addWidget(new QLabel("To be added:", this));
    layout->addWidget(previewList_, 1);
    layout->addWidget(notesView_);
    layout->addLayout(buttons);
    resize(640, 420);

    connect(okButton_, &QPushButton::clicked, this, &IcalImportDialog::accept);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    refreshPreview();
}

void IcalImportDialog::refreshPreview() {
    plan_ = ImportPlan{};
    const ImportRange range{serialOfQDate(fromEdit_->date()), serialOfQDate(toEdit_->date())};
    std::string problem = importRangeError(range);
    if (problem.empty()) {
        try {
            TaskStore& store = state_.store();
            plan_ = planImport(readCalendar(fileText_, range, toLocal_), store.gridStore(),
                               store.gridNonday(), state_.gridHoliday(), state_.fs());
        } catch (const IcalFileError& e) {
            problem = e.what();
        }
    }
    listPlan();
    if (!problem.empty())
        countLabel_->setText(q(problem));
}

void IcalImportDialog::listPlan() {
    const FormatSettings& fs = state_.fs();
    previewList_->clear();
    QList<QTreeWidgetItem*> items;
    for (const ImportedTask& t : plan_.add.tasks)
        items << new QTreeWidgetItem({q(formatDateTime("ddddd", t.date, fs)),
                                      q(timeTextOf(t.minuteOfDay, fs)), q(t.category),
                                      q(summaryOfText(t.what))});
    for (const ImportedTodo& t : plan_.add.todos)
        items << new QTreeWidgetItem({"To-do", "", q(t.category), q(summaryOfText(t.what))});
    for (const ImportedHoliday& h : plan_.add.holidays)
        items << new QTreeWidgetItem(
            {"Holiday", "", "",
             q(h.name + " (" + fs.longMonthNames[static_cast<std::size_t>(h.rule.month - 1)] +
               ", " + holidayRuleText(h.rule, fs) + ")")});
    previewList_->addTopLevelItems(items);
    for (int c = 0; c < 3; ++c)
        previewList_->resizeColumnToContents(c);

    countLabel_->setText(
        QString("%1 to add, %2 already there").arg(items.size()).arg(plan_.duplicates));
    QStringList notes;
    for (const std::string& n : plan_.add.notes)
        notes << q(n);
    notesView_->setPlainText(notes.join('\n'));
    notesView_->setVisible(!notes.isEmpty());
    okButton_->setEnabled(!items.isEmpty());
}

void IcalImportDialog::accept() {
    if (!okButton_->isEnabled())
        return;
    saved_ = !showErrors(state_.prompts(), applyImport(plan_, state_.store(), state_.gridHoliday(),
                                                       state_.holidayPath(), state_.fs()));
    QDialog::accept();
}

} // namespace dw
