#include "cli/cli_run.h"

#include "cli/command_run.h"
#include "cli/command_table.h"
#include "core/commands/command_args.h"
#include "core/commands/listing_text.h"
#include "core/dates/date_parse.h"
#include "dayweaver_config.h"
#include "platform/data_dir.h"

namespace dw::cli {

namespace {

std::string dataDirOf(const ParsedArgs& args, const Environment& env) {
    if (const auto named = args.value("--data")) {
        if (!ensureDir(*named))
            throw DataError{"cannot use the data folder " + *named};
        return *named;
    }
    std::string found = env.defaultDataDir ? env.defaultDataDir() : std::string();
    if (found.empty())
        throw DataError{"cannot find or create the data folder"};
    return found;
}

} // namespace

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
        const Clock& clock, const Environment& env) {
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        out << usageText();
        return 0;
    }
    if (args.size() == 1 && args[0] == "--version") {
        out << "dayweaver-cli " << kVersion << '\n';
        return 0;
    }
    try {
        const CommandLine line = readCommandLine(args);
        const std::string dataDir = dataDirOf(line.args, env);
        FormatSettings fs = env.formats;
        fix2000(fs);
        const SettingsStore settings(env.settings);
        KeptObjects kept(env.exitFollows);
        CommandRun command{line.args, line.words, out,      err,         dataDir,
                           fs,        clock,      settings, env.toLocal, kept};
        return line.command->run(command);
    } catch (const UsageError& e) {
        err << "dayweaver-cli: " << withoutRawControls(e.message) << "\n\n" << usageText();
        return 2;
    } catch (const DataError& e) {
        err << "dayweaver-cli: " << withoutRawControls(e.message) << '\n';
        return 1;
    }
}

} // namespace dw::cli
