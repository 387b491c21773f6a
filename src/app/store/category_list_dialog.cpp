#include "app/store/category_list_dialog.h"

#include "core/editing/task_edit.h"
#include "core/prompts/prompts.h"
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

CategoryListDialog::CategoryListDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle("Edit Combo Box");

    entryList = new QListWidget(this);
    entryList->setObjectName("entryList");
    entryList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    entryList->setMinimumSize(200, 220);
    connect(entryList, &QListWidget::itemDoubleClicked, this, [this] { accept(); });

    auto button = [this](const char* name, const char* caption) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        return b;
    };
    addButton = button("addButton", "&Add");
    deleteButton = button("deleteButton", "&Delete");
    clearButton = button("clearButton", "&Clear");
    okButton = button("okButton", "OK");
    cancelButton = button("cancelButton", "Cancel");
    okButton->setDefault(true);
    connect(addButton, &QPushButton::clicked, this, &CategoryListDialog::addEntry);
    connect(deleteButton, &QPushButton::clicked, this, &CategoryListDialog::removeEntry);
    connect(clearButton, &QPushButton::clicked, this, &CategoryListDialog::clearEntries);
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);

    auto* side = new QVBoxLayout;
    side->addWidget(addButton);
    side->addWidget(deleteButton);
    side->addWidget(clearButton);
    side->addStretch();
    side->addWidget(okButton);
    side->addWidget(cancelButton);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(entryList, 1);
    layout->addLayout(side);

    // Fixed size, centred on the screen.
    setFixedSize(sizeHint());
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void CategoryListDialog::setEntries(const std::vector<std::string>& entries) {
    std::vector<std::string> sorted = entries;
    sortEntries(sorted);
    entryList->clear();
    for (const auto& e : sorted)
        entryList->addItem(q(e));
    entryList->setCurrentItem(nullptr, QItemSelectionModel::Clear);
}

std::vector<std::string> CategoryListDialog::entries() const {
    std::vector<std::string> out;
    out.reserve(static_cast<std::size_t>(entryList->count()));
    for (int i = 0; i < entryList->count(); ++i)
        out.push_back(entryList->item(i)->text().toStdString());
    return out;
}

void CategoryListDialog::selectEntry(const std::string& text) {
    entryList->clearSelection();
    if (const auto at = findEntry(entries(), text))
        entryList->setCurrentRow(static_cast<int>(*at), QItemSelectionModel::ClearAndSelect);
    else
        entryList->setCurrentItem(nullptr, QItemSelectionModel::Clear);
}

std::optional<std::string> CategoryListDialog::currentEntry() const {
    // A list view makes its first row current when it merely takes the focus; only a row
    // the user chose (and so selected) counts.
    const QListWidgetItem* item = entryList->currentItem();
    if (!item || !item->isSelected())
        return std::nullopt;
    return item->text().toStdString();
}

int CategoryListDialog::insertSorted(const std::string& entry) {
    int row = 0;
    while (row < entryList->count() && entryLess(entryList->item(row)->text().toStdString(), entry))
        ++row;
    entryList->insertItem(row, q(entry));
    return row;
}

void CategoryListDialog::addEntry() {
    std::string answer;
    if (!prompts().inputText("Quick Pick", "New Quick Pick", answer))
        return;
    // One entry is one line of the list file.
    answer = singleLineText(answer);
    if (answer.empty() || findEntry(entries(), answer))
        return;
    const int row = insertSorted(answer);
    entryList->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
    entryList->setFocus();
}

void CategoryListDialog::removeEntry() {
    const auto selected = entryList->selectedItems();
    if (selected.isEmpty()) {
        showError("Select one or more items");
        return;
    }
    for (QListWidgetItem* item : selected)
        delete entryList->takeItem(entryList->row(item));
    entryList->setCurrentItem(nullptr, QItemSelectionModel::Clear);
    entryList->setFocus();
}

void CategoryListDialog::clearEntries() {
    if (prompts().askYesNo("Really clear out list?", ""))
        entryList->clear();
}

bool editCategoryFile(QWidget* parent, const std::string& dataDir) {
    CategoryListDialog dlg(parent);
    dlg.setWindowTitle("Edit Category Choices");
    dlg.setEntries(readListFile(categoryListPath(dataDir)));
    if (dlg.exec() != QDialog::Accepted)
        return false;
    return SaveCombo(dlg.entries(), dataDir);
}

} // namespace dw
