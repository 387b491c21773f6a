#include "core/dates/date_serial.h"
#include "core/store/helpers.h"
#include "core/store/task_store.h"
#include "core/sync/local_tasks.h"
#include "interchange/ical_import.h"
#include "interchange/ical_objects.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace dw {
namespace {

// Local time one hour ahead of UTC all year, so that the tests do not depend on the
// machine's zone.
DateSerial utcPlusOne(std::int64_t seconds) {
    return 25569.0 + static_cast<double>(seconds + 3600) / 86400.0;
}

const int kMay6 = dateSerialOf(2024, 5, 6);

SyncTask dated(int date, int minute, std::string what) {
    SyncTask t;
    t.date = date;
    t.minute = minute;
    t.what = std::move(what);
    return t;
}

// Lines as they are read: folds joined again.
std::string unfolded(std::string text) {
    for (std::size_t at = text.find("\r\n "); at != std::string::npos; at = text.find("\r\n "))
        text.erase(at, 3);
    return text;
}

std::string calendarOf(const std::string& body) {
    return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//test//EN\r\n" + body + "END:VCALENDAR\r\n";
}

// Commas, semicolons, backslashes and line breaks in a text are escaped in every property
// we write, ours and the standard ones, and read back exact.
TEST(IcalMapping, TextsAreEscapedInEveryPropertyAndReadBackExact) {
    SyncTask task = dated(kMay6, 9 * 60, "Call a, b; c\\d\r\nthen e, f");
    task.category = "Work, urgent; x\\y";
    const IcalObjectMapping mapping(utcPlusOne);
    const std::string text = unfolded(mapping.write(task, "uid-1"));
    EXPECT_NE(text.find("\r\nX-DAYWEAVER-CATEGORY:Work\\, urgent\\; x\\\\y\r\n"), std::string::npos)
        << text;
    EXPECT_NE(text.find("\r\nCATEGORIES:Work\\, urgent\\; x\\\\y\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\r\nSUMMARY:Call a\\, b\\; c\\\\d\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\r\nDESCRIPTION:Call a\\, b\\; c\\\\d\\nthen e\\, f\r\n"),
              std::string::npos)
        << text;
    const ParsedObject back = mapping.read(text, kMay6 - 5, kMay6 + 5);
    ASSERT_TRUE(back.ok) << back.error;
    ASSERT_EQ(back.tasks.size(), 1u);
    EXPECT_EQ(back.tasks[0].task, task);
}

// Another program's texts keep their escapes when we change the task of its object.
TEST(IcalMapping, AnEditKeepsTheEscapesOfOtherProgramsProperties) {
    const std::string server = calendarOf("BEGIN:VEVENT\r\nUID:o-1\r\nDTSTAMP:20240101T000000Z\r\n"
                                          "DTSTART:20240506T090000\r\nSUMMARY:Old\r\n"
                                          "LOCATION:Room 1\\, floor 2\\; east\r\n"
                                          "X-OTHER-NOTE:a\\,b\\;c\\\\d\\ne\r\n"
                                          "END:VEVENT\r\n");
    const IcalObjectMapping mapping(utcPlusOne);
    const std::string edited =
        unfolded(mapping.withOccurrence(server, "", dated(kMay6, 9 * 60, "New")));
    EXPECT_NE(edited.find("\r\nLOCATION:Room 1\\, floor 2\\; east\r\n"), std::string::npos)
        << edited;
    EXPECT_NE(edited.find("\r\nX-OTHER-NOTE:a\\,b\\;c\\\\d\\ne\r\n"), std::string::npos) << edited;
    EXPECT_NE(edited.find("\r\nSUMMARY:New\r\n"), std::string::npos) << edited;
}

// A fold may fall inside a character of several bytes: the line is joined before it is
// decoded, so the text stays UTF-8 (not read as Windows-1252).
TEST(IcalMapping, AFoldInsideAUtf8CharacterKeepsTheText) {
    const std::string file =
        calendarOf("BEGIN:VEVENT\r\nUID:f-1\r\nDTSTART:20240506T090000\r\n"
                   "SUMMARY:Caf\xC3\r\n \xA9 cr\xE2\x82\r\n\t\xAC\xE2\x82\xAC\r\nEND:VEVENT\r\n");
    const CalendarContents read = readCalendar(file, {kMay6 - 5, kMay6 + 5}, utcPlusOne);
    ASSERT_EQ(read.tasks.size(), 1u);
    EXPECT_EQ(read.tasks[0].what, "Caf\xC3\xA9 cr\xE2\x82\xAC\xE2\x82\xAC");
}

// Every RDATE counts: several on one line, several lines, periods; with a rule or without.
TEST(IcalMapping, EveryRdateValueIsAnOccurrence) {
    const std::string rdates = "RDATE:20240510T090000,20240512T090000\r\n"
                               "RDATE;VALUE=PERIOD:20240514T090000/PT1H,20240516T090000/"
                               "20240516T100000\r\n";
    const IcalObjectMapping mapping(utcPlusOne);
    for (const char* rule : {"", "RRULE:FREQ=DAILY;COUNT=2\r\n"}) {
        SCOPED_TRACE(rule);
        const std::string text = calendarOf(
            std::string("BEGIN:VEVENT\r\nUID:r-1\r\nDTSTART:20240506T090000\r\nSUMMARY:Run\r\n") +
            rule + rdates + "END:VEVENT\r\n");
        std::vector<int> expected{kMay6};
        if (*rule)
            expected.push_back(kMay6 + 1);
        for (const int day : {10, 12, 14, 16})
            expected.push_back(dateSerialOf(2024, 5, day));

        const ParsedObject parsed = mapping.read(text, kMay6 - 5, kMay6 + 20);
        ASSERT_TRUE(parsed.ok) << parsed.error;
        std::vector<int> dates;
        for (const ObjectTask& t : parsed.tasks) {
            dates.push_back(t.task.date);
            EXPECT_EQ(t.task.minute, 9 * 60);
        }
        EXPECT_EQ(dates, expected);

        const CalendarContents file = readCalendar(text, {kMay6 - 5, kMay6 + 20}, utcPlusOne);
        dates.clear();
        for (const ImportedTask& t : file.tasks)
            dates.push_back(t.date);
        EXPECT_EQ(dates, expected);
    }
}

// A start that names no real moment leaves the object out, named; it never becomes a task
// at a made-up date.
TEST(IcalMapping, AnUnreadableStartLeavesTheObjectOutNamed) {
    const IcalObjectMapping mapping(utcPlusOne);
    for (const char* start : {"DTSTART:20241301T090000", "DTSTART;VALUE=DATE:20240230",
                              "DTSTART:20240506T256100", "DTSTART:garbage", "DTSTART:"}) {
        SCOPED_TRACE(start);
        const std::string text = calendarOf(std::string("BEGIN:VEVENT\r\nUID:bad-1\r\n") + start +
                                            "\r\nSUMMARY:Broken\r\nEND:VEVENT\r\n");
        const ParsedObject parsed = mapping.read(text, kMay6 - 400, kMay6 + 400);
        EXPECT_FALSE(parsed.ok);
        EXPECT_TRUE(parsed.tasks.empty());
        EXPECT_EQ(parsed.error, "an event without a readable start");

        const CalendarContents file = readCalendar(text, {kMay6 - 400, kMay6 + 400}, utcPlusOne);
        EXPECT_TRUE(file.tasks.empty());
        EXPECT_EQ(file.notes, std::vector<std::string>{"Left out, no readable start: \"Broken\""});
    }
}

SyncTask allDay(int date, std::string what) {
    return dated(date, -1, std::move(what));
}

// An all-day task is "All day" in the store and DTSTART;VALUE=DATE on the server, both
// ways; a server's all-day event is such a task (not one at midnight), and sending it back
// unchanged changes nothing.
TEST(IcalMapping, AnAllDayTaskIsADateOnTheServerAndAllDayInTheStore) {
    const IcalObjectMapping mapping(utcPlusOne);
    const SyncTask task = allDay(kMay6, "Holiday trip");
    ASSERT_TRUE(task.isAllDay());
    const std::string text = unfolded(mapping.write(task, "uid-1"));
    EXPECT_NE(text.find("\r\nDTSTART;VALUE=DATE:20240506\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\r\nDTEND;VALUE=DATE:20240507\r\n"), std::string::npos) << text;

    const std::string server =
        calendarOf("BEGIN:VEVENT\r\nUID:o-1\r\nDTSTAMP:20240101T000000Z\r\n"
                   "DTSTART;VALUE=DATE:20240506\r\nDTEND;VALUE=DATE:20240507\r\n"
                   "SUMMARY:Holiday trip\r\nEND:VEVENT\r\n");
    for (const std::string& object : {text, server}) {
        const ParsedObject back = mapping.read(object, kMay6 - 5, kMay6 + 5);
        ASSERT_TRUE(back.ok) << back.error;
        ASSERT_EQ(back.tasks.size(), 1u);
        EXPECT_EQ(back.tasks[0].task, task);
        EXPECT_EQ(mapping.withOccurrence(object, "", task),
                  mapping.withOccurrence(object, "", back.tasks[0].task));
        EXPECT_NE(unfolded(mapping.withOccurrence(object, "", task))
                      .find("\r\nDTSTART;VALUE=DATE:20240506\r\n"),
                  std::string::npos);
    }
    // A time given to it makes it a timed event, and back.
    const std::string timed =
        unfolded(mapping.withOccurrence(server, "", dated(kMay6, 600, "Holiday trip")));
    EXPECT_NE(timed.find("\r\nDTSTART:20240506T100000\r\n"), std::string::npos) << timed;
    const std::string again = unfolded(mapping.withOccurrence(timed, "", task));
    EXPECT_NE(again.find("\r\nDTSTART;VALUE=DATE:20240506\r\n"), std::string::npos) << again;

    // The store side: gathered from "All day", written back as "All day", whatever the
    // clock says.
    const FormatSettings fs = FormatSettings::enUS();
    test::TempDir dir;
    FixedClock clock{encodeDateTime(2024, 5, 6, 15, 27)};
    TaskStore store(fs, clock);
    store.setDataDir(dir.path());
    CellTable& grid = store.gridStore();
    grid.insertRows(1, 1);
    const std::string cells[] = {storeKey(kMay6, 101), "All day", "", "Holiday trip", "No", "No"};
    for (int c = 0; c < 6; ++c)
        grid.setCell(c, 1, cells[c]);
    const LocalTasks gathered = gatherLocalTasks(store, fs, clock);
    ASSERT_EQ(gathered.tasks.size(), 1u);
    EXPECT_EQ(gathered.tasks[0], task);
    LocalChange change{LocalChange::Kind::Add, -1, allDay(kMay6 + 1, "Back home"), ""};
    ASSERT_TRUE(applyLocalChanges(store, gathered, {change}, fs));
    const LocalTasks after = gatherLocalTasks(store, fs, clock);
    ASSERT_EQ(after.tasks.size(), 2u);
    EXPECT_EQ(after.tasks[1], change.task);
    EXPECT_EQ(store.gridStore().cell(StoreCol::Time, 2), "All day");
}

DateSerial utcPlusTwo(std::int64_t seconds) {
    return 25569.0 + static_cast<double>(seconds + 7200) / 86400.0;
}

// Central European time as a calendar of another program names it, with its own rules.
const char* const kOwnZone = "BEGIN:VTIMEZONE\r\nTZID:W. Europe Standard Time\r\n"
                             "BEGIN:STANDARD\r\nDTSTART:16011028T030000\r\n"
                             "RRULE:FREQ=YEARLY;BYDAY=-1SU;BYMONTH=10\r\n"
                             "TZOFFSETFROM:+0200\r\nTZOFFSETTO:+0100\r\nEND:STANDARD\r\n"
                             "BEGIN:DAYLIGHT\r\nDTSTART:16010325T020000\r\n"
                             "RRULE:FREQ=YEARLY;BYDAY=-1SU;BYMONTH=3\r\n"
                             "TZOFFSETFROM:+0100\r\nTZOFFSETTO:+0200\r\nEND:DAYLIGHT\r\n"
                             "END:VTIMEZONE\r\n";

struct ZoneCase {
    const char* tzid;
    const char* ownZone;
};
const ZoneCase kZones[] = {{"Europe/Berlin", ""}, {"W. Europe Standard Time", kOwnZone}};

std::string zonedEvent(const ZoneCase& zone, const std::string& start, const std::string& end) {
    const std::string tz = std::string(";TZID=") + zone.tzid + ":";
    return calendarOf(std::string(zone.ownZone) +
                      "BEGIN:VEVENT\r\nUID:z-1\r\nDTSTAMP:20240101T000000Z\r\nDTSTART" + tz +
                      start + "\r\nDTEND" + tz + end + "\r\nSUMMARY:Call\r\nEND:VEVENT\r\n");
}

// A time in the hour a spring-forward day skips moves forward: 02:30 is 03:30.
TEST(IcalMapping, ATimeInTheSpringGapMovesForward) {
    const IcalObjectMapping mapping(utcPlusTwo);
    const int day = dateSerialOf(2024, 3, 31);
    for (const ZoneCase& zone : kZones) {
        SCOPED_TRACE(zone.tzid);
        const std::string text = zonedEvent(zone, "20240331T023000", "20240331T040000");
        const ParsedObject parsed = mapping.read(text, day - 5, day + 5);
        ASSERT_TRUE(parsed.ok) << parsed.error;
        ASSERT_EQ(parsed.tasks.size(), 1u);
        EXPECT_EQ(parsed.tasks[0].task.date, day);
        EXPECT_EQ(parsed.tasks[0].task.minute, 3 * 60 + 30);
        // Sent back as it came, it is the same object.
        EXPECT_NE(unfolded(mapping.withOccurrence(text, "", parsed.tasks[0].task))
                      .find("DTSTART;TZID=" + std::string(zone.tzid) + ":20240331T023000\r\n"),
                  std::string::npos);

        const CalendarContents file = readCalendar(text, {day - 5, day + 5}, utcPlusTwo);
        ASSERT_EQ(file.tasks.size(), 1u);
        EXPECT_EQ(file.tasks[0].minuteOfDay, 3 * 60 + 30);
    }
}

// An event in a named zone keeps it through local edits: a new text leaves its times as
// they are, a new time (given in local time) is the same moment in the event's own zone.
TEST(IcalMapping, AnEventKeepsItsZoneThroughLocalEdits) {
    const IcalObjectMapping mapping(utcPlusOne);
    for (const ZoneCase& zone : kZones) {
        SCOPED_TRACE(zone.tzid);
        const std::string tz = std::string("TZID=") + zone.tzid + ":";
        const std::string text = zonedEvent(zone, "20240506T090000", "20240506T100000");
        const ParsedObject parsed = mapping.read(text, kMay6 - 5, kMay6 + 5);
        ASSERT_TRUE(parsed.ok) << parsed.error;
        ASSERT_EQ(parsed.tasks.size(), 1u);
        SyncTask task = parsed.tasks[0].task;
        EXPECT_EQ(task.minute, 8 * 60); // 09:00 at UTC+2 is 08:00 at UTC+1

        task.what = "Call back";
        const std::string renamed = unfolded(mapping.withOccurrence(text, "", task));
        EXPECT_NE(renamed.find("\r\nDTSTART;" + tz + "20240506T090000\r\n"), std::string::npos)
            << renamed;
        EXPECT_NE(renamed.find("\r\nDTEND;" + tz + "20240506T100000\r\n"), std::string::npos);

        task.minute = 14 * 60 + 30;
        const std::string moved = unfolded(mapping.withOccurrence(renamed, "", task));
        EXPECT_NE(moved.find("\r\nDTSTART;" + tz + "20240506T153000\r\n"), std::string::npos)
            << moved;
        EXPECT_NE(moved.find("\r\nDTEND;" + tz + "20240506T163000\r\n"), std::string::npos);
        const ParsedObject back = mapping.read(moved, kMay6 - 5, kMay6 + 5);
        ASSERT_TRUE(back.ok);
        EXPECT_EQ(back.tasks[0].task, task);
    }
}

// A to-do with a due date is a dated task on that day, and goes back as a to-do with DUE.
TEST(IcalMapping, AToDoWithADueDateIsADatedTaskAndStaysAToDo) {
    const IcalObjectMapping mapping(utcPlusOne);
    for (const char* due : {"DUE;VALUE=DATE:20240506", "DUE:20240506T170000"}) {
        SCOPED_TRACE(due);
        const bool allDayDue = std::string(due).find("VALUE=DATE") != std::string::npos;
        const std::string text =
            calendarOf(std::string("BEGIN:VTODO\r\nUID:t-1\r\nDTSTAMP:20240101T000000Z\r\n") + due +
                       "\r\nSUMMARY:Tax return\r\nSTATUS:NEEDS-ACTION\r\nEND:VTODO\r\n");
        const ParsedObject parsed = mapping.read(text, kMay6 - 5, kMay6 + 5);
        ASSERT_TRUE(parsed.ok) << parsed.error;
        ASSERT_EQ(parsed.tasks.size(), 1u);
        const SyncTask expected =
            allDayDue ? allDay(kMay6, "Tax return") : dated(kMay6, 17 * 60, "Tax return");
        EXPECT_EQ(parsed.tasks[0].task, expected);
        EXPECT_EQ(mapping.withOccurrence(text, "", expected),
                  mapping.withOccurrence(text, "", parsed.tasks[0].task));
        EXPECT_NE(unfolded(mapping.withOccurrence(text, "", expected))
                      .find(std::string("\r\n") + due + "\r\n"),
                  std::string::npos);

        SyncTask moved = expected;
        moved.date = kMay6 + 2;
        moved.done = true;
        const std::string back = unfolded(mapping.withOccurrence(text, "", moved));
        EXPECT_NE(back.find("BEGIN:VTODO"), std::string::npos) << back;
        EXPECT_EQ(back.find("BEGIN:VEVENT"), std::string::npos) << back;
        EXPECT_NE(back.find(allDayDue ? "\r\nDUE;VALUE=DATE:20240508\r\n"
                                      : "\r\nDUE:20240508T170000\r\n"),
                  std::string::npos)
            << back;
        const ParsedObject again = mapping.read(back, kMay6 - 5, kMay6 + 5);
        ASSERT_TRUE(again.ok);
        EXPECT_EQ(again.tasks[0].task, moved);

        const CalendarContents file = readCalendar(text, {kMay6 - 5, kMay6 + 5}, utcPlusOne);
        EXPECT_TRUE(file.todos.empty());
        ASSERT_EQ(file.tasks.size(), 1u);
        EXPECT_EQ(file.tasks[0].date, kMay6);
        EXPECT_EQ(file.tasks[0].minuteOfDay,
                  allDayDue ? std::nullopt : std::optional<int>(17 * 60));
    }
}

// An event over several days shows on each of them: its first day as it is, the later
// ones all day. Its end is not part of it (a timed end at midnight closes the day before),
// a timed event shorter than a day stays on its first, and an end far away shows only
// within the window.
TEST(IcalMapping, AnEventOverSeveralDaysShowsOnEveryDayItCovers) {
    struct Case {
        const char* name;
        std::string times;
        int firstMinute; // -1: all day
        int days;
    };
    const Case cases[] = {
        {"all day, three days", "DTSTART;VALUE=DATE:20240506\r\nDTEND;VALUE=DATE:20240509\r\n", -1,
         3},
        {"all day, by duration", "DTSTART;VALUE=DATE:20240506\r\nDURATION:P2D\r\n", -1, 2},
        {"evening to noon two days on", "DTSTART:20240506T180000\r\nDTEND:20240508T120000\r\n",
         18 * 60, 3},
        {"ends at midnight", "DTSTART:20240506T180000\r\nDTEND:20240507T000000\r\n", 18 * 60, 1},
        {"zoned, a day and a night", "DTSTART:20240506T200000Z\r\nDTEND:20240507T210000Z\r\n",
         21 * 60, 2},
        {"a late evening, not a day", "DTSTART:20240506T230000\r\nDTEND:20240507T020000\r\n",
         23 * 60, 1},
        {"ends before it starts", "DTSTART:20240506T090000\r\nDTEND:20240505T090000\r\n", 9 * 60,
         1},
        {"a hostile length", "DTSTART;VALUE=DATE:20240506\r\nDURATION:P99999999W\r\n", -1, 6},
    };
    const IcalObjectMapping mapping(utcPlusOne);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string text =
            calendarOf("BEGIN:VEVENT\r\nUID:m-1\r\nDTSTAMP:20240101T000000Z\r\n" + c.times +
                       "SUMMARY:Trip\r\nEND:VEVENT\r\n");
        // The window ends five days after the first.
        const ParsedObject parsed = mapping.read(text, kMay6 - 5, kMay6 + 5);
        ASSERT_TRUE(parsed.ok) << parsed.error;
        ASSERT_EQ(parsed.tasks.size(), std::size_t(c.days));
        EXPECT_EQ(parsed.tasks[0].recurrenceId, "");
        EXPECT_EQ(parsed.tasks[0].task, dated(kMay6, c.firstMinute, "Trip"));
        for (int k = 1; k < c.days; ++k) {
            EXPECT_EQ(parsed.tasks[k].recurrenceId, "+" + std::to_string(k));
            EXPECT_EQ(parsed.tasks[k].task, allDay(kMay6 + k, "Trip"));
        }
        // A file import shows the same days.
        const CalendarContents file = readCalendar(text, {kMay6 - 5, kMay6 + 5}, utcPlusOne);
        ASSERT_EQ(file.tasks.size(), std::size_t(c.days));
        for (int k = 0; k < c.days; ++k)
            EXPECT_EQ(file.tasks[k].date, kMay6 + k);
    }
}

