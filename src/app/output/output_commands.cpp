#include "app/output/output_commands.h"

#include "app/output/completed_tasks_window.h"
#include "app/output/export_commands.h"
#include "app/output/ical_commands.h"
#include "app/output/print_commands.h"
#include "app/shell/command_places.h"
#include "app/shell/main_actions.h"

#include <QAction>
#include <QMenu>
#include <QToolBar>

namespace dw {

void installOutputCommands(const CommandPlaces& places, SelectedDay selected, DayNotes& notes,
                           ShadowLabel& dateCaption, ShadowLabel& todoCaption, AppState& state) {
    new ExportCommands(places, selected, dateCaption, state);
    new IcalCommands(places, state);
    new PrintCommands(places, notes, dateCaption, todoCaption, state);

    // Made once and kept until exit, like the table it shows.
    auto* completed = new CompletedTasksWindow(state, places.window);
    completed->setObjectName("completedTasksWindow");
    completed->setCaptionStyle(&dateCaption);
    const MainActions& a = *places.actions;
    QObject::connect(a.completedTasks, &QAction::triggered, completed,
                     [completed] { completed->exec(); });
    if (QMenu* file = places.fileMenu)
        file->insertAction(a.hide, a.completedTasks);
    if (QToolBar* bar = places.mainToolBar)
        bar->insertAction(a.help, a.completedTasks);
}

} // namespace dw
