#include "cli/output_commands.h"

#include "cli/alarms_command.h"
#include "core/calendar/captions.h"
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

#include <iostream>

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

int reportUnreadable(const Unreadable& u) {
    std::cerr << "dayweaver-cli: " << u.message << '\n';
    return 1;
}

// A file that cannot be written is the command's own failure: its message goes to stderr.
int reportUnwritten(const Status& written) {
    for (const std::string& message : written.messages())
        std::cerr << "dayweaver-cli: " << message << '\n';
    return written ? 0 : 1;
}

void loadStore(TaskStore& store) {
    try {
        store.loadStoreFile(false);
    } catch (const TableFileError& e) {
        throw Unreadable{e.what()};
    }
}

} // namespace

PrintSelection takePrintSelection(Args& args, int today) {
    PrintSelection sel = PrintSelection::startingOn(today);
    const auto from = args.takeOption("--from");
    const auto to = args.takeOption("--to");
    if (from || to) {
        sel.allDates = false;
        sel.fromDate = from ? parseIsoDate(*from) : today;
        sel.toDate = to ? parseIsoDate(*to) : sel.fromDate;
    }
    if (const auto done = args.takeOption("--done")) {
        if (*done == "yes")
            sel.notDone = false;
        else if (*done == "no")
            sel.done = false;
        else if (*done != "all")
            throw UsageError{"--done takes yes, no or all"};
    }
    while (const auto category = args.takeOption("--category")) {
        if (!isValidUtf8(*category))
            throw UsageError{"a text is not valid UTF-8"};
        sel.byCategory = true;
        sel.categories.push_back(*category);
    }
    if (args.takeFlag("--no-todo"))
        sel.todo = false;
    if (const auto problem = checkPrintSelection(sel))
        throw UsageError{problem->message};
    return sel;
}

int exportCommand(Args& args, const std::string& dataDir, const FormatSettings& fs,
                  const Clock& clock, const SettingsStore& settings) {
    const int today = wholeDays(clock.now());
    const auto dateText = args.takeOption("--date");
    const int date = dateText ? parseIsoDate(*dateText) : today;
    const std::string which = args.requirePositional("TABLE (day, todo, print or completed)");
    const std::string format = args.requirePositional("FORMAT (html or csv)");
    const std::string file = args.requirePositional("FILE");
    const PrintSelection sel =
        which == "print" ? takePrintSelection(args, today) : PrintSelection{};
    args.expectEnd();
    if (format != "html" && format != "csv")
        throw UsageError{"unknown format: " + format};

    TaskStore store(fs, clock);
    store.setDataDir(dataDir);
    FilterState filter;
    CellTable table;
    try {
        if (which == "day") {
            loadStore(store);
            useSavedFilter(store, filter, dataDir, settings);
            store.readFromStore(date);
            table = store.gridDay();
        } else if (which == "todo") {
            load(store.gridNonday(), store.todoPath());
            table = store.gridNonday();
        } else if (which == "print") {
            loadStore(store);
            transferToPrintTable(table, store.gridStore(), sel, fs);
        } else if (which == "completed") {
            CompletedTasks completed(dataDir);
            load(completed.table(), completed.path());
            setCompletedHeaders(completed.table());
            table = completed.table();
        } else {
            throw UsageError{"unknown table: " + which};
        }
    } catch (const Unreadable& u) {
        return reportUnreadable(u);
    }
    return reportUnwritten(format == "html" ? writeHtmlTable(table, file)
                                            : writeCommaDelimited(table, file));
}

int publishCommand(Args& args, const std::string& dataDir, const FormatSettings& fs,
                   const Clock& clock, const SettingsStore& settings) {
    const bool details = args.takeFlag("--details");
    const std::string month = args.requirePositional("YYYY-MM");
    const std::string file = args.requirePositional("FILE");
    args.expectEnd();
    const int monthDate = parseIsoDate(month + "-01");

    TaskStore store(fs, clock);
    store.setDataDir(dataDir);
    CellTable holidays(4, 2);
    try {
        loadStore(store);
        load(holidays, joinPath(dataDir, "holiday.grd"));
    } catch (const Unreadable& u) {
        return reportUnreadable(u);
    }
    FilterState filter;
    useSavedFilter(store, filter, dataDir, settings);
    return reportUnwritten(
        publishWebCalendar(file, monthDate, webPageSources(store, holidays, fs), details, fs));
}

namespace {

// The choice of tasks is the print table's: the program prints the other tables whole.
bool takesPrintSelection(const Args& args) {
    for (const std::string& word : args.remaining())
        if (word == "--from" || word == "--to" || word == "--done" || word == "--category" ||
            word == "--no-todo")
            return true;
    return false;
}

} // namespace

int printCommand(Args& args, const std::string& dataDir, const FormatSettings& fs,
                 const Clock& clock, const SettingsStore& settings) {
    const int today = wholeDays(clock.now());
    const std::string layoutNumber = args.takeOption("--layout").value_or("3");
    if (layoutNumber != "1" && layoutNumber != "2" && layoutNumber != "3" && layoutNumber != "4")
        throw UsageError{"--layout takes 1, 2, 3 or 4"};
    const auto dateText = args.takeOption("--date");
    if (dateText && layoutNumber != "1")
        throw UsageError{"--date names the day view's date: it goes with --layout 1"};
    PrintSelection sel;
    if (layoutNumber == "3")
        sel = takePrintSelection(args, today);
    else if (takesPrintSelection(args))
        throw UsageError{"--from, --to, --done, --category and --no-todo choose the tasks of "
                         "--layout 3; layouts 1, 2 and 4 print the day view, the to-do list "
                         "and the completed tasks as the program does"};
    const int date = dateText ? parseIsoDate(*dateText) : today;
    // After the options, whose values are words too.
    const std::string file = args.requirePositional("FILE");
    args.expectEnd();

    TaskStore store(fs, clock);
    store.setDataDir(dataDir);
    const Options options = readOptions(settings, std::string(), false);
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
            useSavedFilter(store, filter, dataDir, settings);
            store.readFromStore(date);
            table = store.gridDay();
            const DateCaption caption =
                dateCaptionFor(date, holidayForDate(holidays, date, fs), table.rowCount(),
                               options.shadows, fs, clock);
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
        return reportUnreadable(u);
    }
    if (printTableToPdf(file, table, layout, fs, clock) == 0) {
        std::cerr << "dayweaver-cli: cannot write " << file << '\n';
        return 1;
    }
    return 0;
}

} // namespace dw::cli
