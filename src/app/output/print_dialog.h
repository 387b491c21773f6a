#pragma once

#include "core/output/print_selection.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QPushButton;
class QRadioButton;

namespace dw {

class AppState;
class ShadowLabel;

// The print window: which tasks to print, or, in its clearing mode, which to clear. One
// window for the whole run, so its choices stay from one use to the next whatever the use;
// they live in AppState's PrintSelection, which the window edits. The category list is
// read once, when the window is made.
class PrintDialog : public QDialog {
    Q_OBJECT
public:
    enum class Mode { Printing, Clearing };

    PrintDialog(AppState& state, QWidget* parent = nullptr);

    // The print window kept by `window` (made on first use) asks for a selection in `mode`:
    // true when closed with OK, the choices then in state.printSelection().
    static bool askSelection(QWidget* window, AppState& state, Mode mode);

    // Shows the window modally in `mode`; true when closed with OK.
    bool ask(Mode mode);
    Mode mode() const { return mode_; }
    void setMode(Mode mode);
    // The caption that lends the title its shadow and colour (the "To-do Tasks" caption).
    void setCaptionStyle(ShadowLabel* source) { captionStyle_ = source; }

    ShadowLabel* title() const { return title_; }
    QRadioButton* allRadio() const { return allRadio_; }
    QRadioButton* rangeRadio() const { return rangeRadio_; }
    QDateEdit* fromEdit() const { return fromEdit_; }
    QDateEdit* toEdit() const { return toEdit_; }
    QCheckBox* categoryCheck() const { return categoryCheck_; }
    QComboBox* categoryBox() const { return categoryBox_; }
    QCheckBox* doneCheck() const { return doneCheck_; }
    QCheckBox* notDoneCheck() const { return notDoneCheck_; }
    QCheckBox* todoCheck() const { return todoCheck_; }
    QPushButton* okButton() const { return okButton_; }
    QPushButton* cancelButton() const { return cancelButton_; }

    // OK: the choices are checked; a fault is shown and the window stays open.
    void onOkClicked();
    // Every close keeps the choices, as the controls of a window kept for the run would.
    void done(int result) override;

protected:
    void showEvent(QShowEvent* e) override;

private:
    void showSelection();
    PrintSelection selectionFromControls() const;
    void updateVisibility();

    AppState& state_;
    Mode mode_ = Mode::Printing;
    ShadowLabel* captionStyle_ = nullptr;
    ShadowLabel* title_ = nullptr;
    QRadioButton* allRadio_ = nullptr;
    QRadioButton* rangeRadio_ = nullptr;
    QLabel* fromLabel_ = nullptr;
    QDateEdit* fromEdit_ = nullptr;
    QLabel* toLabel_ = nullptr;
    QDateEdit* toEdit_ = nullptr;
    QCheckBox* categoryCheck_ = nullptr;
    QComboBox* categoryBox_ = nullptr;
    QCheckBox* doneCheck_ = nullptr;
    QCheckBox* notDoneCheck_ = nullptr;
    QCheckBox* todoCheck_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
};

} // namespace dw
