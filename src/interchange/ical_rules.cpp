#include "interchange/ical_rules.h"

#include "core/dates/date_format.h"
#include "core/dates/date_parse.h"
#include "core/dates/date_serial.h"
#include "core/holidays/holiday_rules.h"
#include "core/store/helpers.h"
#include "core/store/task_limits.h"
#include "core/store/text_codec.h"
#include "core/text/lower_text.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace dw {

namespace {

constexpr std::array<const char*, 7> kIcalWeekdays{"SU", "MO", "TU", "WE", "TH", "FR", "SA"};

// A year in which every fixed day of every month exists.
constexpr int kLeapYear = 2000;

std::uint64_t fnv1a(const std::vector<std::string_view>& parts, std::uint64_t seed) {
    std::uint64_t h = seed;
    for (const std::string_view part : parts) {
        // The length first, so that ("ab", "c") and ("a", "bc") differ.
        const std::string length = std::to_string(part.size()) + ':';
        for (const char c : length) {
            h ^= static_cast<unsigned char>(c);
            h *= 0x100000001b3ULL;
        }
        for (const char c : part) {
            h ^= static_cast<unsigned char>(c);
            h *= 0x100000001b3ULL;
        }
    }
    return h;
}

std::string trimmedLines(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r\n");
    return std::string(text.substr(first, last - first + 1));
}

std::string replaceLineBreaks(std::string_view text, std::string_view by) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            out += by;
        } else {
            out += text[i];
        }
    }
    return out;
}

} // namespace

std::optional<int> monthOfHolidayText(std::string_view monthText, const FormatSettings& fs) {
    const std::string lower = foldCase(monthText);
    for (std::size_t m = 0; m < fs.longMonthNames.size(); ++m) {
        const std::string name = foldCase(fs.longMonthNames[m]);
        if (!name.empty() && lower.find(name) != std::string::npos)
            return static_cast<int>(m) + 1;
    }
    return std::nullopt;
}

std::optional<YearlyRule> yearlyRuleOfHoliday(std::string_view monthText, std::string_view rule,
                                              const FormatSettings& fs) {
    const auto month = monthOfHolidayText(monthText, fs);
    if (!month)
        return std::nullopt;
    YearlyRule r;
    r.month = *month;
    if (isFloatingRule(rule)) {
        if (const auto floating = floatingDayOf(rule, fs)) {
            r.ordinal = floating->ordinal >= kLastOrdinal ? -1 : floating->ordinal;
            r.weekday = floating->weekday;
        } else {
            r.monthDay = 1;
        }
        return r;
    }
    const auto date = holidayDate(kLeapYear, *month, rule, fs);
    if (!date)
        return std::nullopt;
    r.monthDay = decodeDate(*date).day;
    return r;
}

std::string rruleTextOf(const YearlyRule& rule) {
    std::string text = "FREQ=YEARLY;BYMONTH=" + std::to_string(rule.month);
    if (rule.monthDay > 0)
        return text + ";BYMONTHDAY=" + std::to_string(rule.monthDay);
    return text + ";BYDAY=" + std::to_string(rule.ordinal) + icalWeekday(rule.weekday);
}

std::string holidayRuleText(const YearlyRule& rule, const FormatSettings& fs) {
    if (rule.monthDay > 0)
        return std::to_string(rule.monthDay);
    return floatingRuleText(rule.ordinal < 0 ? kLastOrdinal : rule.ordinal, rule.weekday, fs);
}

int firstDateOfRule(const YearlyRule& rule, int year) {
    if (rule.monthDay > 0) {
        while (!isValidDate(year, rule.month, rule.monthDay))
            ++year;
        return dateSerialOf(year, rule.month, rule.monthDay);
    }
    const int n = rule.ordinal < 0 ? kLastOrdinal : rule.ordinal;
    return dateSerialOf(year, rule.month, nthWeekdayOfMonth(year, rule.month, n, rule.weekday));
}

const char* icalWeekday(int weekday) {
    return weekday >= 1 && weekday <= 7 ? kIcalWeekdays[static_cast<std::size_t>(weekday - 1)] : "";
}

int weekdayOfIcal(std::string_view name) {
    for (std::size_t i = 0; i < kIcalWeekdays.size(); ++i)
        if (equalsNoCase(name, kIcalWeekdays[i]))
            return static_cast<int>(i) + 1;
    return 0;
}

std::string contentUid(const std::vector<std::string_view>& parts) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%016llx%016llx",
                  static_cast<unsigned long long>(fnv1a(parts, 0xcbf29ce484222325ULL)),
                  static_cast<unsigned long long>(fnv1a(parts, 0x84222325cbf29ce4ULL)));
    return std::string(buf) + "@dayweaver";
}

std::string taskUid(int date, std::optional<int> minuteOfDay, std::string_view what) {
    const std::string dateText = std::to_string(date);
    const std::string timeText = isoTimeText(minuteOfDay);
    return contentUid({"task", dateText, timeText, what});
}

std::string todoUid(std::string_view what) {
    return contentUid({"todo", what});
}

