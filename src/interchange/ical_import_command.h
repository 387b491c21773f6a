#pragma once

#include "core/commands/write_commands.h"

#include <vector>

namespace dw {

// ics import FILE [--from D] [--to D]: the calendar import as a writing command, run by the
// command line or handed to the running program. It reads the file when it is applied,
// adds what the tables do not hold yet and prints a line per object added; what was left
// out or shortened goes to stderr. Times with a zone become local with the context's
// conversion.
WriteJob prepareIcsImport(Args& args, const CommandContext& context);

// Every writing command: the core's (writeCommands()) and the calendar import, which needs
// the calendar library. The command line and the program look commands up here.
const std::vector<WriteCommand>& allWriteCommands();

} // namespace dw
