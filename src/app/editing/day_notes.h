#pragma once

#include <QObject>

class QPlainTextEdit;
class QWidget;

namespace dw {

class AppState;
class CellGrid;
class NotesField;

// The notes pane under the day view: it takes as many characters as the editor's notes.
NotesField* makeNotesPane(QWidget* parent);

// The notes pane under the day view as the window and its commands use it: it shows the
// selected day row's text, and an edit typed into it goes back to that row (and to the
// store) when the pane loses the focus or when a command needs the day view whole.
class DayNotes : public QObject {
    Q_OBJECT
public:
    DayNotes(QPlainTextEdit& pane, CellGrid& gridDay, AppState& state, QObject* parent);

    // Refills the pane from the selected day row (hidden when no task is selected).
    void fill();
    // The pane's edit, if any, becomes the selected day row's text and is written back.
    void writeBack();

private:
    void showBlankLater();

    QPlainTextEdit& pane_;
    CellGrid& gridDay_;
    AppState& state_;
};

} // namespace dw
