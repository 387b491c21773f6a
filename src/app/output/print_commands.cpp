#include "app/output/print_commands.h"

#include "app/editing/day_notes.h"
#include "app/output/print_dialog.h"
#include "app/output/table_print_command.h"
#include "app/shell/app_state.h"
#include "app/shell/command_places.h"
#include "app/shell/main_actions.h"
#include "app/widgets/shadow_label.h"
#include "core/output/print_layout.h"
#include "core/output/print_selection.h"

#include <QAction>
#include <QMenu>
#include <QToolBar>

namespace dw {

PrintCommands::PrintCommands(const CommandPlaces& places, DayNotes& notes, ShadowLabel& dateCaption,
                             ShadowLabel& todoCaption, AppState& state)
    : QObject(places.window), window_(places.window), notes_(notes), dateCaption_(dateCaption),
      state_(state) {
    // Made at start-up and kept, so its choices last the run and its categories are read
    // once.
    printDialog_ = new PrintDialog(state_, window_);
    printDialog_->setCaptionStyle(&todoCaption);
    const MainActions& a = *places.actions;
    connect(a.print, &QAction::triggered, this, &PrintCommands::printChosenTasks);
    connect(a.printTodo, &QAction::triggered, this, &PrintCommands::printTodo);
    connect(a.printDay, &QAction::triggered, this, &PrintCommands::printDay);
    placeActions(places);
}

void PrintCommands::placeActions(const CommandPlaces& places) {
    const MainActions& a = *places.actions;
    if (places.dayMenu)
        places.dayMenu->addAction(a.printDay);
    if (places.todoMenu)
        places.todoMenu->addAction(a.printTodo);
    if (QToolBar* bar = places.dayToolBar)
        bar->addAction(a.printDay);
    if (QToolBar* bar = places.todoToolBar)
        bar->addAction(a.printTodo);
    if (QMenu* file = places.fileMenu)
        file->insertAction(a.hide, a.print);
    if (QToolBar* bar = places.mainToolBar)
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
    printTableWithDialog(window_, print, printTablePrintLayout(), state_.fs(), state_.clock(),
                         state_.prompts());
}

void PrintCommands::printTodo() {
    printTableWithDialog(window_, state_.store().gridNonday(),
                         todoPrintLayout(state_.options().gridFont), state_.fs(), state_.clock(),
                         state_.prompts());
}

void PrintCommands::printDay() {
    // The notes pane's edit is part of the day being printed.
    notes_.writeBack();
    const std::string title = dateCaption_.text().toStdString();
    printTableWithDialog(window_, state_.store().gridDay(),
                         dayViewPrintLayout(title, state_.options().gridFont), state_.fs(),
                         state_.clock(), state_.prompts());
}

} // namespace dw
