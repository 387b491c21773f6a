#include "app/shell/window_composition.h"

#include "app/calendar/calendar_pane.h"
#include "app/calendar/find_dialog.h"
#include "app/calendar/hover_summary.h"
#include "app/calendar/selected_day.h"
#include "app/editing/day_notes.h"
#include "app/editing/editor_extras.h"
#include "app/editing/task_commands.h"
#include "app/holidays/holiday_commands.h"
#include "app/output/output_commands.h"
#include "app/output/print_dialog.h"
#include "app/output/table_print_command.h"
#include "app/settings/alarm_notifier.h"
#include "app/settings/options_dialog.h"
#include "app/shell/app_prompts.h"
#include "app/shell/app_state.h"
#include "app/shell/command_places.h"
#include "app/shell/command_server.h"
#include "app/shell/key_navigation.h"
#include "app/shell/main_actions.h"
#include "app/shell/main_window.h"
#include "app/shell/store_views.h"
#include "app/store/archive_commands.h"
#include "app/sync/sync_commands.h"
#include "app/widgets/cell_grid.h"
#include "app/widgets/timer_switch.h"

#include <QAction>
#include <QApplication>
#include <QPlainTextEdit>

namespace dw {

WindowComposition::WindowComposition(AppState& state) : state_(state) {
    window_ = std::make_unique<MainWindow>(state_);
    MainWindow& w = *window_;
    // The filter's state is read where the filter window was created, before the options.
    state_.loadFilter();
    const AppPaths& paths = state_.paths();
    options_ = std::make_unique<OptionsDialog>(
        state_.options(), state_.settings(), state_.prompts(), paths.programPath,
        paths.shippedDir.empty() ? paths.programDir : paths.shippedDir, &w);
    w.setOptionsWindow(options_.get());
    buildCommands();
    // The completed tasks are read where their window is created, before anything can
    // add to them: a completion saves the whole table at once.
    showErrors(state_.prompts(), state_.completedTasks().load());
    commandServer_ = std::make_unique<CommandServer>(
        *w.gridDay(), *w.gridNonday(), w.dayNotes(), [&w] { return openHolidayList(w); }, state_);
}

WindowComposition::~WindowComposition() = default;

void WindowComposition::buildCommands() {
    MainWindow& w = *window_;
    const MainActions& a = w.actions();
    WindowState& windowState = w.windowState();
    DayNotes& notes = w.dayNotes();
    CalendarPane& calendars = *w.calendarPane();

    // Clear all asks which tasks go through the print window in its clearing mode, which
    // edits the run's one selection (the one passed here).
    new ArchiveCommands(w, a, notes, state_, [&w, this](PrintSelection&) {
        return PrintDialog::askSelection(&w, state_, PrintDialog::Mode::Clearing);
    });
    // Its result sits at the right of the status bar, beside the clock.
    new SyncCommands(w, a, notes, state_);

    taskCommands_ = new TaskCommands(TaskViews{&w, &a, w.gridDay(), w.gridNonday(), w.dateCaption(),
                                               &calendars, &notes, &windowState},
                                     state_);
    equipTaskEditors(*taskCommands_, state_, &w,
                     [selected = SelectedDay(calendars)] { return selected.date(); });

    const CommandPlaces places{&w,
                               &a,
                               w.fileMenu(),
                               w.mainToolBar(),
                               w.dayToolBar(),
                               w.todoToolBar(),
                               taskCommands_->dayMenu(),
                               taskCommands_->todoMenu()};
    installOutputCommands(places, SelectedDay(calendars), notes, *w.dateCaption(), *w.todoCaption(),
                          state_);
    installHolidayCommands(places, windowState, calendars, state_,
                           [&w, this](const CellTable& table, const PrintLayout& layout) {
                               printTableWithDialog(&w, table, layout, state_.fs(), state_.clock(),
                                                    state_.prompts());
                           });

    alarms_ = new AlarmNotifier(w, w.tray(), TimerSwitch(*w.timerPool(), w.panelColorTrigger()),
                                windowState, options_.get(), state_);
    w.setAlarmCheck([this] { alarms_->runCheck(); });
    w.setPanelFlash([this] { alarms_->flashPanel(); });
    w.setAlarmClear([this] { alarms_->clearAlarm(); });

    hover_ = new HoverSummary(
        HoverSummary::Views{&w, &a, &calendars, w.split1(), w.dateCaption(), w.gridDay(),
                            w.notesPane(), w.todoCaption(), w.gridNonday(), w.mainToolBar()},
        TimerSwitch(*w.timerPool(), w.hoverTrigger()), windowState, options_.get(), state_);
    w.setHoverTick([this] { hover_->tick(); });
    w.setOptionsFollower([this] { hover_->syncMenu(); });

    connectStoreViews(StoreViews{&w, w.gridDay(), w.gridNonday(), &w.paneLayout(), &calendars,
                                 hover_, &notes, [&w] { w.updateCaptions(); }, &windowState},
                      state_);

    QObject::connect(a.find, &QAction::triggered, &w, [this] { showFind(); });
    // Installed last, so the window's key rules come before every other watcher's.
    keyNavigation_ =
        new KeyNavigation(w,
                          KeyNavigation::Views{&a, &calendars, w.gridDay(), w.gridNonday(),
                                               w.notesPane(), w.statusLabel()},
                          *taskCommands_, *hover_, state_);
    qApp->installEventFilter(keyNavigation_);
}

void WindowComposition::showFind() {
    MainWindow& w = *window_;
    if (!findDialog_)
        findDialog_ =
            new FindDialog(w, *w.calendarPane(), *w.split1(), *w.split2(), *w.gridDay(), state_);
    findDialog_->startFind();
}

} // namespace dw
