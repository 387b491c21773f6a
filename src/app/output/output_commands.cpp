#include "app/output/output_commands.h"

#include "app/output/completed_tasks_window.h"
#include "app/output/export_commands.h"
#include "app/output/ical_commands.h"
#include "app/output/print_commands.h"
#include "app/shell/main_actions.h"
#include "app/shell/main_window.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

namespace dw {

void installOutputCommands(MainWindow& window, AppState& state) {
    new ExportCommands(window, state);
    new IcalCommands(window, state);
    new PrintCommands(window, state);

    // Made once and kept until exit, like the table it shows.
    auto* completed = new CompletedTasksWindow(state, &window);
    completed->setObjectName("completedTasksWindow");
    completed->setCaptionStyle(window.dateCaption());
    const MainActions& a = window.actions();
    QObject::connect(a.completedTasks, &QAction::triggered, completed,
                     [completed] { completed->exec(); });
    if (auto* file = window.menuBar()->findChild<QMenu*>("fileMenu"))
        file->insertAction(a.hide, a.completedTasks);
    if (QToolBar* bar = window.mainToolBar())
        bar->insertAction(a.help, a.completedTasks);
}

} // namespace dw
