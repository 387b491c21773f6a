#pragma once

#include "core/common/status.h"
#include "core/dates/clock.h"
#include "core/dates/date_serial.h"
#include "core/dates/format_settings.h"
#include "core/store/cell_table.h"
#include "interchange/ical_rules.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace dw {

class TaskStore;

// A file that cannot be read as a calendar; what() is the message for the user.
class IcalFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Limits against hostile files: a calendar is read whole, so its size, its objects and the
// repetitions expanded from its rules are bounded.
inline constexpr std::size_t kMaxCalendarFileBytes = std::size_t{10} * 1024 * 1024;
inline constexpr std::size_t kMaxCalendarObjects = 100000;
inline constexpr std::size_t kMaxImportedTasks = 100000;
inline constexpr std::size_t kMaxRecurrenceSteps = 500000;

// The system's local time zone, as a UtcToLocal (core/dates/clock.h). Times with a zone are
// converted with the one an import is given; floating times and dates are taken as they are.
DateSerial systemLocalTime(std::int64_t utcSeconds);

// The dates an import takes events from, both included, as whole-day serials.
struct ImportRange {
    int from = 0;
    int to = 0;
};
// A year back to two years ahead of today.
ImportRange defaultImportRange(int today);
// Empty when the range can be used; else the message: the end before the start, or more
// than the recurrence dialog's 7400 days ("Date range exceeds 20 years!").
std::string importRangeError(const ImportRange& range);

struct ImportedTask {
    int date = 0;
    std::optional<int> minuteOfDay; // none: an all-day event
    std::string category;
    std::string what;
    bool done = false;
    bool alarm = false;
};
struct ImportedTodo {
    std::string category;
    std::string what;
    bool done = false;
};
struct ImportedHoliday {
    std::string name;
    YearlyRule rule;
};

// What a calendar file holds, as our tasks.
//  - VEVENT: a dated task on its start date at its start time converted to local time, or
//    an all-day task; a repeating event (RRULE, RDATE, less EXDATE and the instances that
//    RECURRENCE-ID objects replace) becomes one task per date within the range; a
//    cancelled event or instance adds nothing. An event over several days adds an all-day
//    task on each later day it covers. A VALARM sets the alarm flag; the done flag
//    comes from X-DAYWEAVER-DONE. Events marked as our holidays become holiday rules.
//  - VTODO: a to-do task, done when STATUS is COMPLETED (or it has a COMPLETED time); one
//    with a DUE is a dated task on that day (at its time, or all day) within the range.
// Texts are checked as typed ones are; what had to be left out or shortened is noted.
struct CalendarContents {
    std::vector<ImportedTask> tasks;
    std::vector<ImportedTodo> todos;
    std::vector<ImportedHoliday> holidays;
    std::vector<std::string> notes;
};

// Reads the text of a calendar file. Throws IcalFileError for a file that is no calendar,
// is damaged, or goes beyond the limits above.
CalendarContents readCalendar(std::string_view fileText, const ImportRange& range,
                              const UtcToLocal& toLocal);
// Reads a file (at most kMaxCalendarFileBytes); throws IcalFileError.
std::string readCalendarFile(const std::string& path);

// What an import adds: the contents less what the tables already hold (a dated task with
// the same date, time and text; a to-do task with the same text; a holiday with the same
// name and rule).
struct ImportPlan {
    CalendarContents add;
    int duplicates = 0;
};
ImportPlan planImport(CalendarContents contents, const CellTable& gridStore,
                      const CellTable& gridNonday, const CellTable& holidays,
                      const FormatSettings& fs);
// The plan as report lines' items, in the order they are listed.
std::vector<CalendarItem> planItems(const ImportPlan& plan);

// Adds the plan's rows and saves each table it changed: dated tasks go into the store
// keyed date.100, as moved and generated tasks do (grid.grd sorted and saved); to-do tasks
// into free rows of the to-do table (gridNon.grd); holidays at the end of the holiday table
// (saved to holidayPath). Each table's failure to save is answered, in that order.
Status applyImport(const ImportPlan& plan, TaskStore& store, CellTable& holidays,
                   const std::string& holidayPath, const FormatSettings& fs);

// The whole import for whoever holds the tables (the window, the command line, a program
// taking over the command line's writes): read the file's text, plan, apply.
struct ImportOutcome {
    ImportPlan plan;
    Status saved;
};
ImportOutcome importCalendar(std::string_view fileText, const ImportRange& range, TaskStore& store,
                             CellTable& holidays, const std::string& holidayPath,
                             const FormatSettings& fs, const UtcToLocal& toLocal);

} // namespace dw
