#include "app/output/print_commands.h"

#include "app/editing/task_commands.h"
#include "app/output/print_dialog.h"
#include "app/output/table_print_command.h"
#include "app/shell/app_state.h"
#include "app/shell/main_actions.h"
#include "app/shell/main_window.h"
#include "app/widgets/shadow_label.h"
#include "core/output/print_layout.h"
#include "core/output/print_selection.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

namespace dw {

PrintCommands::PrintCommands(MainWindow& window, AppState& state)
    : QObject(&window), window_(window), state_(state) {
    // Made at start-up and kept, so its choices last the run and its categories are read
    // once.
    printDialog_ = new PrintDialog(state_, &window_);
    printDialog_->setCaptionStyle(window_.todoCaption());
    const MainActions& a = window_.actions();
    connect(a.print, &QAction::triggered, this, &PrintCommands::printChosenTasks);
    connect(a.printTodo, &QAction::triggered, this, &PrintCommands::printTodo);
    connect(a.printDay, &QAction::triggered, this, &PrintCommands::printDay);
    placeActions();
}

void PrintCommands::placeActions() {
    const MainActions& a = window_.actions();
    if (TaskCommands* commands = window_.taskCommands()) {
        commands->dayMenu()->addAction(a.printDay);
        commands->todoMenu()->addAction(a.printTodo);
    }
    if (QToolBar* bar = window_.dayToolBar())
        bar->addAction(a.printDay);
    if (QToolBar* bar = window_.todoToolBar())
        bar->addAction(a.printTodo);
    if (auto* file = window_.menuBar()->findChild<QMenu*>("fileMenu"))
        file->insertAction(a.hide, a.print);
    if (QToolBar* bar = window_.mainToolBar())
        bar->insertAction(a.help, a.print);
}

void PrintCommands::printChosenTasks() {
    if (!printDialog_->ask(PrintDialog::Mode::Printing))
        return;
    const PrintSelection& sel = state_.printSelection();
    CellTable& print = state_.gridPrint();
    transferToPrintTable(print, state_.store().gridStore(), sel, state_.fs());
    if (sel.todo)
        appendTodoToPrintTable(print, state_.store().gridNonday(), sel);
    printTableWithDialog(&window_, print, printTablePrintLayout(), state_.fs(), state_.clock());
}

void PrintCommands::printTodo() {
    printTableWithDialog(&window_, state_.store().gridNonday(),
                         todoPrintLayout(state_.options().gridFont), state_.fs(), state_.clock());
}

void PrintCommands::printDay() {
    // The notes pane's edit is part of the day being printed.
    if (TaskCommands* commands = window_.taskCommands())
        commands->writeBackNotesPane();
    const ShadowLabel* caption = window_.dateCaption();
    const std::string title = caption ? caption->text().toStdString() : std::string();
    printTableWithDialog(&window_, state_.store().gridDay(),
                         dayViewPrintLayout(title, state_.options().gridFont), state_.fs(),
                         state_.clock());
}

} // namespace dw
