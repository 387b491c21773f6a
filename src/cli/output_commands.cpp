#include "cli/output_commands.h"

#include "app/print/table_printer.h"
#include "cli/alarms_command.h"
#include "core/calendar/captions.h"
#include "core/dates/date_serial.h"
#include "core/output/completed_tasks.h"
#include "core/output/print_layout.h"
#include "core/output/table_writers.h"
#include "core/output/web_calendar.h"
#include "core/prompts/prompts.h"
#include "core/settings/option_keys.h"
#include "core/store/helpers.h"
#include "core/store/task_store.h"
#include "core/store/text_codec.h"

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

// A file that cannot be written is the command's own failure: its message goes to stderr
// at once, while the command runs.
class StderrPrompts : public UnattendedPrompts {
public:
    StderrPrompts() : previous_(&prompts()) { setPrompts(this); }
    ~StderrPrompts() override { setPrompts(previous_); }
    StderrPrompts(const StderrPrompts&) = delete;
    StderrPrompts& operator=(const StderrPrompts&) = delete;

    void error(const std::string& text) override { std::cerr << "dayweaver-cli: " << text << '\n'; }
    void info(const std::string& text) override { std::cerr << text << '\n'; }

private:
    Prompts* previous_;
};

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
    StderrPrompts errorsToStderr;
    const bool ok =
        format == "html" ? WriteHtmlTable(table, file) : WriteCommaDelimited(table, file);
    return ok ? 0 : 1;
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
    StderrPrompts errorsToStderr;
    return publishWebCalendar(file, monthDate, webPageSources(store, holidays, fs), details, fs)
               ? 0
               : 1;
}

namespace {

PrintLayout layoutNumbered(const std::string& number, const PrintSelection& sel, int today,
                           const FormatSettings& fs, const Clock& clock,
                           const SettingsStore& settings) {
    if (number == "3")
        return printTablePrintLayout();
    if (number == "4")
        return completedPrintLayout();
    if (number != "1" && number != "2")
        throw UsageError{"--layout takes 1, 2, 3 or 4"};
    const Options options = readOptions(settings, std::string(), false);
    if (number == "2")
        return todoPrintLayout(options.gridFont);
    // The day view's title is the date caption of the first day printed.
    const int date = sel.allDates ? today : sel.fromDate;
    const DateCaption caption = dateCaptionFor(date, {}, 1, options.shadows, fs, clock);
    return dayViewPrintLayout(caption.text, options.gridFont);
}

} // namespace

int printCommand(Args& args, const std::string& dataDir, const FormatSettings& fs,
                 const Clock& clock, const SettingsStore& settings) {
    const int today = wholeDays(clock.now());
    const std::string layoutNumber = args.takeOption("--layout").value_or("3");
    const std::string file = args.requirePositional("FILE");
    const PrintSelection sel = takePrintSelection(args, today);
    args.expectEnd();
    const PrintLayout layout = layoutNumbered(layoutNumber, sel, today, fs, clock, settings);

    TaskStore store(fs, clock);
    store.setDataDir(dataDir);
    CellTable table;
    try {
        loadStore(store);
        if (sel.todo)
            load(store.gridNonday(), store.todoPath());
    } catch (const Unreadable& u) {
        return reportUnreadable(u);
    }
    transferToPrintTable(table, store.gridStore(), sel, fs);
    if (sel.todo)
        appendTodoToPrintTable(table, store.gridNonday(), sel);
    if (printTableToPdf(file, table, layout, fs, clock) == 0) {
        std::cerr << "dayweaver-cli: cannot write " << file << '\n';
        return 1;
    }
    return 0;
}

} // namespace dw::cli
