#pragma once

#include "cli/command_run.h"
#include "core/calendar/task_filter.h"
#include "core/settings/settings_store.h"
#include "core/store/task_store.h"

#include <string>

namespace dw::cli {

// alarms --from "YYYY-MM-DD HH:MM" --to "YYYY-MM-DD HH:MM" [--lead MINUTES]
// [--checks-every SECONDS] [--stall FROM,TO]...: runs the program's alarm check over a
// simulated clock and prints each announcement as the program would make it, one a line:
// the check's time, the task's date, its time as stored, its first line, and "missed" when
// it fell due in a gap without checks. The store, the lead time, the master switch and the
// filter are read as the program reads them; --lead replaces the saved lead time.
int alarmsCommand(CommandRun& run);

// The saved filter (category.xxx, category.yyy and the Filter settings), set on the store.
// The filter must outlive the store's use of it.
void useSavedFilter(TaskStore& store, FilterState& filter, const std::string& dataDir,
                    const SettingsStore& settings);
// The line that ends a filtered agenda: how many of the date's tasks the filter hid.
std::string hiddenByFilterLine(const TaskStore& store, int date);

} // namespace dw::cli
