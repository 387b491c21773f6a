#pragma once

#include "cli/command_run.h"

namespace dw::cli {

// ics export FILE: every dated task, to-do task and holiday as an iCalendar file; one line
// per object written.
// Lines: "task<TAB>date<TAB>HH:MM<TAB>first line" (no time for an all-day task),
// "todo<TAB><TAB><TAB>first line", "holiday<TAB>FREQ=YEARLY;...<TAB><TAB>name"; "ics import"
// prints the same lines (interchange/ical_import_command.h).
// Data problems: stderr, exit status 1.
int icsExportCommand(CommandRun& run);

} // namespace dw::cli
