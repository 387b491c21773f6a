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
// Lines: "task<TAB>date<TAB>HH:MM<TAB>first line" (no time for an all-day task),
// "todo<TAB><TAB><TAB>first line", "holiday<TAB>FREQ=YEARLY;...<TAB><TAB>name"; "ics import"
// prints the same lines (interchange/ical_import_command.h).
// Data problems: stderr, exit status 1.
int icsCommand(Args& args, const std::string& dataDir, const FormatSettings& fs, const Clock& clock,
               const SettingsStore& settings);

} // namespace dw::cli
