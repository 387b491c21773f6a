#include "cli/reading_commands.h"

#include "cli/alarms_command.h"
#include "core/calendar/relative_date.h"
#include "core/commands/command_args.h"
#include "core/commands/listing_text.h"
#include "core/commands/write_commands.h"
#include "core/dates/date_format.h"
#include "core/holidays/holiday_rules.h"
#include "core/holidays/holiday_table.h"
#include "core/output/completed_tasks.h"
#include "core/store/file_io.h"
#include "core/store/helpers.h"
#include "core/store/task_store.h"

#include <algorithm>
#include <utility>

namespace dw::cli {

namespace {

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

} // namespace

int agendaCommand(CommandRun& run) {
    const bool filtered = run.args.flag("--filter");
    const auto dateArg = run.args.positional(0);
    const int date = dateArg ? parseIsoDate(*dateArg) : wholeDays(run.clock.now());

    TaskStore& store = run.kept.keep<TaskStore>(run.fs, run.clock);
    store.setDataDir(run.dataDir);
    CellTable& holidays = run.kept.keep<CellTable>(4, 2);
    // Only the date's rows: the rest of a large store is never looked at.
    loading([&] { store.loadStoreFileForDate(date); });
    load(holidays, joinPath(run.dataDir, "holiday.grd"));
    FilterState filter;
    if (filtered)
        useSavedFilter(store, filter, run.dataDir, run.settings);

    std::string head =
        formatDateTime("ddd ddddd", date, run.fs) + "  " + relativeDateText(date, run.clock);
    const std::string holiday = holidayForDate(holidays, date, run.fs);
    if (!holiday.empty())
        head += "  " + holiday;
    run.out << visibleField(head) << '\n';
    // The numbers edit, done and delete take.
    const std::vector<int> numbered = numberedTaskRows(store, date);
    store.forEachVisibleRow(date, [&](int r) {
        const auto number = std::find(numbered.begin(), numbered.end(), r) - numbered.begin() + 1;
        run.out << agendaLine(static_cast<int>(number), store.gridStore(), r);
    });
    if (filtered)
        run.out << hiddenByFilterLine(store, date) << '\n';
    return 0;
}

int todoCommand(CommandRun& run) {
    TaskStore store(run.fs, run.clock);
    store.setDataDir(run.dataDir);
    CellTable& t = store.gridNonday();
    load(t, store.todoPath());
    for (int r = 1; r < t.rowCount(); ++r)
        if (isTodoRowOccupied(t, r))
            run.out << todoLine(t, r);
    return 0;
}

int holidaysCommand(CommandRun& run) {
    const std::string yearText = *run.args.positional(0);
    int year = 0;
    if (yearText.empty() || yearText.size() > 4 ||
        yearText.find_first_not_of("0123456789") != std::string::npos ||
        (year = std::stoi(yearText)) < 1)
        throw UsageError{"not a year: " + yearText};
    CellTable table(4, 2);
    load(table, joinPath(run.dataDir, "holiday.grd"));
    const int first = dateSerialOf(year, 1, 1);
    const int last = dateSerialOf(year, 12, 31);
    for (int d = first; d <= last; ++d) {
        const std::string name = holidayForDate(table, d, run.fs);
        if (!name.empty())
            run.out << isoDate(d) << '\t' << visibleField(name) << '\n';
    }
    return 0;
}

int checkCommand(CommandRun& run) {
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
        const std::string path = joinPath(run.dataDir, name);
        // A folder under a data file's name is reported, not skipped as a missing file.
        if (!pathExists(path))
            continue;
        CellTable& table = run.kept.keep<CellTable>(make(run.fs));
        try {
            table.loadTable(path);
            run.out << name << ": ok, " << table.rowCount() - 1 << " data rows\n";
        } catch (const TableFileError& e) {
            run.out << name << ": " << withoutRawControls(e.what()) << '\n';
            status = 1;
        }
    }
    return status;
}

} // namespace dw::cli
