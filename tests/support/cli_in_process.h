#pragma once

#include "cli/cli_run.h"
#include "core/dates/clock.h"
#include "core/dates/date_serial.h"
#include "core/dates/format_settings.h"
#include "core/settings/settings_store.h"
#include "platform/qsettings_backend.h"
#include "support/shell_run.h"

#include <QString>
#include <cstdint>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace dw::test {

// "Now" for the command line's tests: Wednesday 15 March 2000, noon.
inline DateSerial cliTestNow() {
    return dateSerialOf(2000, 3, 15) + 0.5;
}

// Moments in UTC, whatever the machine's time zone.
inline DateSerial utcAsLocal(std::int64_t utcSeconds) {
    return 25569.0 + static_cast<double>(utcSeconds) / 86400.0;
}

// dayweaver-cli's commands run in the test's own process on a data folder, with the en-US
// conventions, the clock at cliTestNow() and times in UTC, and the settings of the INI file
// `settingsFile`, written as the program writes its own (none: every setting at its
// default). The tests of what only a process of its own shows (the locks, the hand-over to
// a running program, the environment) run the real program instead.
class InProcessCli {
public:
    explicit InProcessCli(std::string dataDir, std::string settingsFile = {})
        : dataDir(std::move(dataDir)), settingsFile(std::move(settingsFile)) {}

    Result run(const std::vector<std::string>& args) const {
        MapSettingsBackend defaults;
        std::unique_ptr<QSettingsBackend> saved;
        if (!settingsFile.empty())
            saved = std::make_unique<QSettingsBackend>(QString::fromStdString(settingsFile));
        SettingsBackend& settings = saved ? static_cast<SettingsBackend&>(*saved) : defaults;
        const cli::Environment env{[this] { return dataDir; }, formats, settings, &utcAsLocal};
        std::ostringstream out;
        std::ostringstream err;
        const int status = cli::run(args, out, err, clock, env);
        return {status, out.str(), err.str()};
    }

    std::string dataDir;
    std::string settingsFile;
    FormatSettings formats = FormatSettings::enUS();
    FixedClock clock{cliTestNow()};
};

} // namespace dw::test
