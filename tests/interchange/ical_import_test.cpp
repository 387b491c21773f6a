#include "core/dates/date_serial.h"
#include "core/holidays/holiday_rules.h"
#include "core/store/helpers.h"
#include "core/store/task_store.h"
#include "interchange/ical_export.h"
#include "interchange/ical_import.h"
#include "support/table_rows.h"
#include "support/temp_dir.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace dw {
namespace {

using test::Rows;
using test::rowsOf;
using test::setDataRows;
using test::TempDir;

const FormatSettings kFs = FormatSettings::enUS();

// Local time one hour ahead of UTC all year, so that the tests do not depend on the
// machine's zone.
DateSerial utcPlusOne(std::int64_t seconds) {
    return 25569.0 + static_cast<double>(seconds + 3600) / 86400.0;
}

int d(int y, int m, int day) {
    return dateSerialOf(y, m, day);
}

// A store, a to-do list and a holiday table in a data folder of their own.
struct DataFolder {
    TempDir dir;
    FixedClock clock{static_cast<DateSerial>(d(2024, 3, 1))};
    TaskStore store{kFs, clock};
    CellTable holidays{4, 2};
    DataFolder() { store.setDataDir(dir.path()); }
    std::string holidayPath() const { return dir.file("holiday.grd"); }
    ImportOutcome import(const std::string& text, ImportRange range) {
        return importCalendar(text, range, store, holidays, holidayPath(), kFs, utcPlusOne);
    }
};

// Store rows without their keys' sequence numbers, sorted: what a task is, not where it sits.
Rows taskRows(const CellTable& store) {
    Rows rows;
    for (int r = 1; r < store.rowCount(); ++r) {
        std::string line = std::to_string(keyDate(store.cell(StoreCol::Key, r), kFs));
        for (int c = StoreCol::Time; c <= StoreCol::Alarm; ++c)
            line += "|" + store.cell(c, r);
        rows.push_back(line);
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

Rows sorted(Rows rows) {
    std::sort(rows.begin(), rows.end());
    return rows;
}

TEST(IcalRoundTrip, ExportThenImportIntoAnEmptyFolderGivesBackEveryTask) {
    DataFolder from;
    const int day = d(2024, 5, 6);
    setDataRows(
        from.store.gridStore(),
        {{storeKey(day, 101), "9:00 AM", "Work", "Plan, then act; done\\", "No", "Yes"},
         {storeKey(day, 102), "1:30 PM", "A,B", "Two lines\r\nsecond, line", "Yes", "No"},
         {storeKey(day, 103), kAllDayTimeText, "", "Whole day", "No", "No"},
         {storeKey(day + 1, 100), "11:59 PM", "\xc3\x89t\xc3\xa9", "Caf\xc3\xa9", "No", "No"},
         // The same task twice: both come back, the file has two UIDs.
         {storeKey(day + 2, 101), "8:00 AM", "", "Twice", "No", "No"},
         {storeKey(day + 2, 102), "8:00 AM", "", "Twice", "No", "No"}});
    setDataRows(from.store.gridNonday(),
                {{"Home", "Milk, eggs", "No"}, {"", "Taxes\r\nby April", "Yes"}});
    setDataRows(from.holidays, {{"Christmas Day", "12", "December", "25"},
                                {"Memorial Day", "05", "May", "Last : Monday"},
                                {"Labor Day", "09", "September", "First : Monday"},
                                {"Leap Day", "02", "February", "29"},
                                {"No such day", "04", "April", "31"}});

    const CalendarExport out = exportCalendar(from.store.gridStore(), from.store.gridNonday(),
                                              from.holidays, {15, 1700000000}, kFs);
    EXPECT_EQ(out.skippedHolidays, 1);
    EXPECT_EQ(out.items.size(), 6u + 2u + 4u);
    for (const char* part :
         {"BEGIN:VCALENDAR\r\n", "DTSTART:20240506T090000\r\n", "DTSTART;VALUE=DATE:20240506\r\n",
          "TRIGGER:-PT15M\r\n", "SUMMARY:Plan\\, then act\\; done\\\\\r\n", "STATUS:COMPLETED\r\n",
          "X-DAYWEAVER-DONE:YES\r\n", "RRULE:FREQ=YEARLY;BYDAY=-1MO;BYMONTH=5\r\n",
          "RRULE:FREQ=YEARLY;BYMONTHDAY=29;BYMONTH=2\r\n", "DTSTAMP:20231114T221320Z\r\n",
          "DURATION:PT1H\r\n"})
        EXPECT_NE(out.text.find(part), std::string::npos) << part;
    // The same data gives the same file: a calendar reading it again updates its copies.
    EXPECT_EQ(exportCalendar(from.store.gridStore(), from.store.gridNonday(), from.holidays,
                             {15, 1700000000}, kFs)
                  .text,
              out.text);

    DataFolder to;
    const ImportOutcome in = to.import(out.text, {d(2024, 1, 1), d(2024, 12, 31)});
    EXPECT_TRUE(in.saved);
    EXPECT_EQ(in.plan.duplicates, 0);
    EXPECT_TRUE(in.plan.add.notes.empty());
    EXPECT_EQ(taskRows(to.store.gridStore()), taskRows(from.store.gridStore()));
    EXPECT_EQ(sorted(rowsOf(to.store.gridNonday())), sorted(rowsOf(from.store.gridNonday())));
    Rows holidaysBack = rowsOf(from.holidays);
    holidaysBack.pop_back(); // 31 April names no date
    EXPECT_EQ(sorted(rowsOf(to.holidays)), sorted(holidaysBack));
    // Every table reached its file.
    CellTable savedStore(6, 1);
    savedStore.loadTable(to.store.storePath());
    EXPECT_EQ(taskRows(savedStore), taskRows(from.store.gridStore()));
    EXPECT_EQ(sorted(test::fileRows(to.store.todoPath())), sorted(rowsOf(from.store.gridNonday())));
    EXPECT_EQ(sorted(test::fileRows(to.holidayPath())), sorted(holidaysBack));

    // Importing the same file again adds nothing.
    const ImportOutcome again = to.import(out.text, {d(2024, 1, 1), d(2024, 12, 31)});
    EXPECT_TRUE(again.plan.add.tasks.empty());
    EXPECT_TRUE(again.plan.add.todos.empty());
    EXPECT_TRUE(again.plan.add.holidays.empty());
    EXPECT_EQ(again.plan.duplicates, 6 + 2 + 4);
}

std::string fixture(const char* name) {
    return readCalendarFile(std::string(DAYWEAVER_FIXTURES) + "/ical/" + name);
}

TEST(IcalImport, AFileFromAnotherCalendarProgram) {
    DataFolder folder;
    const ImportOutcome in =
        folder.import(fixture("other_program.ics"), {d(2024, 1, 1), d(2024, 12, 31)});
    ASSERT_TRUE(in.saved);
    const std::string standUp = "Stand-up, team A\r\nAgenda:\r\n1. Blockers, risks\r\n2. Plans; "
                                "next steps";
    const std::string flight =
        "Flight to Lisbon\r\nThis description is long enough that the writer folds it onto a "
        "second line, as the standard asks of lines longer than seventy-five octets.";
    const auto row = [](int date, const std::string& rest) {
        return std::to_string(date) + "|" + rest;
    };
    EXPECT_EQ(taskRows(folder.store.gridStore()),
              sorted({
                  // New York winter time, UTC-5, shown at UTC+1.
                  row(d(2024, 3, 5), "3:30 PM|Work, Meetings|" + standUp + "|No|Yes"),
                  row(d(2024, 3, 7), "3:30 PM|Work, Meetings|" + standUp + "|No|Yes"),
                  // Summer time from 10 March: UTC-4. 14 March is an exception, the 19th
                  // was moved to eleven, the 21st cancelled.
                  row(d(2024, 3, 12), "2:30 PM|Work, Meetings|" + standUp + "|No|Yes"),
                  row(d(2024, 3, 19), "4:00 PM||Stand-up, team A\r\nMoved to eleven|No|No"),
                  row(d(2024, 3, 6), "1:00 PM||" + flight + "|No|No"),
                  row(d(2024, 3, 7), "All day||Company day off|No|No"),
                  row(d(2024, 1, 26), "All day||Payday|No|No"),
                  row(d(2024, 2, 23), "All day||Payday|No|No"),
                  row(d(2024, 3, 29), "All day||Payday|No|No"),
              }));
    EXPECT_EQ(rowsOf(folder.store.gridNonday()), (Rows{"|Buy milk, eggs|No", "|File taxes|Yes"}));
    EXPECT_EQ(in.plan.duplicates, 0);
}

TEST(IcalImport, ImportedTasksTakeTheirPlaceByTime) {
    DataFolder folder;
    const int day = d(2024, 3, 5);
    setDataRows(folder.store.gridStore(), {{storeKey(day, 101), "9:00 AM", "", "nine", "No", "No"},
                                           {storeKey(day, 102), "1:00 PM", "", "one", "No", "No"}});
    // Floating times and a date, in an order of their own: 7 PM, midnight, 2 PM, all day,
    // 9:30 AM, 11:59 PM.
    std::string text = "BEGIN:VCALENDAR\r\n";
    const std::pair<const char*, const char*> events[] = {
        {"DTSTART:20240305T190000", "seven"},
        {"DTSTART:20240305T000000", "midnight"},
        {"DTSTART:20240305T140000", "two"},
        {"DTSTART;VALUE=DATE:20240305", "all day"},
        {"DTSTART:20240305T093000", "half past nine"},
        {"DTSTART:20240305T235900", "last"}};
    int uid = 0;
    for (const auto& [start, summary] : events)
        text += "BEGIN:VEVENT\r\nUID:" + std::to_string(++uid) + "\r\n" + start +
                "\r\nSUMMARY:" + summary + "\r\nEND:VEVENT\r\n";
    text += "END:VCALENDAR\r\n";
    ASSERT_TRUE(folder.import(text, {d(2024, 1, 1), d(2024, 12, 31)}).saved);
    folder.store.readFromStore(day);
    std::vector<std::string> order;
    for (int r = 1; r < folder.store.gridDay().rowCount(); ++r)
        order.push_back(folder.store.gridDay().cell(DayCol::What, r));
    EXPECT_EQ(order, (std::vector<std::string>{"all day", "midnight", "nine", "half past nine",
                                               "one", "two", "seven", "last"}));
}

TEST(IcalImport, ControlCharactersAreDroppedAndTheImportSaysHowMany) {
    DataFolder folder;
    const std::string text = "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nUID:1\r\n"
                             "DTSTART:20240305T090000\r\nSUMMARY:Pay \x1b[5mnow\r\n"
                             "END:VEVENT\r\nBEGIN:VTODO\r\nUID:2\r\nSUMMARY:Ring\x07\x07\r\n"
                             "END:VTODO\r\nEND:VCALENDAR\r\n";
    const ImportOutcome in = folder.import(text, {d(2024, 1, 1), d(2024, 12, 31)});
    ASSERT_TRUE(in.saved);
    EXPECT_EQ(taskRows(folder.store.gridStore()),
              Rows{std::to_string(d(2024, 3, 5)) + "|9:00 AM||Pay [5mnow|No|No"});
    EXPECT_EQ(rowsOf(folder.store.gridNonday()), Rows{"|Ring|No"});
    EXPECT_EQ(in.plan.add.notes,
              std::vector<std::string>{"Control characters dropped from the texts: 3"});
}

TEST(IcalImport, RepetitionsStayWithinTheRange) {
    const std::string daily =
        "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nUID:x\r\nDTSTART:19900101T070000"
        "\r\nRRULE:FREQ=DAILY\r\nSUMMARY:Walk\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";
    const CalendarContents c = readCalendar(daily, {d(2024, 2, 27), d(2024, 3, 2)}, utcPlusOne);
    std::vector<int> dates;
    for (const ImportedTask& t : c.tasks)
        dates.push_back(t.date);
    EXPECT_EQ(dates, (std::vector<int>{d(2024, 2, 27), d(2024, 2, 28), d(2024, 2, 29),
                                       d(2024, 3, 1), d(2024, 3, 2)}));
    EXPECT_EQ(c.tasks.front().minuteOfDay, 7 * 60);
}

TEST(IcalImport, DuplicatesOfStoredTasksAreLeftOut) {
    DataFolder folder;
    setDataRows(folder.store.gridStore(), {{storeKey(d(2024, 3, 6), 101), "1:00 PM", "Travel",
                                            "Flight to Lisbon", "No", "No"}});
    const std::string file = "BEGIN:VCALENDAR\r\n"
                             "BEGIN:VEVENT\r\nUID:a\r\nDTSTART:20240306T120000Z\r\nSUMMARY:Flight "
                             "to Lisbon\r\nEND:VEVENT\r\n"
                             "BEGIN:VEVENT\r\nUID:b\r\nDTSTART:20240306T130000\r\nSUMMARY:Flight "
                             "to Lisbon\r\nEND:VEVENT\r\n"
                             "BEGIN:VEVENT\r\nUID:c\r\nDTSTART:20240306T140000\r\nSUMMARY:Flight "
                             "to Lisbon\r\nEND:VEVENT\r\n"
                             "END:VCALENDAR\r\n";
    const ImportPlan plan =
        planImport(readCalendar(file, {d(2024, 1, 1), d(2024, 12, 31)}, utcPlusOne),
                   folder.store.gridStore(), folder.store.gridNonday(), folder.holidays, kFs);
    // The same flight in UTC and in local time; the third is an hour later.
    EXPECT_EQ(plan.duplicates, 2);
    ASSERT_EQ(plan.add.tasks.size(), 1u);
    EXPECT_EQ(plan.add.tasks[0].minuteOfDay, 14 * 60);
}

TEST(IcalImport, DamagedAndHostileFilesGiveAClearError) {
    const std::string event = "BEGIN:VEVENT\r\nUID:x\r\nDTSTART:20240306T120000Z\r\nSUMMARY:x\r\n"
                              "END:VEVENT\r\n";
    std::string manyObjects = "BEGIN:VCALENDAR\r\n";
    for (std::size_t i = 0; i <= kMaxCalendarObjects; ++i)
        manyObjects += "BEGIN:VEVENT\r\n";
    const struct {
        std::string text;
        std::string error;
    } cases[] = {
        {"", "The file is not an iCalendar file."},
        {"Date,Time,What\r\n1/1/2000,9:00,x\r\n", "The file is not an iCalendar file."},
        {std::string("BEGIN:VCALENDAR\r\n\0\x01\x02", 20), "The file is not an iCalendar file."},
        {"BEGIN:VCALENDAR\r\n" + event, // cut short
         "The iCalendar file is damaged: it ends before its calendar does."},
        {manyObjects, "The file holds more than 100000 calendar objects."},
        {std::string(kMaxCalendarFileBytes + 1, ' '),
         "The file is too large to be a calendar (more than 10 MB)."},
        {"BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nUID:m\r\nDTSTART:19900101T000000\r\n"
         "RRULE:FREQ=MINUTELY\r\nSUMMARY:x\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n",
         "The file's events repeat too often to be read."},
    };
    for (const auto& c : cases) {
        try {
            readCalendar(c.text, {d(2024, 1, 1), d(2024, 12, 31)}, utcPlusOne);
            ADD_FAILURE() << "no error for: " << c.text.substr(0, 40);
        } catch (const IcalFileError& e) {
            EXPECT_EQ(e.what(), c.error);
        }
    }
}

TEST(IcalImport, ObjectsThatCannotBeReadAreNotedAndTheRestImported) {
    const std::string file = "BEGIN:VCALENDAR\r\n"
                             "BEGIN:VEVENT\r\nUID:a\r\nDTSTART:2024-garbage\r\nSUMMARY:Broken\r\n"
                             "END:VEVENT\r\n"
                             "BEGIN:VEVENT\r\nUID:b\r\nDTSTART:20240306T140000\r\nEND:VEVENT\r\n"
                             "BEGIN:VEVENT\r\nUID:c\r\nDTSTART;VALUE=DATE:20240307\r\nSUMMARY:Fine"
                             "\r\nCATEGORIES:A very long category name indeed\r\nEND:VEVENT\r\n"
                             "END:VCALENDAR\r\n";
    const CalendarContents c = readCalendar(file, {d(2024, 1, 1), d(2024, 12, 31)}, utcPlusOne);
    ASSERT_EQ(c.tasks.size(), 1u);
    EXPECT_EQ(c.tasks[0].what, "Fine");
    EXPECT_EQ(c.tasks[0].category, "A very long category");
    EXPECT_EQ(c.notes, (std::vector<std::string>{"Left out, no readable start: \"Broken\"",
                                                 "Left out, no text: an event of 2024-03-06",
                                                 "Category shortened to 20 characters: \"Fine\""}));
}

TEST(IcalImport, RangeChecks) {
    EXPECT_EQ(importRangeError({100, 100 + 7400}), "");
    EXPECT_EQ(importRangeError({100, 100 + 7401}), "Date range exceeds 20 years!");
    EXPECT_EQ(importRangeError({100, 99}), "The end date is before the start date.");
    const ImportRange r = defaultImportRange(d(2024, 2, 29));
    EXPECT_EQ(r.from, d(2023, 2, 28));
    EXPECT_EQ(r.to, d(2026, 2, 28));
}

} // namespace
} // namespace dw
