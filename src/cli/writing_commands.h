#pragma once

#include "core/commands/write_commands.h"
#include "core/dates/clock.h"
#include "core/dates/format_settings.h"

#include <string>
#include <vector>

namespace dw::cli {

// Runs a writing command named by the first of `words` (everything after the data folder
// option): its arguments are read and checked first (UsageError for malformed ones; an
// unknown choice is answered with the valid ones). When the program runs on the data folder
// the words are handed to it and its answer is printed; else the command is applied here
// under the folder's lock, queued behind other writers of the command line. Answers the
// exit status.
int runWritingCommand(const WriteCommand& command, const std::vector<std::string>& words,
                      const std::string& dataDir, const FormatSettings& fs, const Clock& clock);

// A command of the table run with arguments that change nothing (recur without --add): its
// job runs here on an empty store, with no lock and no program asked. Answers the exit
// status.
int runWithoutWriting(const std::string& name, Args& args, const FormatSettings& fs,
                      const Clock& clock);

} // namespace dw::cli
