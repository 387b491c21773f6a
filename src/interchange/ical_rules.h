#pragma once

// The rules that map our tasks to iCalendar objects and back, as plain functions: which
// text becomes the SUMMARY, how a holiday rule becomes a yearly RRULE, the stable UIDs and
// the key by which an imported task is known for a duplicate. No iCalendar library here;
// the reader and the writer (ical_import.h, ical_export.h) build on these.

#include "core/dates/format_settings.h"
#include "core/sync/sync_task.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dw {

// A dated task without a readable time is an all-day event; imported all-day events get
// kAllDayTimeText, which no time parser reads, so they export as all-day events again.

// Timed events get this length: a task has a start only.
inline constexpr int kEventMinutes = 60;

// Our own properties: the done flag of a dated task (VEVENT has no completed status) and
// the mark of a holiday, so that a holiday comes back as a rule rather than as tasks.
inline constexpr const char* kDoneProperty = "X-DAYWEAVER-DONE";
inline constexpr const char* kKindProperty = "X-DAYWEAVER-KIND";
inline constexpr const char* kHolidayKind = "HOLIDAY";
// CATEGORIES is a list split at commas: a category of ours that holds one travels whole
// in this property too.
inline constexpr const char* kCategoryProperty = "X-DAYWEAVER-CATEGORY";

// A holiday rule as a yearly recurrence: a fixed day of the month, or the n-th (-1: the
// last) weekday of the month.
struct YearlyRule {
    int month = 1;    // 1..12
    int monthDay = 0; // 1..31 for a fixed day, 0 for a floating one
    int ordinal = 0;  // floating: 1..4, or -1 for the last
    int weekday = 0;  // floating: 1 = Sunday .. 7 = Saturday
    friend bool operator==(const YearlyRule&, const YearlyRule&) = default;
};

// The month a holiday row's month text names (the first of the locale's full month names
// it contains, letter case ignored), as the lookup reads it; nothing when none.
std::optional<int> monthOfHolidayText(std::string_view monthText, const FormatSettings& fs);
// The recurrence of a holiday row, as the lookup evaluates it: a floating rule without its
// ordinal or weekday falls on day 1. Nothing when the month is unknown or the fixed day
// never exists in that month (not even in a leap year).
std::optional<YearlyRule> yearlyRuleOfHoliday(std::string_view monthText, std::string_view rule,
                                              const FormatSettings& fs);
// "FREQ=YEARLY;BYMONTH=12;BYMONTHDAY=25" or "FREQ=YEARLY;BYMONTH=5;BYDAY=-1MO".
std::string rruleTextOf(const YearlyRule& rule);
// The holiday table's rule text: "25", or "Last : Monday" in the locale's weekday names.
std::string holidayRuleText(const YearlyRule& rule, const FormatSettings& fs);
// The first date (whole-day serial) of the rule in that year or a later one (29 February
// waits for a leap year).
int firstDateOfRule(const YearlyRule& rule, int year);
// Weekday names of iCalendar: SU, MO, ... for 1..7.
const char* icalWeekday(int weekday);
// 1..7 for "SU".."SA" (any case); 0 for anything else.
int weekdayOfIcal(std::string_view name);

// A UID made from the content, so that writing the same data again gives the same UID and
// a calendar that reads the file again updates its copy rather than adding a second one.
// The parts are hashed (two 64-bit FNV-1a hashes with different seeds) and the text is
// "<32 hex digits>@dayweaver".
std::string contentUid(const std::vector<std::string_view>& parts);
// A dated task: its date, its time (minutes after midnight, or none) and its text. Neither
// the done flag, the alarm nor the category: changing those updates the same event.
std::string taskUid(int date, std::optional<int> minuteOfDay, std::string_view what);
std::string todoUid(std::string_view what);
std::string holidayUid(std::string_view name, const YearlyRule& rule);

// A task text is lines joined by CR LF. The SUMMARY is its first line, the DESCRIPTION the
// whole text with LF between lines.
std::string summaryOfText(std::string_view what);
std::string descriptionOfText(std::string_view what);
// The task text made of an event's SUMMARY and DESCRIPTION: the description when it begins
// with the summary (as ours do), else the summary and the description on lines of their
// own; either alone when the other is blank.
std::string taskTextOf(std::string_view summary, std::string_view description);
// One category from an event's CATEGORIES values, joined by commas.
std::string categoryOf(const std::vector<std::string>& categories);

// A text from a file, checked as every typed text is: UTF-8, control characters other than
// TAB and line breaks dropped (and counted), TAB made safe, lone CR or LF made CR LF, and
// cut to the longest text the program takes.
struct CheckedText {
    std::string text;
    bool shortened = false;
    int droppedControls = 0;
};
CheckedText checkedTaskText(std::string_view raw);
// A category is one line of at most 20 characters: line breaks become spaces.
CheckedText checkedCategory(std::string_view raw);
// A holiday's name is one line; the table takes any length.
CheckedText checkedHolidayName(std::string_view raw);

// A time text's minutes after midnight, read with the program's time parser; nothing for
// a text that is no time (an all-day task).
std::optional<int> minuteOfTimeText(std::string_view timeText, const FormatSettings& fs);
// The time text an imported task gets: the locale's short time, or kAllDayTimeText.
std::string timeTextOf(std::optional<int> minuteOfDay, const FormatSettings& fs);

// Two dated tasks are the same when their date, time and text are: times compared by the
// minute they name (so "9:00 AM" and "09:00" agree), texts as they are. The key says so.
std::string taskKey(int date, std::string_view timeText, std::string_view what,
                    const FormatSettings& fs);
std::string taskKey(int date, std::optional<int> minuteOfDay, std::string_view what);
std::string todoKey(std::string_view what);
std::string holidayKey(std::string_view name, const YearlyRule& rule);

enum class CalendarItemKind { Task, Todo, Holiday };

// One object written or added, for the reports: a task's date and time (none for an
// all-day task), or a holiday's rule.
struct CalendarItem {
    CalendarItemKind kind = CalendarItemKind::Task;
    int date = 0;
    std::optional<int> minuteOfDay;
    YearlyRule rule;
    std::string text; // the first line of a task, a holiday's name
};
// "task<TAB>YYYY-MM-DD<TAB>HH:MM<TAB>first line" (the time empty for an all-day task),
// "todo<TAB><TAB><TAB>first line", "holiday<TAB>FREQ=YEARLY;...<TAB><TAB>name".
std::string calendarItemLine(const CalendarItem& item);

// "YYYY-MM-DD" and "HH:MM" (24-hour), the forms of the command line's output.
std::string isoDateText(int date);
std::string isoTimeText(std::optional<int> minuteOfDay);

} // namespace dw
