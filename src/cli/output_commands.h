#pragma once

#include "cli/command_run.h"
#include "core/output/print_selection.h"

namespace dw::cli {

// export day|todo|print|completed html|csv FILE [--date D] [selection options]: writes one
// table as the program's export commands do. "day" is the day view of D (default today)
// under the saved filter; "print" is the "Daily Tasks" table for the selection options.
int exportCommand(CommandRun& run);

// publish YYYY-MM FILE [--details]: the month's web page, with the saved filter.
int publishCommand(CommandRun& run);

// print FILE [--layout N] [options]: one of the four tables the program prints, as a PDF
// with that table's page layout and heading: 1 the day view of --date D (default today)
// under the saved filter, 2 the to-do list, 3 (the default) the print table of the tasks
// the selection options admit, 4 the completed tasks. Needs a QGuiApplication.
int printCommand(CommandRun& run);

// The print window's choices from the options --from D --to D, --done yes|no|all,
// --category C (repeatable), --no-todo.
PrintSelection printSelectionOf(const ParsedArgs& args, int today);

} // namespace dw::cli
