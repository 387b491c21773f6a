#pragma once

#include "core/commands/write_commands.h"
#include "interchange/ical_import.h"

#include <functional>
#include <string>
#include <vector>

namespace dw {

class AppState;
class CellGrid;
class DayNotes;
class HolidayListDialog;

// Applies the writing commands the command line hands to the running program: read and
// checked by the same code as on the command line, applied to the program's own tables as
// its window's commands apply theirs (the files saved at once), and then the day view, the
// calendars, the to-do list and an open holiday list show the change. Answers what the
// command line prints.
//
// A command that may change the holidays is refused while the holiday list is open with
// changes it has not saved (or its international sets are open): the list saves its own
// copy at its end, which would drop what the command added. An open list without changes
// shows the file again once the command has added to it.
class CommandServer {
public:
    // Answers the holiday list shown in the window, if one is.
    using OpenHolidayList = std::function<HolidayListDialog*()>;

    CommandServer(CellGrid& gridDay, CellGrid& gridNonday, DayNotes& notes,
                  OpenHolidayList openHolidayList, AppState& state);

    CommandOutcome run(const std::vector<std::string>& words);

    // How a calendar import turns zoned times into local ones; the system's zone unless a
    // test fixes it.
    void setLocalTime(UtcToLocal toLocal) { toLocal_ = std::move(toLocal); }

private:
    // The task a pane has selected, so that the selection stays on it when a command moves
    // the rows.
    struct Selected {
        CellGrid* grid = nullptr;
        int row = 0;
        std::vector<std::string> cells;
    };
    std::vector<Selected> selections() const;
    HolidayListDialog* openHolidayList() const;
    void showChanges(const WriteTables& tables, const std::vector<Selected>& selected);

    CellGrid& gridDay_;
    CellGrid& gridNonday_;
    DayNotes& notes_;
    OpenHolidayList openHolidayList_;
    AppState& state_;
    UtcToLocal toLocal_ = systemLocalTime;
};

} // namespace dw
