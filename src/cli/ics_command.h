#pragma once

#include "cli/cli_args.h"
#include "core/dates/clock.h"
#include "core/dates/format_settings.h"
#include "core/settings/settings_store.h"

#include <string>
#include <vector>

namespace dw::cli {

// ics export FILE: every dated task, to-do task and holiday as an iCalendar file; one line
// per object written.
// ics import FILE [--from D] [--to D]: adds the file's events within the dates (default a
// year back to two years ahead), its to-do tasks and our holidays, leaving out what is
// already there; one line per object added. What was left out or shortened goes to stderr.
// Lines: "task<TAB>date<TAB>HH:MM<TAB>first line" (no time for an all-day task),
// "todo<TAB><TAB><TAB>first line", "holiday<TAB>FREQ=YEARLY;...<TAB><TAB>name".
// Damaged files, refused dates and data problems: stderr, exit status 1.
// `reportedErrors` are the errors the core has reported so far (a failed save).
int icsCommand(Args& args, const std::string& dataDir, const FormatSettings& fs, const Clock& clock,
               const SettingsStore& settings, const std::vector<std::string>& reportedErrors);

} // namespace dw::cli
