// dayweaver-cli: the scripting companion. Works on the program's data folder with the
// program's own store rules and the system locale, so its texts match the program's.
#include "cli/cli_run.h"
#include "cli/command_table.h"
#include "core/commands/command_args.h"
#include "core/store/cell_table.h"
#include "interchange/ical_import.h"
#include "platform/data_dir.h"
#include "platform/locale_settings.h"
#include "platform/qsettings_backend.h"
#include "platform/system_clock.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

namespace {

// Under the leak checker a command frees what it read, so that whatever it reports is a
// real leak and not a store left to the process's end on purpose.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kLeakChecked = true;
#else
constexpr bool kLeakChecked = false;
#endif

bool paints(const std::vector<std::string>& args) {
    try {
        return dw::cli::readCommandLine(args).command->paints;
    } catch (const dw::UsageError&) {
        return false; // reported when the command runs
    }
}

} // namespace

int main(int argc, char* argv[]) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    // Printing measures and paints text in the GUI's fonts; it shows no window, so the
    // offscreen platform serves with or without a display. The other commands stay
    // without a GUI.
    std::unique_ptr<QCoreApplication> app;
    if (paints(args)) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        // The platform's notices (no runtime folder, ...) are not the command's output.
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
            if (type == QtCriticalMsg || type == QtFatalMsg)
                std::cerr << text.toStdString() << '\n';
        });
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    // Each command ends soon after it loads: its tables may read their files' pages in place.
    dw::CellTable::setMapFilesWhenLoading(true);

    dw::QSettingsBackend settings;
    const dw::SystemClock clock;
    const dw::cli::Environment env{
        [] { return dw::resolveDataDir(QCoreApplication::applicationDirPath().toStdString()); },
        dw::systemFormatSettings(), settings, dw::systemLocalTime, !kLeakChecked};
    return dw::cli::run(args, std::cout, std::cerr, clock, env);
}
