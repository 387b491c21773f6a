#include "app/shell/command_server.h"

#include "app/calendar/calendar_pane.h"
#include "app/editing/day_notes.h"
#include "app/holidays/holiday_list_dialog.h"
#include "app/shell/app_state.h"
#include "app/widgets/cell_grid.h"
#include "core/store/file_io.h"
#include "core/store/helpers.h"
#include "core/store/save_guard.h"
#include "interchange/ical_import_command.h"

#include <algorithm>

namespace dw {

CommandServer::CommandServer(CellGrid& gridDay, CellGrid& gridNonday, DayNotes& notes,
                             OpenHolidayList openHolidayList, AppState& state)
    : gridDay_(gridDay), gridNonday_(gridNonday), notes_(notes),
      openHolidayList_(std::move(openHolidayList)), state_(state) {}

CommandOutcome CommandServer::run(const std::vector<std::string>& words) {
    const PreparedWrite prepared = prepareWriteCommand(
        words, CommandContext{state_.fs(), state_.clock(), toLocal_}, allWriteCommands());
    if (prepared.refused)
        return *prepared.refused;
    // A program that cannot write its folder refuses as the command line would there.
    if (!readOnlyDataFolder().empty())
        return refusedOutcome(readOnlyFolderRefusal(state_.paths().dataDir));
    const WriteTables& tables = prepared.command->tables;
    if (tables.holidays) {
        if (const HolidayListDialog* list = openHolidayList(); list && list->busyWithChanges())
            return refusedOutcome("the holiday list is open in Dayweaver with changes not saved; "
                                  "close it and try again");
        // The holiday list saves holiday.grd on its own and the program reads it back only
        // when the list closes: the command starts from the file, as on the command line.
        CellTable fresh(4, 2);
        try {
            loadTableIfPresent(fresh, state_.holidayPath(), false);
        } catch (const TableFileError& e) {
            return refusedOutcome(e.what());
        }
        state_.gridHoliday() = std::move(fresh);
    }
    // An edit in progress in the notes pane reaches the store first, so that refilling the
    // day view afterwards cannot lose it.
    notes_.writeBack();
    const std::vector<Selected> selected = selections();
    WriteTarget target{state_.store(), &state_.completedTasks(), &state_.gridHoliday(),
                       state_.holidayPath()};
    const CommandOutcome outcome = applyWriteJob(prepared.job, target);
    showChanges(tables, selected);
    return outcome;
}

std::vector<CommandServer::Selected> CommandServer::selections() const {
    std::vector<Selected> out;
    for (CellGrid* g : {&gridDay_, &gridNonday_}) {
        const int row = g->selectedRow();
        const CellTable& t = g->table();
        out.push_back({g, row, row >= 1 && row < t.rowCount() ? t.row(row) : CellTable::Row()});
    }
    return out;
}

HolidayListDialog* CommandServer::openHolidayList() const {
    return openHolidayList_ ? openHolidayList_() : nullptr;
}

void CommandServer::showChanges(const WriteTables& tables, const std::vector<Selected>& selected) {
    // A handed-over command names no dates, and a restore replaces every table without
    // reading any: everything is shown anew.
    state_.storeEvents().publish(StoreChange::everything());
    // The rows may have moved under the selection: it stays on its task, or on its row
    // (as far as there is one) when the command changed or removed that task.
    for (const Selected& s : selected) {
        const int rows = s.grid->table().rowCount();
        const int at = rowHolding(s.grid->table(), s.cells, s.row);
        s.grid->selectTableRow(at > 0 ? at : std::clamp(s.row, 1, std::max(1, rows - 1)));
    }
    notes_.fill();
    if (tables.holidays)
        if (HolidayListDialog* list = openHolidayList())
            list->reloadFile();
}

} // namespace dw
