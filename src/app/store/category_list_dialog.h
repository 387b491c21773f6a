#pragma once

#include "core/prompts/prompts.h"

#include <QDialog>
#include <optional>
#include <string>
#include <vector>

class QListWidget;
class QPushButton;

namespace dw {

// The small dialog that edits a list of choices: entries always sorted without regard to
// letter case, several selectable at once, no two equal but for case.
class CategoryListDialog : public QDialog {
    Q_OBJECT
public:
    explicit CategoryListDialog(Prompts& prompts, QWidget* parent = nullptr);

    void setEntries(const std::vector<std::string>& entries);
    std::vector<std::string> entries() const;
    // Selects the entry equal to the text (letter case aside) and makes it current; an
    // unknown text selects nothing.
    void selectEntry(const std::string& text);
    // The entry the user last added or chose, while it is still selected.
    std::optional<std::string> currentEntry() const;

    QListWidget* entryList() const { return entryList_; }
    QPushButton* addButton() const { return addButton_; }
    QPushButton* deleteButton() const { return deleteButton_; }
    QPushButton* clearButton() const { return clearButton_; }
    QPushButton* okButton() const { return okButton_; }
    QPushButton* cancelButton() const { return cancelButton_; }

    // Delete: removes the selected entries (none selected: says so).
    void removeEntry();

private:
    void addEntry();
    void clearEntries();
    int insertSorted(const std::string& entry);

    Prompts& prompts_;

    QListWidget* entryList_ = nullptr;
    QPushButton* addButton_ = nullptr;
    QPushButton* deleteButton_ = nullptr;
    QPushButton* clearButton_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
};

// The "Categories" command: edits the category file's entries and, on OK, writes them in
// their sorted order. Answers whether the file was written.
bool editCategoryFile(QWidget* parent, Prompts& prompts, const std::string& dataDir);

} // namespace dw
