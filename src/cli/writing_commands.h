#pragma once

#include "cli/command_run.h"

namespace dw::cli {

// Runs a writing command of the core's table (core/commands/write_commands.h), named by
// the first of the run's words: its arguments are read and checked first (UsageError for
// malformed ones; an unknown choice is answered with the valid ones). When the program
// runs on the data folder the words are handed to it and its answer is printed; else the
// command is applied here under the folder's lock, queued behind other writers of the
// command line. Arguments that change nothing (recur without --add) run the command's job
// here on an empty store, with no lock and no program asked. Answers the exit status.
int writingCommand(CommandRun& run);

} // namespace dw::cli
