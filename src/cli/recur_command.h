#pragma once

#include "cli/cli_args.h"
#include "core/dates/clock.h"
#include "core/dates/format_settings.h"

#include <string>
#include <vector>

namespace dw::cli {

// recur FROM TO PATTERN [options] [--add TIME TEXT [--category C] [--alarm]]: prints the
// generated dates, one ISO date a line in generation order, and with --add stores a task on
// each as the recurrence dialog's OK does. Refusals (the dialog's messages and limits) and
// data problems go to stderr with exit status 1; malformed arguments throw UsageError.
// `reportedErrors` are the errors the core has reported so far (a failed save).
int recurCommand(Args& args, const std::string& dataDir, const FormatSettings& fs,
                 const Clock& clock, const std::vector<std::string>& reportedErrors);

} // namespace dw::cli
