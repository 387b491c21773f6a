#pragma once

#include "cli/command_run.h"

namespace dw::cli {

// find TEXT [--whole-word] [--match-case] [--up] [--filter]: every task the find dialog
// would stop at, in the order it stops at them from a fresh start (down from the first
// task, up from the last), one a line: ISO date, time, first line of the text, separated
// by tabs. --filter leaves out the tasks the saved filter hides, as the dialog does.
// Exit status 1 when nothing matches.
int findCommand(CommandRun& run);

} // namespace dw::cli
