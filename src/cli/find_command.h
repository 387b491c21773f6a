#pragma once

#include "cli/cli_args.h"
#include "core/dates/clock.h"
#include "core/dates/format_settings.h"
#include "core/settings/settings_store.h"

#include <string>

namespace dw::cli {

// find TEXT [--whole-word] [--match-case] [--up] [--filter]: every task the find dialog
// would stop at, in the order it stops at them from a fresh start (down from the first
// task, up from the last), one a line: ISO date, time, first line of the text, separated
// by tabs. --filter leaves out the tasks the saved filter hides, as the dialog does.
// Exit status 1 when nothing matches.
int findCommand(Args& args, const std::string& dataDir, const FormatSettings& fs,
                const Clock& clock, const SettingsStore& settings);

} // namespace dw::cli
