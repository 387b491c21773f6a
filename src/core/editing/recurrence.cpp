#include "core/editing/recurrence.h"

#include "core/calendar/relative_date.h"
#include "core/dates/chrono_days.h"
#include "core/dates/date_format.h"
#include "core/dates/date_parse.h"
#include "core/dates/date_serial.h"
#include "core/store/helpers.h"
#include "core/store/text_codec.h"

#include <algorithm>

namespace dw {

namespace chr = std::chrono;

namespace {

constexpr int kSaturday = 7;
constexpr int kSunday = 1;

// Collects candidates: only dates within the range are taken, and none once full.
class DateCollector {
public:
    DateCollector(int start, int end, std::size_t capacity)
        : start_(start), end_(end), capacity_(capacity) {}

    void add(int date) {
        if (date < start_ || date > end_ || result_.full)
            return;
        if (result_.dates.size() >= capacity_) {
            result_.full = true;
            return;
        }
        result_.dates.push_back(date);
    }
    bool full() const { return result_.full; }
    GeneratedDates take() { return std::move(result_); }

private:
    int start_;
    int end_;
    std::size_t capacity_;
    GeneratedDates result_;
};

bool avoided(int date, const RecurrencePattern& p) {
    const int weekday = dayOfWeek(date);
    return (weekday == kSaturday && p.avoidSaturday) || (weekday == kSunday && p.avoidSunday);
}

void doDaily(const RecurrencePattern& p, int start, int end, DateCollector& out) {
    // Avoided dates are dropped and the stepping goes on from them, so the pattern keeps
    // its rhythm.
    for (int d = start; d <= end && !out.full(); d += p.every)
        if (!avoided(d, p))
            out.add(d);
}

void doWeekly(const RecurrencePattern& p, int start, int end, DateCollector& out) {
    // Weeks run Sunday to Saturday, whatever the calendars' first day of the week.
    const chr::sys_days first = sysDaysOf(start);
    const chr::weeks step{p.every};
    for (chr::sys_days week = first - (chr::weekday{first} - chr::Sunday);
         serialOf(week) <= end && !out.full(); week += step)
        for (int i = 0; i < 7; ++i)
            if (p.weekdays[static_cast<std::size_t>(i)])
                out.add(static_cast<int>(serialOf(week + chr::days{i})));
}

void doDayofMonth(const RecurrencePattern& p, int start, int end, DateCollector& out) {
    const CivilDate s = decodeDate(start);
    int year = s.year;
    int month = s.month;
    while (dateSerialOf(year, month, 1) <= end && !out.full()) {
        const int last = lastDayOfMonth(year, month);
        // A day the month lacks is skipped, not moved to the month's last day.
        for (int day = 1; day <= last; ++day) {
            if (!p.days[static_cast<std::size_t>(day - 1)])
                continue;
            const int d = dateSerialOf(year, month, day);
            if (!avoided(d, p))
                out.add(d);
        }
        incrementMonth(year, month, p.every);
    }
}

void doWeekOfMonth(const RecurrencePattern& p, int start, int end, DateCollector& out) {
    const CivilDate s = decodeDate(start);
    int year = s.year;
    int month = s.month;
    while (dateSerialOf(year, month, 1) <= end && !out.full()) {
        // By ordinal, then by weekday: not in date order within a month.
        for (int o = 0; o < 5; ++o) {
            if (!p.ordinals[static_cast<std::size_t>(o)])
                continue;
            for (int w = 0; w < 7; ++w)
                if (p.weekdays[static_cast<std::size_t>(w)])
                    out.add(nthToDate(static_cast<WeekOrdinal>(o), w + 1, year, month));
        }
        incrementMonth(year, month, p.every);
    }
}

void doAnnual(int start, int end, DateCollector& out) {
    // The day is always the start's, so 29 February comes back in every leap year.
    const CivilDate s = decodeDate(start);
    for (int year = s.year, d = start; d <= end && !out.full();) {
        out.add(d);
        ++year;
        const int day = isValidDate(year, s.month, s.day) ? s.day : s.day - 1;
        d = dateSerialOf(year, s.month, day);
    }
}

} // namespace

EveryLimits everyLimits(RecurrenceMode mode) {
    switch (mode) {
    case RecurrenceMode::WeekOfMonth:
    case RecurrenceMode::DaysOfMonth:
        return {1, 12};
    case RecurrenceMode::Weekly:
        return {1, 52};
    case RecurrenceMode::Daily:
        return {1, 364};
    case RecurrenceMode::Annual:
        break;
    }
    return {1, 1};
}

int clampEvery(RecurrenceMode mode, int every) {
    const EveryLimits l = everyLimits(mode);
    return std::clamp(every, l.min, l.max);
}

bool ordinalMayBeChecked(WeekOrdinal ordinal, const std::array<bool, 5>& checked) {
    const auto isChecked = [&](WeekOrdinal o) { return checked[static_cast<std::size_t>(o)]; };
    if (ordinal == WeekOrdinal::Fourth)
        return !isChecked(WeekOrdinal::Last);
    if (ordinal == WeekOrdinal::Last)
        return !isChecked(WeekOrdinal::Fourth);
    return true;
}

int lastDayOfMonth(int year, int month) {
    return daysInMonth(month, year);
}

void incrementMonth(int& year, int& month, int n) {
    month += n;
    while (month > 12) {
        month -= 12;
        ++year;
    }
}

int nthToDate(WeekOrdinal ordinal, int weekday, int year, int month) {
    const chr::year_month ym = cycleYear(year) / chr::month(static_cast<unsigned>(month));
    const chr::weekday wd = chronoWeekday(weekday);
    // The 4th occurrence always lies within day 28.
    const chr::sys_days day = ordinal == WeekOrdinal::Last
                                  ? chr::sys_days{ym / wd[chr::last]}
                                  : chr::sys_days{ym / wd[static_cast<unsigned>(ordinal) + 1]};
    return dateSerialOf(year, month, dayOfMonthOf(day));
}

GeneratedDates generateDates(const RecurrencePattern& pattern, int start, int end,
                             std::size_t capacity) {
    RecurrencePattern p = pattern;
    p.every = clampEvery(p.mode, p.every);
    DateCollector out(start, end, capacity);
    switch (p.mode) {
    case RecurrenceMode::WeekOfMonth:
        doWeekOfMonth(p, start, end, out);
        break;
    case RecurrenceMode::DaysOfMonth:
        doDayofMonth(p, start, end, out);
        break;
    case RecurrenceMode::Weekly:
        doWeekly(p, start, end, out);
        break;
    case RecurrenceMode::Daily:
        doDaily(p, start, end, out);
        break;
    case RecurrenceMode::Annual:
        doAnnual(start, end, out);
        break;
    }
    return out.take();
}

RecurrencePreview previewDates(const RecurrencePattern& pattern, int start, int end,
                               std::size_t capacity) {
    RecurrencePreview preview;
    if (rangeDayCount(start, end) > kMaxRecurrenceDays) {
        preview.error = kRangeTooLongMessage;
        return preview;
    }
    GeneratedDates generated = generateDates(pattern, start, end, capacity);
    preview.dates = std::move(generated.dates);
    preview.full = generated.full;
    if (preview.dates.empty())
        preview.error = kNoDatesMessage;
    return preview;
}

int rangeDayCount(int start, int end) {
    return end - start;
}

std::string listDateFormat(const FormatSettings& fs) {
    std::string format = truncateChars(fs.shortDateFormat, 25);
    if (format.find("yyyy") == std::string::npos) {
        if (const auto at = format.find("yy"); at != std::string::npos)
            format.replace(at, 2, "yyyy");
    }
    return format;
}

std::string previewLine(int date, const FormatSettings& fs, const Clock& clock) {
    return formatLocalePattern(listDateFormat(fs), date, fs) + '\t' +
           formatDateTime("ddd", date, fs) + '\t' + relativeDateText(date, clock);
}

std::optional<int> previewLineDate(std::string_view line, const FormatSettings& fs,
                                   int currentYear) {
    return parseShortDateText(line.substr(0, line.find('\t')), fs, currentYear);
}

std::string dateCountText(std::size_t count) {
    return "Number of dates: " + std::to_string(count);
}

std::string addEventsQuestion(std::size_t count) {
    return "Really add " + std::to_string(count) + " events to the calendar?";
}

std::string recurrenceCaption(std::string_view what) {
    std::string head = truncateChars(what, 35);
    for (char& c : head)
        if (c == '\r' || c == '\n')
            c = ' ';
    return "Repeating event for " + head + "...";
}

std::vector<int> annualDatesForTenYears(int date) {
    const CivilDate s = decodeDate(date);
    std::vector<int> dates;
    for (int i = 1; i <= 10; ++i) {
        const int year = s.year + i;
        const int day = isValidDate(year, s.month, s.day) ? s.day : s.day - 1;
        dates.push_back(dateSerialOf(year, s.month, day));
    }
    return dates;
}

std::string generatedTimeText(double time, const FormatSettings& fs) {
    return formatDateTime("tt", dayFraction(time), fs);
}

Status addRecurringTasks(TaskStore& store, const std::vector<int>& dates, const DatedTask& task) {
    // Placed all at once, so that a long list costs one pass over the store and one sort.
    DatedTask generated = task;
    generated.done = false;
    std::vector<PlacedTask> placed;
    placed.reserve(dates.size());
    for (const int date : dates)
        placed.push_back({date, generated});
    store.placeTasks(placed);
    return store.sortAndSaveStore();
}

} // namespace dw
