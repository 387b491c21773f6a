// dayweaver-cli: the scripting companion. Works on the program's data folder with the
// program's own store rules and the system locale, so its texts match the program's.
#include "cli/alarms_command.h"
#include "cli/archive_command.h"
#include "cli/cli_args.h"
#include "cli/find_command.h"
#include "cli/ics_command.h"
#include "cli/output_commands.h"
#include "cli/sync_command.h"
#include "cli/writing_commands.h"
#include "core/calendar/relative_date.h"
#include "core/commands/listing_text.h"
#include "core/dates/date_format.h"
#include "core/dates/date_parse.h"
#include "core/holidays/holiday_rules.h"
#include "core/holidays/holiday_table.h"
#include "core/output/completed_tasks.h"
#include "core/store/file_io.h"
#include "core/store/helpers.h"
#include "core/store/task_limits.h"
#include "core/store/task_store.h"
#include "core/store/text_codec.h"
#include "dayweaver_config.h"
#include "interchange/ical_import_command.h"
#include "platform/data_dir.h"
#include "platform/data_lock.h"
#include "platform/locale_settings.h"
#include "platform/qsettings_backend.h"
#include "platform/system_clock.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <algorithm>
#include <cstdio>
#include <iostream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace dw::cli {
namespace {

const char* kUsage = "Usage: dayweaver-cli [--data DIR] COMMAND [ARGS]\n"
                     "\n"
                     "Commands:\n"
                     "  agenda [DATE] [--filter] the tasks of a date (default today); with\n"
                     "                           --filter only those the saved filter shows\n"
                     "                           (numbered: N below is that number)\n"
                     "  edit DATE N [--time TIME] [--text T] [--category C] [--alarm on|off]\n"
                     "                           change the date's task N\n"
                     "  done DATE N              mark the date's task N completed\n"
                     "  delete DATE N            delete the date's task N\n"
                     "                           (each prints the task as agenda lists it)\n"
                     "  add DATE TIME TEXT [--category C] [--alarm] [--done]\n"
                     "                           add a dated task\n"
                     "  todo                     list the to-do tasks\n"
                     "  todo add TEXT [--category C]\n"
                     "                           add a to-do task\n"
                     "  holidays YEAR            the holidays of a year\n"
                     "  holidays import COUNTRY [--all | NAME...]\n"
                     "                           add a country's ready-made holidays, all or\n"
                     "                           those named (a name or a code such as Dec25),\n"
                     "                           and print each added row\n"
                     "  check                    load every data file and report on it\n"
                     "  recur FROM TO PATTERN [--every N] [options]\n"
                     "        [--add TIME TEXT [--category C] [--alarm]]\n"
                     "                           the dates of a repeating task, FROM and TO\n"
                     "                           included, one a line; with --add a task on\n"
                     "                           each. PATTERN and its options:\n"
                     "                             daily [--avoid-sat] [--avoid-sun]  (N 1-364)\n"
                     "                             weekly --days mon,wed              (N 1-52)\n"
                     "                             days-of-month --days 1,15,31 [--avoid-sat]\n"
                     "                               [--avoid-sun]                    (N 1-12)\n"
                     "                             week-of-month --ordinals 1st,3rd,last\n"
                     "                               --days mon,fri                   (N 1-12)\n"
                     "                             annual\n"
                     "  alarms --from \"YYYY-MM-DD HH:MM\" --to \"YYYY-MM-DD HH:MM\"\n"
                     "        [--lead MINUTES] [--checks-every SECONDS] [--stall FROM,TO]...\n"
                     "                           the alarms the program announces over the\n"
                     "                           span (a check every 50 s, none in a stall),\n"
                     "                           one a line: check time, date, time, text,\n"
                     "                           and \"missed\" when it fell in a gap\n"
                     "  find TEXT [--whole-word] [--match-case] [--up] [--filter]\n"
                     "                           the tasks Find stops at, in its order: date,\n"
                     "                           time, first line of the text\n"
                     "  export day|todo|print|completed html|csv FILE [--date D]\n"
                     "        [--from D] [--to D] [--done yes|no|all] [--category C]...\n"
                     "        [--no-todo]           write a table as HTML or comma-delimited\n"
                     "                           text: the day view of D (default today)\n"
                     "                           under the saved filter, the to-do list,\n"
                     "                           the dated tasks chosen as in the print\n"
                     "                           window, or the completed tasks\n"
                     "  publish YYYY-MM FILE [--details]\n"
                     "                           the month as a web page\n"
                     "  ics export FILE          every task, to-do task and holiday as an\n"
                     "                           iCalendar file\n"
                     "  ics import FILE [--from D] [--to D]\n"
                     "                           add an iCalendar file's events within the\n"
                     "                           dates (default a year back to two years\n"
                     "                           ahead), its to-do tasks and holidays, less\n"
                     "                           what is already there. Both print a line per\n"
                     "                           object: kind, date, time, first line\n"
                     "  print FILE [--layout N] [--date D] [--from D] [--to D]\n"
                     "        [--done yes|no|all] [--category C]... [--no-todo]\n"
                     "                           print a table to a PDF file as the program\n"
                     "                           prints it, with its page layout and heading.\n"
                     "                           N: 1 the day view of D (default today) under\n"
                     "                           the saved filter, 2 the to-do list, 3 the\n"
                     "                           tasks chosen as in the print window, dated\n"
                     "                           ones then to-do ones (default; the only\n"
                     "                           layout the choosing options go with), 4 the\n"
                     "                           completed tasks\n"
                     "  archive FILE             write the dated, to-do and completed tasks\n"
                     "                           to FILE (.arb when it has no extension) and\n"
                     "                           its .AR2 and .AR3 companions; prints the\n"
                     "                           three names, one a line\n"
                     "  restore FILE             replace all three task tables by an\n"
                     "                           archive's, all or nothing\n"
                     "  sync [--url URL] [--user USER] [--calendar PATH]\n"
                     "       [--netrc | --password-file FILE] [--cacert FILE]\n"
                     "       [--dry-run] [--allow-deletions]\n"
                     "                           two-way sync with a CalDAV calendar, one\n"
                     "                           line per change sent or received; URL,\n"
                     "                           USER and PATH default to the sync options;\n"
                     "                           --cacert also trusts the PEM certificates\n"
                     "                           in FILE (a server with its own authority);\n"
                     "                           it stops (exit 3) rather than delete most\n"
                     "                           of what it synced last time on one side,\n"
                     "                           unless --allow-deletions; exit 4 when some\n"
                     "                           objects were skipped\n"
                     "\n"
                     "Dates are YYYY-MM-DD. A TIME is H:MM or HH:MM, 24-hour (9:00, 21:30),\n"
                     "or 12-hour with am or pm (9:30pm, 9:30 PM, 12:00 AM). Texts take TABs\n"
                     "and line breaks but no other control characters; listings show those\n"
                     "already stored as \\xHH. DIR defaults to the program's data folder.\n"
                     "While the program runs on the folder, add, todo add, recur --add,\n"
                     "edit, done, delete, restore, holidays import and ics import are handed\n"
                     "to it, and it shows and saves what they change; sync, but for a dry\n"
                     "run, is refused: the program syncs itself.\n"
                     "Exit status: 0 success, 1 data problem, 2 usage error; sync also 3 (stopped\n"
                     "before deleting) and 4 (some objects skipped).\n";

// A problem with the data: the message goes to stderr, exit status 1.
struct DataError {
    std::string message;
};

struct Context {
    std::string dataDir;
    FormatSettings fs;
    SystemClock clock;
};

// A command stops at a file it cannot read and writes nothing, so nothing is lost and no
// copy of the damaged file is needed.
template <typename Load> void loading(Load&& load) {
    try {
        load();
    } catch (const TableFileError& e) {
        throw DataError{e.what()};
    }
}

void load(CellTable& table, const std::string& path) {
    loading([&] { loadTableIfPresent(table, path, false); });
}

// A command that only reads leaves its tables to the operating system at exit: freeing a
// large store piece by piece would cost more than the query itself.
template <typename T, typename... A> T& keptUntilExit(A&&... args) {
    return *new T(std::forward<A>(args)...);
}

int agenda(Context& ctx, Args& args) {
    const bool filtered = args.takeFlag("--filter");
    const auto dateArg = args.takePositional();
    args.expectEnd();
    const int date = dateArg ? parseIsoDate(*dateArg) : wholeDays(ctx.clock.now());

    TaskStore& store = keptUntilExit<TaskStore>(ctx.fs, ctx.clock);
    store.setDataDir(ctx.dataDir);
    CellTable& holidays = keptUntilExit<CellTable>(4, 2);
    // Only the date's rows: the rest of a large store is never looked at.
    loading([&] { store.loadStoreFileForDate(date); });
    load(holidays, joinPath(ctx.dataDir, "holiday.grd"));
    QSettingsBackend settingsBackend;
    const SettingsStore settings(settingsBackend);
    FilterState filter;
    if (filtered)
        useSavedFilter(store, filter, ctx.dataDir, settings);

    std::string head =
        formatDateTime("ddd ddddd", date, ctx.fs) + "  " + relativeDateText(date, ctx.clock);
    const std::string holiday = holidayForDate(holidays, date, ctx.fs);
    if (!holiday.empty())
        head += "  " + holiday;
    std::cout << visibleField(head) << '\n';
    // The numbers edit, done and delete take.
    const std::vector<int> numbered = numberedTaskRows(store, date);
    store.forEachVisibleRow(date, [&](int r) {
        const auto number = std::find(numbered.begin(), numbered.end(), r) - numbered.begin() + 1;
        std::cout << agendaLine(static_cast<int>(number), store.gridStore(), r);
    });
    if (filtered)
        std::cout << hiddenByFilterLine(store, date) << '\n';
    return 0;
}

int todo(Context& ctx, Args& args) {
    TaskStore store(ctx.fs, ctx.clock);
    store.setDataDir(ctx.dataDir);
    CellTable& t = store.gridNonday();
    const auto sub = args.takePositional();
    if (!sub) {
        load(t, store.todoPath());
        for (int r = 1; r < t.rowCount(); ++r)
            if (isTodoRowOccupied(t, r))
                std::cout << todoLine(t, r);
        return 0;
    }
    // "todo add" is a writing command (core/commands/write_commands.h).
    throw UsageError{"unknown todo command: " + *sub};
}

int holidays(Context& ctx, Args& args) {
    const std::string yearText = args.requirePositional("YEAR");
    // "holidays import" is a writing command (core/commands/write_commands.h).
    args.expectEnd();
    int year = 0;
    if (yearText.empty() || yearText.size() > 4 ||
        yearText.find_first_not_of("0123456789") != std::string::npos ||
        (year = std::stoi(yearText)) < 1)
        throw UsageError{"not a year: " + yearText};
    CellTable table(4, 2);
    load(table, joinPath(ctx.dataDir, "holiday.grd"));
    const int first = dateSerialOf(year, 1, 1);
    const int last = dateSerialOf(year, 12, 31);
    for (int d = first; d <= last; ++d) {
        const std::string name = holidayForDate(table, d, ctx.fs);
        if (!name.empty())
            std::cout << isoDate(d) << '\t' << visibleField(name) << '\n';
    }
    return 0;
}

int check(Context& ctx, Args& args) {
    args.expectEnd();
    int status = 0;
    // Each file into the table the program loads it into: that table knows what a whole
    // file of its own looks like, and what is cut short.
    const std::pair<const char*, CellTable (*)(const FormatSettings&)> files[] = {
        {"grid.grd", [](const FormatSettings& fs) { return makeGridStore(fs); }},
        {"gridNon.grd", [](const FormatSettings&) { return makeGridNonday(); }},
        {"holiday.grd", [](const FormatSettings&) { return makeHolidayTable(); }},
        {"gridComp.grd", [](const FormatSettings&) { return CompletedTasks().table(); }},
    };
    for (const auto& [name, make] : files) {
        const std::string path = joinPath(ctx.dataDir, name);
        // A folder under a data file's name is reported, not skipped as a missing file.
        if (!pathExists(path))
            continue;
        CellTable& table = keptUntilExit<CellTable>(make(ctx.fs));
        try {
            table.loadTable(path);
            std::cout << name << ": ok, " << table.rowCount() - 1 << " data rows\n";
        } catch (const TableFileError& e) {
            std::cout << name << ": " << withoutRawControls(e.what()) << '\n';
            status = 1;
        }
    }
    return status;
}

int run(int argc, char* argv[]) {
    std::vector<std::string> raw(argv + 1, argv + argc);
    if (raw.size() == 1 && (raw[0] == "--help" || raw[0] == "-h")) {
        std::cout << kUsage;
        return 0;
    }
    if (raw.size() == 1 && raw[0] == "--version") {
        std::cout << "dayweaver-cli " << kVersion << '\n';
        return 0;
    }
    try {
        Args args(raw);
        Context ctx;
        const auto dataOption = args.takeOption("--data");
        // The words a running program is handed for a writing command.
        const std::vector<std::string> words = args.remaining();
        const WriteCommand* writing = takeWriteCommand(args, allWriteCommands());
        const std::string command = writing ? std::string() : args.requirePositional("COMMAND");
        if (dataOption) {
            ctx.dataDir = *dataOption;
            if (!ensureDir(ctx.dataDir))
                throw DataError{"cannot use the data folder " + ctx.dataDir};
        } else {
            ctx.dataDir = resolveDataDir(QCoreApplication::applicationDirPath().toStdString());
            if (ctx.dataDir.empty())
                throw DataError{"cannot find or create the data folder"};
        }
        ctx.fs = systemFormatSettings();
        fix2000(ctx.fs);

        if (writing)
            return runWritingCommand(*writing, words, ctx.dataDir, ctx.fs, ctx.clock);
        if (command == "agenda")
            return agenda(ctx, args);
        if (command == "todo")
            return todo(ctx, args);
        if (command == "holidays")
            return holidays(ctx, args);
        if (command == "check")
            return check(ctx, args);
        if (command == "alarms") {
            QSettingsBackend settingsBackend;
            return alarmsCommand(args, ctx.dataDir, ctx.fs, ctx.clock,
                                 SettingsStore(settingsBackend));
        }
        if (command == "find") {
            QSettingsBackend settingsBackend;
            return findCommand(args, ctx.dataDir, ctx.fs, ctx.clock,
                               SettingsStore(settingsBackend));
        }
        if (command == "export" || command == "publish") {
            QSettingsBackend settingsBackend;
            const SettingsStore settings(settingsBackend);
            return command == "export"
                       ? exportCommand(args, ctx.dataDir, ctx.fs, ctx.clock, settings)
                       : publishCommand(args, ctx.dataDir, ctx.fs, ctx.clock, settings);
        }
        if (command == "ics") {
            QSettingsBackend settingsBackend;
            return icsCommand(args, ctx.dataDir, ctx.fs, ctx.clock, SettingsStore(settingsBackend));
        }
        if (command == "print") {
            QSettingsBackend settingsBackend;
            return printCommand(args, ctx.dataDir, ctx.fs, ctx.clock,
                                SettingsStore(settingsBackend));
        }
        if (command == "archive")
            return archiveCommand(args, ctx.dataDir, ctx.fs, ctx.clock);
        if (command == "sync")
            return syncCommand(args, ctx.dataDir, ctx.fs, ctx.clock);
        if (command == "recur")
            return runWithoutWriting(command, args, ctx.fs, ctx.clock);
        throw UsageError{"unknown command: " + command};
    } catch (const UsageError& e) {
        std::cerr << "dayweaver-cli: " << withoutRawControls(e.message) << "\n\n" << kUsage;
        return 2;
    } catch (const DataError& e) {
        std::cerr << "dayweaver-cli: " << withoutRawControls(e.message) << '\n';
        return 1;
    }
}

} // namespace
} // namespace dw::cli

namespace {

// The command word: the first argument that is not the data folder option.
bool isPrintCommand(int argc, char* argv[]) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--data") {
            ++i;
            continue;
        }
        return arg == "print";
    }
    return false;
}

} // namespace

int main(int argc, char* argv[]) {
    // Printing measures and paints text in the GUI's fonts; it shows no window, so the
    // offscreen platform serves with or without a display. The other commands stay
    // without a GUI.
    std::unique_ptr<QCoreApplication> app;
    if (isPrintCommand(argc, argv)) {
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
    return dw::cli::run(argc, argv);
}
