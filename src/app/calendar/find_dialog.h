#pragma once

#include "core/calendar/find.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace dw {

class AppState;
class CalendarPane;
class CellGrid;
class PaneSplitter;

// The non-modal find dialog: a text, match case, whole word, a direction and Find Next.
// Each Find Next moves the main window to the date of the next task whose text matches
// (among the tasks the filter shows) and selects the task in the day view; a search that
// finds nothing says so and starts over. The window goes on working while it is open. It is
// made once and lives as long as the main window, which keeps the search position.
class FindDialog : public QDialog {
    Q_OBJECT
public:
    // Over `window`, at the corner where its splitters meet; it moves the calendars' date
    // and selects in the day view.
    FindDialog(QWidget& window, CalendarPane& calendars, PaneSplitter& split1, PaneSplitter& split2,
               CellGrid& gridDay, AppState& state);

    // The Find command: a fresh search, and the dialog on the screen or at the front.
    void startFind();
    // One step of the search, with the text and options as they stand.
    void findNext();

    QLineEdit* findTextEdit() const { return findText_; }
    QCheckBox* wholeWordCheck() const { return wholeWordCheck_; }
    QCheckBox* matchCaseCheck() const { return matchCaseCheck_; }
    QRadioButton* upButton() const { return upButton_; }
    QRadioButton* downButton() const { return downButton_; }
    QPushButton* findNextButton() const { return findNextButton_; }
    const FindSearch& search() const { return search_; }

protected:
    void showEvent(QShowEvent* e) override;
    void hideEvent(QHideEvent* e) override;

private:
    void placeAtSplitterCorner();
    void selectFoundTask(bool lastOfEqualTasks);

    CalendarPane& calendars_;
    PaneSplitter& split1_;
    PaneSplitter& split2_;
    CellGrid& gridDay_;
    AppState& state_;
    FindSearch search_;
    QLineEdit* findText_;
    QCheckBox* wholeWordCheck_;
    QCheckBox* matchCaseCheck_;
    QRadioButton* upButton_;
    QRadioButton* downButton_;
    QPushButton* findNextButton_;
    QPushButton* cancelButton_;
};

} // namespace dw
