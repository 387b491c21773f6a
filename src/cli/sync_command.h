#pragma once

#include "cli/command_run.h"

namespace dw::cli {

// sync [--url URL] [--user USER] [--calendar PATH] [--netrc | --password-file FILE]
//      [--cacert FILE] [--dry-run] [--allow-deletions]
// Two-way sync of the data folder's tasks with the CalDAV calendar; the address, user and
// calendar default to the program's sync options. --cacert trusts the PEM certificates in
// FILE besides the system's. Prints one line per change; objects skipped are named on
// stderr. Exit 0 when everything synced, 4 when some objects were skipped, 3 when it
// stopped before changing anything because it would delete most of the tasks synced last
// time (--allow-deletions goes ahead), 1 on failure (an unreadable or certificate-less
// --cacert file included), with the reason on stderr.
int syncCommand(CommandRun& run);

} // namespace dw::cli
