#pragma once

#include "cli/command_run.h"

namespace dw::cli {

// archive FILE: writes the dated tasks, the to-do tasks and the completed tasks of the data
// folder as an archive set (FILE, FILE's name with .AR2 and with .AR3; a FILE without an
// extension gets .arb) and prints the three file names, one a line.
int archiveCommand(CommandRun& run);

// restore FILE is a writing command (core/commands/write_commands): it is handed to a
// running program like add.

} // namespace dw::cli
