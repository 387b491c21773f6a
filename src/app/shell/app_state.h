#pragma once

#include "app/shell/store_events.h"
#include "core/calendar/task_filter.h"
#include "core/dates/clock.h"
#include "core/dates/format_settings.h"
#include "core/output/completed_tasks.h"
#include "core/output/print_selection.h"
#include "core/prompts/prompts.h"
#include "core/settings/alarm_scheduler.h"
#include "core/settings/options.h"
#include "core/settings/settings_store.h"
#include "core/store/cell_table.h"
#include "core/store/task_store.h"

#include <memory>
#include <string>

namespace dw {

// Where the program is and where its data lives.
struct AppPaths {
    std::string programPath; // the program file
    std::string programDir;  // its folder
    std::string dataDir;     // the folder of the table files
    // The read-only files it ships (the default alarm sound); empty: the program's folder.
    std::string shippedDir{};
};

// Everything the program works on, owned by one object for the whole run: the locale's
// conventions (adjusted once at first show), the clock, the settings store, the options,
// the task tables and the holiday table. Windows edit it; everything else reads it. It also
// carries the prompts the run asks and tells through (the window's dialogs in the program,
// scripted answers in a test), which outlive it.
class AppState {
public:
    AppState(FormatSettings fs, std::unique_ptr<Clock> clock,
             std::unique_ptr<SettingsBackend> settingsBackend, AppPaths paths, Prompts& prompts);
    AppState(const AppState&) = delete;
    AppState& operator=(const AppState&) = delete;

    // The process's format settings; the store reads them by reference, so adjusting them
    // here reaches every text made from then on.
    FormatSettings& fs() { return fs_; }
    const Clock& clock() const { return *clock_; }
    const AppPaths& paths() const { return paths_; }
    // Every question, message and file dialog of the run.
    Prompts& prompts() { return prompts_; }

    SettingsBackend& settingsBackend() { return *settingsBackend_; }
    SettingsStore& settings() { return settings_; }

    Options& options() { return options_; }
    // Reads every option from the settings store (at start-up, before the windows).
    void loadOptions(bool autostartEntryExists);

    TaskStore& store() { return store_; }
    // Where every change to the tables is told once it is done; the views follow it.
    StoreEvents& storeEvents() { return storeEvents_; }
    CellTable& gridHoliday() { return gridHoliday_; }
    std::string holidayPath() const;

    // The completed tasks with their completion notes (gridComp.grd).
    CompletedTasks& completedTasks() { return completed_; }

    // The task filter every dated-task query of the store asks; the filter window edits it.
    FilterState& filter() { return filter_; }
    // Reads the filter's categories and marks from the data folder and its boxes from the
    // settings (at start-up, when the filter window is created).
    void loadFilter();

    // The print window's choices, shared by printing, clearing and the "Daily Tasks"
    // export, and the print table they build.
    PrintSelection& printSelection() { return printSelection_; }
    CellTable& gridPrint() { return gridPrint_; }

    // Which alarms have been announced in this run.
    AlarmScheduler& alarms() { return alarms_; }
    // The alarm options as the alarm check reads them.
    AlarmSettings alarmSettings() const;

private:
    FormatSettings fs_;
    std::unique_ptr<Clock> clock_;
    std::unique_ptr<SettingsBackend> settingsBackend_;
    SettingsStore settings_;
    AppPaths paths_;
    Prompts& prompts_;
    Options options_;
    TaskStore store_;
    StoreEvents storeEvents_;
    CellTable gridHoliday_;
    CompletedTasks completed_;
    FilterState filter_;
    AlarmScheduler alarms_;
    PrintSelection printSelection_;
    CellTable gridPrint_;
};

} // namespace dw