std::string holidayUid(std::string_view name, const YearlyRule& rule) {
    const std::string rrule = rruleTextOf(rule);
    return contentUid({"holiday", name, rrule});
}

std::string summaryOfText(std::string_view what) {
    return firstLine(what);
}

std::string descriptionOfText(std::string_view what) {
    return replaceLineBreaks(what, "\n");
}

std::string taskTextOf(std::string_view summary, std::string_view description) {
    // Line breaks at the end are left by many writers; anything else is the user's own.
    while (!description.empty() && (description.back() == '\n' || description.back() == '\r'))
        description.remove_suffix(1);
    if (isBlankText(description))
        return std::string(summary);
    if (isBlankText(summary))
        return std::string(description);
    const std::string firstOfDescription = firstLine(replaceLineBreaks(description, "\r\n"));
    if (firstOfDescription == replaceLineBreaks(summary, " "))
        return std::string(description);
    return std::string(summary) + "\n" + std::string(description);
}

std::string categoryOf(const std::vector<std::string>& categories) {
    std::string joined;
    for (const std::string& c : categories) {
        if (!joined.empty())
            joined += ',';
        joined += c;
    }
    return joined;
}

namespace {

// UTF-8 whatever the file held, without control characters.
std::string decodedWithoutControls(std::string_view raw, CheckedText& out) {
    const std::string text = isValidUtf8(raw) ? std::string(raw) : cp1252ToUtf8(raw);
    return dropControlCharacters(text, out.droppedControls);
}

} // namespace

CheckedText checkedTaskText(std::string_view raw) {
    CheckedText out;
    std::string text = normalizeTypedText(decodedWithoutControls(raw, out));
    if (utf8Length(text) > kNotesMaxChars) {
        text = truncateChars(text, kNotesMaxChars);
        out.shortened = true;
    }
    out.text = std::move(text);
    return out;
}

CheckedText checkedCategory(std::string_view raw) {
    CheckedText out;
    std::string text = decodedWithoutControls(raw, out);
    text = normalizeTypedText(trimmedLines(replaceLineBreaks(text, " ")));
    if (utf8Length(text) > kCategoryMaxChars) {
        text = truncateChars(text, kCategoryMaxChars);
        out.shortened = true;
    }
    out.text = std::move(text);
    return out;
}

CheckedText checkedHolidayName(std::string_view raw) {
    CheckedText out;
    const std::string text = decodedWithoutControls(raw, out);
    out.text = normalizeTypedText(trimmedLines(replaceLineBreaks(text, " ")));
    return out;
}

std::optional<int> minuteOfTimeText(std::string_view timeText, const FormatSettings& fs) {
    const auto t = parseTimeText(timeText, fs);
    if (!t)
        return std::nullopt;
    const int minute = static_cast<int>(std::lround(*t * 1440.0));
    return minute >= 1440 ? 1439 : minute;
}

std::string timeTextOf(std::optional<int> minuteOfDay, const FormatSettings& fs) {
    if (!minuteOfDay)
        return kAllDayTimeText;
    return formatDateTime("t", timeFraction(*minuteOfDay / 60, *minuteOfDay % 60), fs);
}

std::string taskKey(int date, std::string_view timeText, std::string_view what,
                    const FormatSettings& fs) {
    if (const auto minute = minuteOfTimeText(timeText, fs))
        return taskKey(date, minute, what);
    // Texts that are no time are compared as they are; an all-day task has no minute.
    std::string key = std::to_string(date) + "\x1f" + "text:";
    key += timeText == kAllDayTimeText ? std::string_view() : timeText;
    key += '\x1f';
    key += what;
    return key;
}

std::string taskKey(int date, std::optional<int> minuteOfDay, std::string_view what) {
    std::string key = std::to_string(date) + "\x1f";
    key += minuteOfDay ? std::to_string(*minuteOfDay) : std::string("text:");
    key += '\x1f';
    key += what;
    return key;
}

std::string todoKey(std::string_view what) {
    return std::string(what);
}

std::string holidayKey(std::string_view name, const YearlyRule& rule) {
    return rruleTextOf(rule) + "\x1f" + std::string(name);
}

std::string calendarItemLine(const CalendarItem& item) {
    switch (item.kind) {
    case CalendarItemKind::Task:
        return "task\t" + isoDateText(item.date) + '\t' + isoTimeText(item.minuteOfDay) + '\t' +
               item.text;
    case CalendarItemKind::Todo:
        return "todo\t\t\t" + item.text;
    case CalendarItemKind::Holiday:
        return "holiday\t" + rruleTextOf(item.rule) + "\t\t" + item.text;
    }
    return {};
}

std::string isoDateText(int date) {
    const CivilDate d = decodeDate(date);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", d.year, d.month, d.day);
    return buf;
}

std::string isoTimeText(std::optional<int> minuteOfDay) {
    if (!minuteOfDay)
        return {};
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d:%02d", *minuteOfDay / 60, *minuteOfDay % 60);
    return buf;
}

} // namespace dw
