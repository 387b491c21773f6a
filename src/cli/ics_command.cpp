#include "cli/ics_command.h"

#include "cli/store_loading.h"
#include "core/commands/listing_text.h"
#include "core/settings/option_keys.h"
#include "core/store/file_io.h"
#include "core/store/helpers.h"
#include "core/store/task_store.h"
#include "interchange/ical_export.h"

#include <ctime>
#include <ostream>

namespace dw::cli {

namespace {

// A refusal: the message goes to stderr, exit status 1.
struct Refusal {
    std::string message;
};

void loadTable(CellTable& table, const std::string& path) {
    try {
        loadTableIfPresent(table, path, false);
    } catch (const TableFileError& e) {
        throw Refusal{e.what()};
    }
}

void loadTables(TaskStore& store, CellTable& holidays, const std::string& dataDir) {
    if (const auto problem = loadDatedTasks(store, dataDir))
        throw Refusal{*problem};
    loadTable(store.gridNonday(), store.todoPath());
    loadTable(holidays, joinPath(dataDir, "holiday.grd"));
}

} // namespace

int icsExportCommand(CommandRun& run) {
    try {
        const std::string file = *run.args.positional(0);
        TaskStore store(run.fs, run.clock);
        CellTable holidays(4, 2);
        loadTables(store, holidays, run.dataDir);

        IcalExportSettings exportSettings;
        exportSettings.alarmLeadMinutes = readOptions(run.settings, {}, false).alarmMin;
        exportSettings.stampUtcSeconds = static_cast<std::int64_t>(std::time(nullptr));
        const CalendarExport out =
            exportCalendar(store.gridStore(), store.gridNonday(), holidays, exportSettings, run.fs);
        std::string error;
        if (!writeFileAtomic(file, out.text, error))
            throw Refusal{"cannot write " + file + ": " + error};
        for (CalendarItem item : out.items) {
            item.text = visibleField(item.text);
            run.out << calendarItemLine(item) << '\n';
        }
        if (out.skippedHolidays > 0)
            run.err << "dayweaver-cli: " << out.skippedHolidays
                    << " holiday(s) name no date and were left out\n";
        return 0;
    } catch (const Refusal& r) {
        run.err << "dayweaver-cli: " << r.message << '\n';
        return 1;
    }
}

} // namespace dw::cli
