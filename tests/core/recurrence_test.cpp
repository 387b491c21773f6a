#include "core/dates/date_parse.h"
#include "core/dates/date_serial.h"
#include "core/editing/recurrence.h"
#include "core/store/task_store.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <initializer_list>
#include <string>
#include <vector>

namespace dw {
namespace {

using test::TempDir;

int d(int y, int m, int day) {
    return dateSerialOf(y, m, day);
}

std::string iso(int serial) {
    const CivilDate c = decodeDate(serial);
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", c.year, c.month, c.day);
    return text;
}

std::vector<std::string> isoDates(const std::vector<int>& dates) {
    std::vector<std::string> out;
    for (const int date : dates)
        out.push_back(iso(date));
    return out;
}

// Weekdays by name, Sunday first, as the pattern holds them.
std::array<bool, 7> weekdays(std::initializer_list<int> weekdayNumbers) {
    std::array<bool, 7> on{};
    for (const int w : weekdayNumbers)
        on[static_cast<std::size_t>(w - 1)] = true;
    return on;
}
constexpr int Sun = 1, Mon = 2, Tue = 3, Wed = 4, Fri = 6, Sat = 7;

RecurrencePattern daily(int every, bool avoidSat = false, bool avoidSun = false) {
    RecurrencePattern p;
    p.mode = RecurrenceMode::Daily;
    p.every = every;
    p.avoidSaturday = avoidSat;
    p.avoidSunday = avoidSun;
    return p;
}
RecurrencePattern weekly(int every, std::initializer_list<int> days) {
    RecurrencePattern p;
    p.mode = RecurrenceMode::Weekly;
    p.every = every;
    p.weekdays = weekdays(days);
    return p;
}
RecurrencePattern daysOfMonth(int every, std::initializer_list<int> days, bool avoidSat = false,
                              bool avoidSun = false) {
    RecurrencePattern p;
    p.mode = RecurrenceMode::DaysOfMonth;
    p.every = every;
    for (const int day : days)
        p.days[static_cast<std::size_t>(day - 1)] = true;
    p.avoidSaturday = avoidSat;
    p.avoidSunday = avoidSun;
    return p;
}
RecurrencePattern weekOfMonth(int every, std::initializer_list<WeekOrdinal> ordinals,
                              std::initializer_list<int> days) {
    RecurrencePattern p;
    p.mode = RecurrenceMode::WeekOfMonth;
    p.every = every;
    for (const WeekOrdinal o : ordinals)
        p.ordinals[static_cast<std::size_t>(o)] = true;
    p.weekdays = weekdays(days);
    return p;
}
RecurrencePattern annual() {
    RecurrencePattern p;
    p.mode = RecurrenceMode::Annual;
    return p;
}

// 1 January 2000 is a Saturday; 7 January a Friday; 5 January a Wednesday.
TEST(Recurrence, EveryPatternGeneratesItsDatesInGenerationOrder) {
    using O = WeekOrdinal;
    struct Case {
        const char* what;
        RecurrencePattern pattern;
        int start, end;
        std::vector<std::string> dates;
    } cases[] = {
        {"daily: avoided weekend days are dropped, not moved",
         daily(1, true, true),
         d(2000, 1, 7),
         d(2000, 1, 14),
         {"2000-01-07", "2000-01-10", "2000-01-11", "2000-01-12", "2000-01-13", "2000-01-14"}},
        {"daily: an avoided start is skipped and the rhythm kept",
         daily(2, true),
         d(2000, 1, 1),
         d(2000, 1, 9),
         {"2000-01-03", "2000-01-05", "2000-01-07", "2000-01-09"}},
        {"daily: only Sundays avoided",
         daily(3, false, true),
         d(2000, 1, 2),
         d(2000, 1, 11),
         {"2000-01-05", "2000-01-08", "2000-01-11"}},
        {"weekly: the Monday of the start's Sunday-based week falls away",
         weekly(2, {Mon}),
         d(2000, 1, 5),
         d(2000, 2, 1),
         {"2000-01-17", "2000-01-31"}},
        {"weekly: days of a week in weekday order, Sunday first",
         weekly(1, {Sat, Sun, Wed}),
         d(2000, 1, 2),
         d(2000, 1, 15),
         {"2000-01-02", "2000-01-05", "2000-01-08", "2000-01-09", "2000-01-12", "2000-01-15"}},
        {"weekly: a start on a Sunday is its own week's first day",
         weekly(1, {Sun}),
         d(2000, 1, 9),
         d(2000, 1, 16),
         {"2000-01-09", "2000-01-16"}},
        {"days of month: day 31 only in the months that have it",
         daysOfMonth(1, {31}),
         d(2000, 1, 1),
         d(2000, 8, 31),
         {"2000-01-31", "2000-03-31", "2000-05-31", "2000-07-31", "2000-08-31"}},
        {"days of month: five-month steps over the year end",
         daysOfMonth(5, {15}),
         d(2000, 11, 1),
         d(2002, 3, 1),
         {"2000-11-15", "2001-04-15", "2001-09-15", "2002-02-15"}},
        {"days of month: ascending days, the first month's early days fall away",
         daysOfMonth(1, {20, 1, 30}),
         d(2000, 1, 10),
         d(2000, 3, 5),
         {"2000-01-20", "2000-01-30", "2000-02-01", "2000-02-20", "2000-03-01"}},
        {"days of month: 30 is no day of February, even in a leap year",
         daysOfMonth(1, {29, 30}),
         d(2000, 2, 1),
         d(2000, 3, 31),
         {"2000-02-29", "2000-03-29", "2000-03-30"}},
        {"days of month: avoided dates dropped (1 Jan 2000 a Saturday, 2 Apr a Sunday)",
         daysOfMonth(1, {1, 2}, true, true),
         d(2000, 1, 1),
         d(2000, 4, 30),
         {"2000-02-01", "2000-02-02", "2000-03-01", "2000-03-02"}},
        {"week of month: the last Friday is the month's last day",
         weekOfMonth(1, {O::Last}, {Fri}),
         d(2000, 3, 1),
         d(2000, 4, 30),
         {"2000-03-31", "2000-04-28"}},
        {"week of month: by ordinal, then weekday, whatever the dates",
         weekOfMonth(1, {O::First, O::Third}, {Mon, Fri}),
         d(2000, 3, 1),
         d(2000, 3, 31),
         {"2000-03-06", "2000-03-03", "2000-03-20", "2000-03-17"}},
        {"week of month: dates of the first month before the start fall away",
         weekOfMonth(2, {O::First, O::Fourth}, {Sat}),
         d(2000, 1, 10),
         d(2000, 5, 31),
         {"2000-01-22", "2000-03-04", "2000-03-25", "2000-05-06", "2000-05-27"}},
        {"annually: 29 February gives 28 February in common years",
         annual(),
         d(2000, 2, 29),
         d(2005, 12, 31),
         {"2000-02-29", "2001-02-28", "2002-02-28", "2003-02-28", "2004-02-29", "2005-02-28"}},
        {"annually: the end is inclusive",
         annual(),
         d(2000, 6, 1),
         d(2002, 6, 1),
         {"2000-06-01", "2001-06-01", "2002-06-01"}},
        {"end before start: nothing", daily(1), d(2000, 1, 10), d(2000, 1, 9), {}},
        {"no weekday chosen: nothing", weekly(1, {}), d(2000, 1, 1), d(2000, 12, 31), {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const GeneratedDates got = generateDates(c.pattern, c.start, c.end);
        EXPECT_EQ(isoDates(got.dates), c.dates);
        EXPECT_FALSE(got.full);
    }
}

TEST(Recurrence, NthToDateWalksFromEitherEndOfTheMonth) {
    using O = WeekOrdinal;
    struct Case {
        WeekOrdinal ordinal;
        int weekday, year, month;
        const char* date;
    } cases[] = {
        {O::First, Sat, 2000, 1, "2000-01-01"},  {O::First, Fri, 2000, 1, "2000-01-07"},
        {O::Second, Sun, 2000, 1, "2000-01-09"}, {O::Fourth, Mon, 2000, 1, "2000-01-24"},
        {O::Last, Mon, 2000, 1, "2000-01-31"},   {O::Last, Tue, 2000, 2, "2000-02-29"},
        {O::Last, Tue, 2001, 2, "2001-02-27"},   {O::Fourth, Wed, 2001, 2, "2001-02-28"},
        {O::Last, Wed, 2001, 2, "2001-02-28"}, // the 4th and the last coincide
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.date);
        EXPECT_EQ(iso(nthToDate(c.ordinal, c.weekday, c.year, c.month)), c.date);
    }
}

TEST(Recurrence, MonthStepsCarryTheYear) {
    int y = 2000, m = 11;
    incrementMonth(y, m, 5);
    EXPECT_EQ(y * 100 + m, 200104);
    incrementMonth(y, m, 12);
    EXPECT_EQ(y * 100 + m, 200204);
    EXPECT_EQ(lastDayOfMonth(1900, 2), 28);
    EXPECT_EQ(lastDayOfMonth(2000, 2), 29);
}

TEST(Recurrence, EveryIsKeptWithinItsModesLimits) {
    struct Case {
        RecurrenceMode mode;
        int max;
    } cases[] = {{RecurrenceMode::WeekOfMonth, 12},
                 {RecurrenceMode::DaysOfMonth, 12},
                 {RecurrenceMode::Weekly, 52},
                 {RecurrenceMode::Daily, 364}};
    for (const auto& c : cases) {
        EXPECT_EQ(everyLimits(c.mode).min, 1);
        EXPECT_EQ(everyLimits(c.mode).max, c.max);
        EXPECT_EQ(clampEvery(c.mode, 0), 1);
        EXPECT_EQ(clampEvery(c.mode, c.max + 1), c.max);
    }
    // A step of 0 would never end; the generator takes the nearest bound.
    const GeneratedDates got = generateDates(daily(0), d(2000, 1, 1), d(2000, 1, 3));
    EXPECT_EQ(got.dates.size(), 3u);
}

TEST(Recurrence, PreviewChecksTheRangeThenTheResult) {
    const int start = d(2000, 1, 1);
    // Exactly 7400 days is taken: daily over it is the largest preview, 7401 dates, and it
    // fits the preview without reaching its capacity.
    const RecurrencePreview longest = previewDates(daily(1), start, start + 7400);
    EXPECT_EQ(longest.error, "");
    EXPECT_EQ(longest.dates.size(), 7401u);
    EXPECT_FALSE(longest.full);

    const RecurrencePreview tooLong = previewDates(daily(1), start, start + 7401);
    EXPECT_EQ(tooLong.error, "Date range exceeds 20 years!");
    EXPECT_TRUE(tooLong.dates.empty());

    const RecurrencePreview backwards = previewDates(daily(1), start, start - 3);
    EXPECT_EQ(backwards.error,
              "No dates were generated.  Check your starting/ending dates and selections.");
    EXPECT_EQ(rangeDayCount(start, start - 3), -3);

    const RecurrencePreview allAvoided = previewDates(daily(7, true), start, start + 60);
    EXPECT_EQ(allAvoided.error, kNoDatesMessage) << "every date is a Saturday";
}

TEST(Recurrence, AFullPreviewKeepsWhatItHasAndStops) {
    const GeneratedDates got = generateDates(daily(1), d(2000, 1, 1), d(2000, 1, 31), 5);
    EXPECT_TRUE(got.full);
    EXPECT_EQ(isoDates(got.dates),
              (std::vector<std::string>{"2000-01-01", "2000-01-02", "2000-01-03", "2000-01-04",
                                        "2000-01-05"}));
    const GeneratedDates exact = generateDates(daily(1), d(2000, 1, 1), d(2000, 1, 5), 5);
    EXPECT_FALSE(exact.full) << "five dates fill five places without overflowing";
}

TEST(Recurrence, PreviewLinesShowFourDigitYearsAndReadBack) {
    const FixedClock clock(encodeDateTime(2000, 3, 15, 10, 0));
    FormatSettings fs = FormatSettings::enUS();
    EXPECT_EQ(previewLine(d(2000, 3, 16), fs, clock), "3/16/2000\tThu\tTomorrow");

    struct Case {
        const char* shortDate;
        const char* listFormat;
    } cases[] = {
        {"M/d/yyyy", "M/d/yyyy"},
        {"dd.MM.yy", "dd.MM.yyyy"},
        {"yy/MM/dd", "yyyy/MM/dd"},
        {"d 'de' MMMM 'de' yyyy 'del año'", "d 'de' MMMM 'de' yyyy 'de"},
    };
    for (const auto& c : cases) {
        fs.shortDateFormat = c.shortDate;
        EXPECT_EQ(listDateFormat(fs), c.listFormat);
    }

    fs.shortDateFormat = "dd.MM.yy";
    const std::string line = previewLine(d(1999, 12, 31), fs, clock);
    EXPECT_EQ(line.substr(0, line.find('\t')), "31.12.1999");
    EXPECT_EQ(previewLineDate(line, fs, 2000), d(1999, 12, 31));
    EXPECT_EQ(previewLineDate("no date\tMon\tToday", fs, 2000), std::nullopt);
}

TEST(Recurrence, TextsOfTheDialog) {
    EXPECT_EQ(dateCountText(12), "Number of dates: 12");
    EXPECT_EQ(addEventsQuestion(3), "Really add 3 events to the calendar?");
    EXPECT_EQ(recurrenceCaption("Dentist"), "Repeating event for Dentist...");
    EXPECT_EQ(recurrenceCaption("Line one\r\nline two is long enough to be cut off here"),
              "Repeating event for Line one  line two is long enough t...");
    // Characters count, not bytes.
    EXPECT_EQ(recurrenceCaption(std::string(40, 'x') + "\xC3\xA9"),
              "Repeating event for " + std::string(35, 'x') + "...");
    EXPECT_EQ(recurrenceCaption(std::string(34, 'x') + "\xC3\xA9\xC3\xA9"),
              "Repeating event for " + std::string(34, 'x') + "\xC3\xA9...");
}

TEST(Recurrence, TenYearsOnTheSameMonthAndDay) {
    EXPECT_EQ(isoDates(annualDatesForTenYears(d(2004, 2, 29))),
              (std::vector<std::string>{"2005-02-28", "2006-02-28", "2007-02-28", "2008-02-29",
                                        "2009-02-28", "2010-02-28", "2011-02-28", "2012-02-29",
                                        "2013-02-28", "2014-02-28"}));
    const std::vector<int> june = annualDatesForTenYears(d(2000, 6, 30));
    EXPECT_EQ(iso(june.front()), "2001-06-30");
    EXPECT_EQ(iso(june.back()), "2010-06-30");
}

TEST(Recurrence, AddedTasksAreNotDoneAndKeepTheLongTime) {
    TempDir dir;
    FormatSettings fs = FormatSettings::enUS();
    fix2000(fs); // the long time without seconds, as at start-up
    const FixedClock clock(encodeDateTime(2000, 3, 15, 10, 0));
    TaskStore store(fs, clock);
    store.setDataDir(dir.path());
    ASSERT_TRUE(
        store.insertTask(d(2000, 3, 20), DatedTask{"9:00 AM", "", "Existing", false, false}));

    const std::string time = generatedTimeText(timeFraction(14, 5, 30), fs);
    EXPECT_EQ(time, "2:05 PM");
    const DatedTask task{time, "Work", "Report\r\ndue", true, true};
    ASSERT_TRUE(addRecurringTasks(store, {d(2000, 3, 22), d(2000, 3, 20), d(2000, 3, 21)}, task));

    const CellTable& s = store.gridStore();
    ASSERT_EQ(s.rowCount(), 5);
    std::vector<std::string> keys;
    for (int r = 1; r < s.rowCount(); ++r) {
        keys.push_back(s.cell(StoreCol::Key, r));
        if (s.cell(StoreCol::What, r) == "Existing")
            continue;
        EXPECT_EQ(s.cell(StoreCol::Time, r), "2:05 PM");
        EXPECT_EQ(s.cell(StoreCol::Category, r), "Work");
        EXPECT_EQ(s.cell(StoreCol::Done, r), "No") << "done whatever the edited task's flag";
        EXPECT_EQ(s.cell(StoreCol::Alarm, r), "Yes");
    }
    const std::string k20 = std::to_string(d(2000, 3, 20));
    // Each after the date's earlier task, numbered from 101 like a day the editor wrote.
    EXPECT_EQ(keys, (std::vector<std::string>{k20 + ".101", k20 + ".102",
                                              std::to_string(d(2000, 3, 21)) + ".101",
                                              std::to_string(d(2000, 3, 22)) + ".101"}));
    EXPECT_EQ(s.cell(StoreCol::What, 1), "Existing");
    // Saved once, with every row.
    TaskStore reloaded(fs, clock);
    reloaded.setDataDir(dir.path());
    reloaded.loadStoreFile(false);
    EXPECT_EQ(reloaded.gridStore().rowCount(), 5);
}

} // namespace
} // namespace dw
