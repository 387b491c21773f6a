#pragma once

#include "core/dates/clock.h"
#include "core/dates/format_settings.h"
#include "core/store/task_store.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dw {

// The recurrence generator: copies of one task on many dates at once. The rules live here;
// the dialog and the command line only collect the choices and show the dates.

inline constexpr const char* kRangeTooLongMessage = "Date range exceeds 20 years!";
inline constexpr const char* kNoDatesMessage =
    "No dates were generated.  Check your starting/ending dates and selections.";
inline constexpr const char* kPreviewFullMessage =
    "Maximum capacity of listbox reached ... unable to preview all dates.";

// The longest range, in days from start to end, that is generated.
inline constexpr int kMaxRecurrenceDays = 7400;
// How many dates a preview takes: more than the largest preview (daily over the longest
// range is 7401 dates), so that one never meets the limit.
inline constexpr std::size_t kPreviewCapacity = 10000;

enum class RecurrenceMode { WeekOfMonth, DaysOfMonth, Weekly, Daily, Annual };

// The ordinals of Week of Month, in the order they are generated.
enum class WeekOrdinal { First, Second, Third, Fourth, Last };

struct RecurrencePattern {
    RecurrenceMode mode = RecurrenceMode::WeekOfMonth;
    // Every N months, weeks or days (the mode's unit); see everyLimits.
    int every = 1;
    // Week of Month: which ordinals, indexed by WeekOrdinal.
    std::array<bool, 5> ordinals{};
    // Week of Month and Weekly: which weekdays, index 0 = Sunday.
    std::array<bool, 7> weekdays{};
    // Days of Month: which days, index 0 = day 1.
    std::array<bool, 31> days{};
    // Daily and Days of Month: avoided dates are dropped, not moved.
    bool avoidSaturday = false;
    bool avoidSunday = false;
};

struct EveryLimits {
    int min = 1;
    int max = 1;
};
// 1 to 12 months, 1 to 52 weeks, 1 to 364 days; annual dates have no step.
EveryLimits everyLimits(RecurrenceMode mode);
// A spin field's value: brought to the nearest bound.
int clampEvery(RecurrenceMode mode, int every);

// "4th" and "Last" exclude each other: in a month with four of a weekday both name the same
// date, which would then be added twice. An ordinal may be checked only while the other of
// the two is not.
bool ordinalMayBeChecked(WeekOrdinal ordinal, const std::array<bool, 5>& checked);

// The last day of a month, leap years counted.
int lastDayOfMonth(int year, int month);
// The month N months on: (year, month) advanced, the year carried.
void incrementMonth(int& year, int& month, int n);
// The k-th (or last) weekday (1 = Sunday ... 7 = Saturday) of a month, as a day serial.
int nthToDate(WeekOrdinal ordinal, int weekday, int year, int month);

// The dates a pattern generates from start to end, both inclusive, in generation order (not
// sorted). At most `capacity` dates are taken; when more were due, `full` is set.
struct GeneratedDates {
    std::vector<int> dates;
    bool full = false;
};
GeneratedDates generateDates(const RecurrencePattern& pattern, int start, int end,
                             std::size_t capacity = kPreviewCapacity);

// A preview: the range checked, then the dates generated. `error` is the message to show
// (the range is too long: nothing generated; or no dates came out), empty when all is well.
struct RecurrencePreview {
    std::vector<int> dates;
    bool full = false;
    std::string error;
};
RecurrencePreview previewDates(const RecurrencePattern& pattern, int start, int end,
                               std::size_t capacity = kPreviewCapacity);

// The end date minus the start date, as the dialog's day count shows it (may be negative).
int rangeDayCount(int start, int end);

// The list's date format: the locale's short date (at most 25 characters of it) with "yy"
// widened to "yyyy" when there is no "yyyy", so the year always shows four digits.
std::string listDateFormat(const FormatSettings& fs);
// One preview line: the date in the list format, TAB, the short weekday name, TAB, how far
// the date lies from today.
std::string previewLine(int date, const FormatSettings& fs, const Clock& clock);
// The date of a preview line, read back from the text before its first TAB in the short
// date format; nothing when it does not read as a date. The dialog keeps each line's exact
// date instead (a short date with a month name or two-digit years may not come back).
std::optional<int> previewLineDate(std::string_view line, const FormatSettings& fs,
                                   int currentYear);

// "Number of dates: %s".
std::string dateCountText(std::size_t count);
// "Really add %s events to the calendar?".
std::string addEventsQuestion(std::size_t count);
// The dialog's caption: "Repeating event for ", the first 35 characters of the text (line
// breaks as spaces) and "...".
std::string recurrenceCaption(std::string_view what);

// The same month and day in each of the ten years after `date`; 29 February becomes 28
// February in a common year.
std::vector<int> annualDatesForTenYears(int date);

// A generated task's time: the locale's long time format (which start-up strips of seconds).
std::string generatedTimeText(double time, const FormatSettings& fs);

// Adds one task per date to the store, keyed date.100, done "No" whatever the template
// says, then sorts the store and saves it once.
Status addRecurringTasks(TaskStore& store, const std::vector<int>& dates, const DatedTask& task);

} // namespace dw