// What a later day's edit may change is what all the days share: the texts, the category
// and the done flag. The first day moves the event and keeps its length; deleting a later
// day ends the event before it.
TEST(IcalMapping, AnEventOverSeveralDaysIsEditedAsOneEvent) {
    const IcalObjectMapping mapping(utcPlusOne);
    const std::string text =
        calendarOf("BEGIN:VEVENT\r\nUID:m-1\r\nDTSTAMP:20240101T000000Z\r\n"
                   "DTSTART;TZID=Europe/Berlin:20240506T180000\r\n"
                   "DTEND;TZID=Europe/Berlin:20240509T120000\r\nSUMMARY:Trip\r\nEND:VEVENT\r\n");
    const ParsedObject parsed = mapping.read(text, kMay6 - 5, kMay6 + 5);
    ASSERT_TRUE(parsed.ok) << parsed.error;
    ASSERT_EQ(parsed.tasks.size(), 4u);

    // Unchanged, every day writes back the same object.
    for (const ObjectTask& t : parsed.tasks)
        EXPECT_EQ(mapping.withOccurrence(text, t.recurrenceId, t.task),
                  mapping.withOccurrence(text, "", parsed.tasks[0].task));

    SyncTask renamed = parsed.tasks[2].task;
    renamed.what = "Trip to Lyon";
    renamed.category = "Travel";
    renamed.done = true;
    renamed.date += 1; // not the day's to move
    const std::string edited = mapping.withOccurrence(text, "+2", renamed);
    const ParsedObject afterEdit = mapping.read(edited, kMay6 - 5, kMay6 + 5);
    ASSERT_EQ(afterEdit.tasks.size(), 4u);
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(afterEdit.tasks[k].task.what, "Trip to Lyon");
        EXPECT_EQ(afterEdit.tasks[k].task.category, "Travel");
        EXPECT_TRUE(afterEdit.tasks[k].task.done);
        EXPECT_EQ(afterEdit.tasks[k].task.date, kMay6 + k);
    }
    EXPECT_NE(unfolded(edited).find("\r\nDTSTART;TZID=Europe/Berlin:20240506T180000\r\n"),
              std::string::npos)
        << edited;

    SyncTask moved = parsed.tasks[0].task;
    moved.date = kMay6 + 1;
    const std::string later = unfolded(mapping.withOccurrence(text, "", moved));
    EXPECT_NE(later.find("\r\nDTEND;TZID=Europe/Berlin:20240510T120000\r\n"), std::string::npos)
        << later;
    EXPECT_EQ(mapping.read(later, kMay6 - 5, kMay6 + 5).tasks.size(), 4u);

    // Without its third day it ends at the local midnight before it (UTC+1 here), written
    // in its own zone.
    const std::string shorter = unfolded(mapping.withoutOccurrence(text, "+2"));
    EXPECT_NE(shorter.find("\r\nDTEND;TZID=Europe/Berlin:20240508T010000\r\n"), std::string::npos)
        << shorter;
    EXPECT_EQ(mapping.read(shorter, kMay6 - 5, kMay6 + 5).tasks.size(), 2u);
    // Deleting a day past its end changes nothing.
    EXPECT_EQ(mapping.withoutOccurrence(shorter, "+3"), mapping.withoutOccurrence(shorter, "+2"));
}

} // namespace
} // namespace dw
