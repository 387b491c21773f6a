#pragma once

#include <QObject>

namespace dw {

class AppState;
class DayNotes;
class PrintDialog;
class ShadowLabel;
struct CommandPlaces;

// The main window's print commands: File > "Print" (the tasks chosen in the print window),
// and "Print" of the day view and of the to-do list, each from its pane's pop-up menu and
// toolbar. Each goes through the print dialog.
class PrintCommands : public QObject {
    Q_OBJECT
public:
    // The print window takes the to-do caption's look; the day view prints under the date
    // caption's text, with the notes pane's edit written back first.
    PrintCommands(const CommandPlaces& places, DayNotes& notes, ShadowLabel& dateCaption,
                  ShadowLabel& todoCaption, AppState& state);

    // The print window, then the print table: the admitted dated tasks, then the admitted
    // to-do tasks when "To-do tasks?" is on.
    void printChosenTasks();
    void printTodo();
    // The day view, titled with its date caption.
    void printDay();

    PrintDialog* printDialog() const { return printDialog_; }

private:
    void placeActions(const CommandPlaces& places);

    QWidget* window_;
    DayNotes& notes_;
    const ShadowLabel& dateCaption_;
    AppState& state_;
    PrintDialog* printDialog_ = nullptr;
};

} // namespace dw
