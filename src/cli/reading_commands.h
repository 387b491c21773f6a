#pragma once

#include "cli/command_run.h"

namespace dw::cli {

// The commands that list what the data folder holds. Each prints one record a line, its
// fields split by TABs, with stored control characters shown as escapes.

// agenda [DATE] [--filter]: the date's heading, then its tasks numbered as edit, done and
// delete take them; with --filter only those the saved filter shows, and how many it hid.
int agendaCommand(CommandRun& run);
// todo: the to-do tasks.
int todoCommand(CommandRun& run);
// holidays YEAR: each holiday of the year with its date.
int holidaysCommand(CommandRun& run);
// check: loads every data file into the table the program loads it into and reports on
// each; exit status 1 when one is damaged.
int checkCommand(CommandRun& run);

} // namespace dw::cli
