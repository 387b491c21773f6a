#pragma once

#include "interchange/ical_import.h"

#include <QDialog>
#include <string>

class QDateEdit;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTreeWidget;

namespace dw {

class AppState;

// "Import iCalendar": the dates to take events from (a year back to two years ahead at
// first), the list of what will be added, and what was left out. OK adds the listed tasks,
// to-do tasks and holidays and saves their files. Made for one file and one use.
class IcalImportDialog : public QDialog {
    Q_OBJECT
public:
    IcalImportDialog(AppState& state, std::string fileText, const std::string& fileName,
                     const UtcToLocal& toLocal, QWidget* parent = nullptr);

    QDateEdit* fromEdit() const { return fromEdit_; }
    QDateEdit* toEdit() const { return toEdit_; }
    QTreeWidget* previewList() const { return previewList_; }
    QLabel* countLabel() const { return countLabel_; }
    QPlainTextEdit* notesView() const { return notesView_; }
    QPushButton* okButton() const { return okButton_; }

    const ImportPlan& plan() const { return plan_; }
    // Whether OK saved every table it changed.
    bool saved() const { return saved_; }

    // Reads the file again for the dates in the fields and lists what it would add.
    void refreshPreview();
    void accept() override;

private:
    void listPlan();

    AppState& state_;
    std::string fileText_;
    UtcToLocal toLocal_;
    ImportPlan plan_;
    bool saved_ = false;

    QDateEdit* fromEdit_ = nullptr;
    QDateEdit* toEdit_ = nullptr;
    QTreeWidget* previewList_ = nullptr;
    QLabel* countLabel_ = nullptr;
    QPlainTextEdit* notesView_ = nullptr;
    QPushButton* okButton_ = nullptr;
};

} // namespace dw
