#pragma once

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
    explicit CategoryListDialog(QWidget* parent = nullptr);

    void setEntries(const std::vector<std::string>& entries);
    std::vector<std::string> entries() const;
    // Selects the entry equal to the text (letter case aside) and makes it current; an
    // unknown text selects nothing.
    void selectEntry(const std::string& text);
    // The entry the user last added or chose, while it is still selected.
    std::optional<std::string> currentEntry() const;

    QListWidget* entryList = nullptr;
    QPushButton* addButton = nullptr;
    QPushButton* deleteButton = nullptr;
    QPushButton* clearButton = nullptr;
    QPushButton* okButton = nullptr;
    QPushButton* cancelButton = nullptr;

    void addEntry();
    void removeEntry();
    void clearEntries();

private:
    int insertSorted(const std::string& entry);
};

// The "Categories" command: edits the category file's entries and, on OK, writes them in
// their sorted order. Answers whether the file was written.
bool editCategoryFile(QWidget* parent, const std::string& dataDir);

} // namespace dw
