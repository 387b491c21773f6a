#include "app/store/category_list_dialog.h"

#include "app/shell/app_prompts.h"
#include "app/widgets/dialog_frame.h"
#include "core/editing/task_edit.h"
#include "core/store/category_list.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace dw {

namespace {
QString q(const std::string& s) {
    return QString::fromStdString(s);
}
} // namespace

CategoryListDialog::CategoryListDialog(Prompts& prompts, QWidget* parent)
    : QDialog(parent), prompts_(prompts) {
    setWindowTitle("Edit Combo Box");

    entryList_ = new QListWidget(this);
    entryList_->setObjectName("entryList");
    entryList_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    entryList_->setMinimumSize(200, 220);
    connect(entryList_, &QListWidget::itemDoubleClicked, this, [this] { accept(); });

    auto button = [this](const char* name, const char* caption) {
        return dialogButton(this, name, caption);
    };
    addButton_ = button("addButton", "&Add");
    deleteButton_ = button("deleteButton", "&Delete");
    clearButton_ = button("clearButton", "&Clear");
    okButton_ = button("okButton", "OK");
    cancelButton_ = button("cancelButton", "Cancel");
    okButton_->setDefault(true);
    connect(addButton_, &QPushButton::clicked, this, &CategoryListDialog::addEntry);
    connect(deleteButton_, &QPushButton::clicked, this, &CategoryListDialog::removeEntry);
    connect(clearButton_, &QPushButton::clicked, this, &CategoryListDialog::clearEntries);
    connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);

    auto* side = new QVBoxLayout;
    side->addWidget(addButton_);
    side->addWidget(deleteButton_);
    side->addWidget(clearButton_);
    side->addStretch();
    side->addWidget(okButton_);
    side->addWidget(cancelButton_);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(entryList_, 1);
    layout->addLayout(side);

    // Fixed size, centred on the screen.
    setFixedSize(sizeHint());
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void CategoryListDialog::setEntries(const std::vector<std::string>& entries) {
    std::vector<std::string> sorted = entries;
    sortEntries(sorted);
    entryList_->clear();
    for (const auto& e : sorted)
        entryList_->addItem(q(e));
    entryList_->setCurrentItem(nullptr, QItemSelectionModel::Clear);
}

std::vector<std::string> CategoryListDialog::entries() const {
    std::vector<std::string> out;
    out.reserve(static_cast<std::size_t>(entryList_->count()));
    for (int i = 0; i < entryList_->count(); ++i)
        out.push_back(entryList_->item(i)->text().toStdString());
    return out;
}

void CategoryListDialog::selectEntry(const std::string& text) {
    entryList_->clearSelection();
    if (const auto at = findEntry(entries(), text))
        entryList_->setCurrentRow(static_cast<int>(*at), QItemSelectionModel::ClearAndSelect);
    else
        entryList_->setCurrentItem(nullptr, QItemSelectionModel::Clear);
}

std::optional<std::string> CategoryListDialog::currentEntry() const {
    // A list view makes its first row current when it merely takes the focus; only a row
    // the user chose (and so selected) counts.
    const QListWidgetItem* item = entryList_->currentItem();
    if (!item || !item->isSelected())
        return std::nullopt;
    return item->text().toStdString();
}

int CategoryListDialog::insertSorted(const std::string& entry) {
    int row = 0;
    while (row < entryList_->count() &&
           entryLess(entryList_->item(row)->text().toStdString(), entry))
        ++row;
    entryList_->insertItem(row, q(entry));
    return row;
}

void CategoryListDialog::addEntry() {
    std::string answer;
    if (!prompts_.inputText("Quick Pick", "New Quick Pick", answer))
        return;
    // One entry is one line of the list file.
    answer = singleLineText(answer);
    if (answer.empty() || findEntry(entries(), answer))
        return;
    const int row = insertSorted(answer);
    entryList_->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
    entryList_->setFocus();
}

void CategoryListDialog::removeEntry() {
    const auto selected = entryList_->selectedItems();
    if (selected.isEmpty()) {
        prompts_.error("Select one or more items");
        return;
    }
    for (QListWidgetItem* item : selected)
        delete entryList_->takeItem(entryList_->row(item));
    entryList_->setCurrentItem(nullptr, QItemSelectionModel::Clear);
    entryList_->setFocus();
}

void CategoryListDialog::clearEntries() {
    if (prompts_.askYesNo("Really clear out list?", ""))
        entryList_->clear();
}

bool editCategoryFile(QWidget* parent, Prompts& prompts, const std::string& dataDir) {
    CategoryListDialog dlg(prompts, parent);
    dlg.setWindowTitle("Edit Category Choices");
    dlg.setEntries(readListFile(categoryListPath(dataDir)));
    if (dlg.exec() != QDialog::Accepted)
        return false;
    return !showErrors(prompts, saveCategoryChoices(dlg.entries(), dataDir));
}

} // namespace dw
