#include "cli/output_commands.h"

#include "cli/alarms_command.h"
#include "core/calendar/captions.h"
#include "core/commands/command_args.h"
#include "core/dates/date_serial.h"
#include "core/holidays/holiday_rules.h"
#include "core/output/completed_tasks.h"
#include "core/output/print_layout.h"
#include "core/output/table_writers.h"
#include "core/output/web_calendar.h"
#include "core/settings/option_keys.h"
#include "core/store/helpers.h"
#include "core/store/task_store.h"
#include "core/store/text_codec.h"
#include "print/table_printer.h"

#include <array>
#include <ostream>

namespace dw::cli {

namespace {

// A data file that cannot be read stops the command before anything is written.
struct Unreadable {
    std::string message;
};

void load(CellTable& table, const std::string& path) {
    try {
        loadTableIfPresent(table, path, false);
    } catch (const TableFileError& e) {
        throw Unreadable{e.what()};
    }
}

int reportUnreadable(std::ostream& err, const Unreadable& u) {
    err << "dayweaver-cli: " << u.message << '\n';
    return 1;
}

// A file that cannot be written is the command's own failure: its message goes to stderr.
int reportUnwritten(std::ostream& err, const Status& written) {
    for (const std::string& message : written.messages())
        err << "dayweaver-cli: " << message << '\n';
    return written ? 0 : 1;
}

void loadStore(TaskStore& store) {
    try {
        store.loadStoreFile(false);
    } catch (const TableFileError& e) {
        throw Unreadable{e.what()};
    }
}

// The options that choose the print table's tasks: the program prints and exports the other
// tables whole.
constexpr std::array<std::string_view, 5> kSelectionOptions = {"--from", "--to", "--done",
                                                               "--category", "--no-todo"};

} // namespace

PrintSelection printSelectionOf(const ParsedArgs& args, int today) {
    PrintSelection sel = PrintSelection::startingOn(today);
    const auto from = args.value("--from");
    const auto to = args.value("--to");
    if (from || to) {
        sel.allDates = false;
        sel.fromDate = from ? parseIsoDate(*from) : today;
        sel.toDate = to ? parseIsoDate(*to) : sel.fromDate;
    }
    if (const auto done = args.value("--done")) {
        if (*done == "yes")
            sel.notDone = false;
        else if (*done == "no")
            sel.done = false;
        else if (*done != "all")
            throw UsageError{"--done takes yes, no or all"};
    }
    for (const std::string& category : args.values("--category")) {
        if (!isValidUtf8(category))
            throw UsageError{"a text is not valid UTF-8"};
        sel.byCategory = true;
        sel.categories.push_back(category);
    }
    if (args.flag("--no-todo"))
        sel.todo = false;
    if (const auto problem = checkPrintSelection(sel))
        throw UsageError{problem->message};
    return sel;
}

int exportCommand(CommandRun& run) {
    const FormatSettings& fs = run.fs;
    const int today = wholeDays(run.clock.now());
    const auto dateText = run.args.value("--date");
    const int date = dateText ? parseIsoDate(*dateText) : today;
    const std::string which = *run.args.positional(0);
    const std::string format = *run.args.positional(1);
    const std::string file = *run.args.positional(2);
    if (which != "print")
        if (const auto chooser = run.args.firstGiven(kSelectionOptions))
            throw UsageError{*chooser + " chooses the tasks of the print table; the other "
                                        "tables are exported whole"};
    const PrintSelection sel =
        which == "print" ? printSelectionOf(run.args, today) : PrintSelection{};
    if (format != "html" && format != "csv")
        throw UsageError{"unknown format: " + format};

    TaskStore store(fs, run.clock);
    store.setDataDir(run.dataDir);
    FilterState filter;
    CellTable table;
    try {
        if (which == "day") {
            loadStore(store);
            useSavedFilter(store, filter, run.dataDir, run.settings);
            store.readFromStore(date);
            table = store.gridDay();
        } else if (which == "todo") {
            load(store.gridNonday(), store.todoPath());
            table = store.gridNonday();
        } else if (which == "print") {
            loadStore(store);
            transferToPrintTable(table, store.gridStore(), sel, fs);
        } else if (which == "completed") {
            CompletedTasks completed(run.dataDir);
            load(completed.table(), completed.path());
            setCompletedHeaders(completed.table());
            table = completed.table();
        } else {
            throw UsageError{"unknown table: " + which};
        }
    } catch (const Unreadable& u) {
        return reportUnreadable(run.err, u);
    }
    return reportUnwritten(run.err, format == "html" ? writeHtmlTable(table, file)
                                                     : writeCommaDelimited(table, file));
}

int publishCommand(CommandRun& run) {
    const FormatSettings& fs = run.fs;
    const bool details = run.args.flag("--details");
    const std::string month = *run.args.positional(0);
    const std::string file = *run.args.positional(1);
    const int monthDate = parseIsoDate(month + "-01");

    TaskStore store(fs, run.clock);
    store.setDataDir(run.dataDir);
    CellTable holidays(4, 2);
    try {
        loadStore(store);
        load(holidays, joinPath(run.dataDir, "holiday.grd"));
    } catch (const Unreadable& u) {
        return reportUnreadable(run.err, u);
    }
    FilterState filter;
    useSavedFilter(store, filter, run.dataDir, run.settings);
    return reportUnwritten(
        run.err,
        publishWebCalendar(file, monthDate, webPageSources(store, holidays, fs), details, fs));
}

int printCommand(CommandRun& run) {
    const FormatSettings& fs = run.fs;
    const std::string& dataDir = run.dataDir;
    const int today = wholeDays(run.clock.now());
    const std::string layoutNumber = run.args.value("--layout").value_or("3");
    if (layoutNumber != "1" && layoutNumber != "2" && layoutNumber != "3" && layoutNumber != "4")
        throw UsageError{"--layout takes 1, 2, 3 or 4"};
    const auto dateText = run.args.value("--date");
    if (dateText && layoutNumber != "1")
        throw UsageError{"--date names the day view's date: it goes with --layout 1"};
    PrintSelection sel;
    if (layoutNumber == "3")
        sel = printSelectionOf(run.args, today);
    else if (run.args.firstGiven(kSelectionOptions))
        throw UsageError{"--from, --to, --done, --category and --no-todo choose the tasks of "
                         "--layout 3; layouts 1, 2 and 4 print the day view, the to-do list "
                         "and the completed tasks as the program does"};
    const int date = dateText ? parseIsoDate(*dateText) : today;
    const std::string file = *run.args.positional(0);

    TaskStore store(fs, run.clock);
    store.setDataDir(dataDir);
    const Options options = readOptions(run.settings, std::string(), false);
    CellTable table;
    PrintLayout layout;
    try {
        if (layoutNumber == "1") {
            // The day view of the date under the saved filter, titled with its date caption,
            // as the day's Print prints it.
            CellTable holidays(4, 2);
            loadStore(store);
            load(holidays, joinPath(dataDir, "holiday.grd"));
            FilterState filter;
            useSavedFilter(store, filter, dataDir, run.settings);
            store.readFromStore(date);
            table = store.gridDay();
            const DateCaption caption =
                dateCaptionFor(date, holidayForDate(holidays, date, fs), table.rowCount(),
                               options.shadows, fs, run.clock);
            layout = dayViewPrintLayout(caption.text, options.gridFont);
        } else if (layoutNumber == "2") {
            load(store.gridNonday(), store.todoPath());
            table = store.gridNonday();
            layout = todoPrintLayout(options.gridFont);
        } else if (layoutNumber == "3") {
            loadStore(store);
            if (sel.todo)
                load(store.gridNonday(), store.todoPath());
            transferToPrintTable(table, store.gridStore(), sel, fs);
            if (sel.todo)
                appendTodoToPrintTable(table, store.gridNonday(), sel);
            layout = printTablePrintLayout();
        } else {
            CompletedTasks completed(dataDir);
            load(completed.table(), completed.path());
            setCompletedHeaders(completed.table());
            table = completed.table();
            layout = completedPrintLayout();
        }
    } catch (const Unreadable& u) {
        return reportUnreadable(run.err, u);
    }
    if (printTableToPdf(file, table, layout, fs, run.clock) == 0) {
        run.err << "dayweaver-cli: cannot write " << file << '\n';
        return 1;
    }
    return 0;
}

} // namespace dw::cli
