#pragma once

#include "core/dates/clock.h"
#include "core/dates/format_settings.h"
#include "core/settings/settings_store.h"

#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace dw::cli {

// What the process around the command line supplies: main() brings the system's, a test
// its own.
struct Environment {
    // The data folder when no --data names one; empty when it cannot be found or made.
    // Asked only then, since finding it may create it.
    std::function<std::string()> defaultDataDir;
    // The locale's conventions, as the program itself takes them.
    FormatSettings formats;
    // The program's settings: the options, the saved filter.
    SettingsBackend& settings;
    UtcToLocal toLocal;
    // The process ends right after the command, so a command that only reads may leave
    // what it loaded to the operating system.
    bool exitFollows = false;
};

// Runs dayweaver-cli with `args` (the program's name left out), printing to `out` and
// `err`, and answers its exit status: 0 success, 1 a data problem, 2 a usage error (the
// message with the usage text), and the statuses of its own a command documents.
int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
        const Clock& clock, const Environment& env);

} // namespace dw::cli
