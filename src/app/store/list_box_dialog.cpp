#include "app/store/list_box_dialog.h"

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

TfrmListBox::TfrmListBox(QWidget* parent) : QDialog(parent) {
    setWindowTitle("Edit Combo Box");

    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName("ListBox1");
    ListBox1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ListBox1->setMinimumSize(200, 220);
    connect(ListBox1, &QListWidget::itemDoubleClicked, this, [this] { accept(); });

    auto button = [this](const char* name, const char* caption) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        return b;
    };
    btAdd = button("btAdd", "&Add");
    btDel = button("btDel", "&Delete");
    btClear = button("btClear", "&Clear");
    btOK = button("btOK", "OK");
    btCancel = button("btCancel", "Cancel");
    btOK->setDefault(true);
    connect(btAdd, &QPushButton::clicked, this, &TfrmListBox::btAddClick);
    connect(btDel, &QPushButton::clicked, this, &TfrmListBox::btDelClick);
    connect(btClear, &QPushButton::clicked, this, &TfrmListBox::btClearClick);
    connect(btOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(btCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* side = new QVBoxLayout;
    side->addWidget(btAdd);
    side->addWidget(btDel);
    side->addWidget(btClear);
    side->addStretch();
    side->addWidget(btOK);
    side->addWidget(btCancel);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(ListBox1, 1);
    layout->addLayout(side);

    // Fixed size, centred on the screen.
    setFixedSize(sizeHint());
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TfrmListBox::setEntries(const std::vector<std::string>& entries) {
    std::vector<std::string> sorted = entries;
    sortEntries(sorted);
    ListBox1->clear();
    for (const auto& e : sorted)
        ListBox1->addItem(q(e));
    ListBox1->setCurrentItem(nullptr, QItemSelectionModel::Clear);
}

std::vector<std::string> TfrmListBox::entries() const {
    std::vector<std::string> out;
    out.reserve(static_cast<std::size_t>(ListBox1->count()));
    for (int i = 0; i < ListBox1->count(); ++i)
        out.push_back(ListBox1->item(i)->text().toStdString());
    return out;
}

void TfrmListBox::selectEntry(const std::string& text) {
    ListBox1->clearSelection();
    if (const auto at = findEntry(entries(), text))
        ListBox1->setCurrentRow(static_cast<int>(*at), QItemSelectionModel::ClearAndSelect);
    else
        ListBox1->setCurrentItem(nullptr, QItemSelectionModel::Clear);
}

std::optional<std::string> TfrmListBox::currentEntry() const {
    // A list view makes its first row current when it merely takes the focus; only a row
    // the user chose (and so selected) counts.
    const QListWidgetItem* item = ListBox1->currentItem();
    if (!item || !item->isSelected())
        return std::nullopt;
    return item->text().toStdString();
}

int TfrmListBox::insertSorted(const std::string& entry) {
    int row = 0;
    while (row < ListBox1->count() && entryLess(ListBox1->item(row)->text().toStdString(), entry))
        ++row;
    ListBox1->insertItem(row, q(entry));
    return row;
}

void TfrmListBox::btAddClick() {
    std::string answer;
    if (!prompts().inputText("Quick Pick", "New Quick Pick", answer))
        return;
    // One entry is one line of the list file.
    answer = singleLineText(answer);
    if (answer.empty() || findEntry(entries(), answer))
        return;
    const int row = insertSorted(answer);
    ListBox1->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
    ListBox1->setFocus();
}

void TfrmListBox::btDelClick() {
    const auto selected = ListBox1->selectedItems();
    if (selected.isEmpty()) {
        showError("Select one or more items");
        return;
    }
    for (QListWidgetItem* item : selected)
        delete ListBox1->takeItem(ListBox1->row(item));
    ListBox1->setCurrentItem(nullptr, QItemSelectionModel::Clear);
    ListBox1->setFocus();
}

void TfrmListBox::btClearClick() {
    if (prompts().askYesNo("Really clear out list?", ""))
        ListBox1->clear();
}

bool editCategoryFile(QWidget* parent, const std::string& dataDir) {
    TfrmListBox dlg(parent);
    dlg.setWindowTitle("Edit Category Choices");
    dlg.setEntries(readListFile(categoryListPath(dataDir)));
    if (dlg.exec() != QDialog::Accepted)
        return false;
    return SaveCombo(dlg.entries(), dataDir);
}

} // namespace dw
