#pragma once

#include "core/dates/format_settings.h"
#include "core/store/cell_table.h"
#include "interchange/ical_rules.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace dw {

// What the writer needs besides the tables.
struct IcalExportSettings {
    // Minutes ahead of a task's time at which its alarm sounds (the options' lead).
    int alarmLeadMinutes = 0;
    // The moment of writing, seconds since 1970 UTC (DTSTAMP).
    std::int64_t stampUtcSeconds = 0;
};

struct CalendarExport {
    std::string text; // the iCalendar file, lines ended by CR LF and folded
    std::vector<CalendarItem> items;
    // Holiday rows that name no date (an unknown month, "31" in April) are left out.
    int skippedHolidays = 0;
};

// The whole data as one calendar: every dated task of the store (filters do not apply) as
// a VEVENT, every to-do task as a VTODO, every holiday as a yearly VEVENT.
//  - Dated task: DTSTART in floating local time lasting kEventMinutes, or an all-day
//    DTSTART;VALUE=DATE when its time text is no time; SUMMARY the first line,
//    DESCRIPTION the whole text when it has more lines, CATEGORIES, STATUS:CONFIRMED,
//    X-DAYWEAVER-DONE:YES when done, and a VALARM with TRIGGER -PT{lead}M when its alarm
//    flag is set.
//  - To-do task: SUMMARY, DESCRIPTION (as above), CATEGORIES, STATUS COMPLETED or NEEDS-ACTION.
//  - Holiday: all-day VEVENT with RRULE (BYMONTH and BYMONTHDAY, or BYDAY with an ordinal,
//    -1 for the last), first falling in 2000 or the first year after with that date.
// UIDs come from the content (ical_rules.h); two equal tasks get "-2", "-3" ... added.
CalendarExport exportCalendar(const CellTable& gridStore, const CellTable& gridNonday,
                              const CellTable& holidays, const IcalExportSettings& settings,
                              const FormatSettings& fs);

} // namespace dw
