#pragma once

#include "cli/cli_args.h"
#include "core/dates/format_settings.h"

#include <string>
#include <vector>

namespace dw::cli {

// holidays import COUNTRY [--all | NAME...]: adds ready-made holidays of a country to
// holiday.grd as the import dialog does (at the top, in the reverse of the list's order) and
// prints each added row, one a line in list order: name, month number, month, rule, tab
// separated. A NAME is a holiday's name or its code ("Dec25"); a name that several entries
// share imports each of them. An unknown country or name writes nothing: the valid ones go
// to stderr, exit status 2. A file that cannot be read or saved: exit status 1.
// `reportedErrors` are the errors the core has reported so far (a failed save).
int holidaysImportCommand(Args& args, const std::string& dataDir, const FormatSettings& fs,
                          const std::vector<std::string>& reportedErrors);

} // namespace dw::cli
