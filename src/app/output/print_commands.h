#pragma once

#include <QObject>

namespace dw {

class AppState;
class MainWindow;
class PrintDialog;

// The main window's print commands: File > "Print" (the tasks chosen in the print window),
// and "Print" of the day view and of the to-do list, each from its pane's pop-up menu and
// toolbar. Each goes through the print dialog.
class PrintCommands : public QObject {
    Q_OBJECT
public:
    PrintCommands(MainWindow& window, AppState& state);

    // The print window, then the print table: the admitted dated tasks, then the admitted
    // to-do tasks when "To-do tasks?" is on.
    void printChosenTasks();
    void printTodo();
    // The day view, titled with its date caption.
    void printDay();

    PrintDialog* printDialog() const { return printDialog_; }

private:
    void placeActions();

    MainWindow& window_;
    AppState& state_;
    PrintDialog* printDialog_ = nullptr;
};

} // namespace dw
