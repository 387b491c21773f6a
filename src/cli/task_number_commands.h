#pragma once

#include "cli/cli_args.h"
#include "core/dates/clock.h"
#include "core/dates/format_settings.h"

#include <string>
#include <vector>

namespace dw::cli {

// Commands that address a dated task by its date and its number in `agenda` (1 for the
// date's first task in store order, counting every task of the date, shown or filtered).
//   edit DATE N [--time HH:MM] [--text T] [--category C] [--alarm on|off]
//   done DATE N     marks it completed and records the completion
//   delete DATE N
// Each takes the data folder's write lock. `errors` collects what the core reported.
int editCommand(Args& args, const std::string& dataDir, const FormatSettings& fs,
                const Clock& clock, std::vector<std::string>& errors);
int doneCommand(Args& args, const std::string& dataDir, const FormatSettings& fs,
                const Clock& clock, std::vector<std::string>& errors);
int deleteCommand(Args& args, const std::string& dataDir, const FormatSettings& fs,
                  const Clock& clock, std::vector<std::string>& errors);

} // namespace dw::cli
