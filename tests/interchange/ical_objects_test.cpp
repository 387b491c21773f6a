#include "core/dates/date_serial.h"
#include "interchange/ical_import.h"
#include "interchange/ical_objects.h"

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

// A task sent to a server is the same object a calendar file holds: the file reader takes
// it back unchanged, and so does the server side.
TEST(IcalObjects, ATaskSentToTheServerReadsBackTheSameBothWays) {
    SyncTask multiLine = dated(kMay6, 9 * 60 + 30, "Dentist\r\nbring the card");
    multiLine.category = "Health, teeth";
    multiLine.done = true;
    multiLine.alarm = true;
    SyncTask todo;
    todo.what = "Buy milk";
    todo.category = "Home";
    const IcalObjectMapping mapping(utcPlusOne);
    for (const SyncTask& task : {multiLine, dated(kMay6, 0, "Early"), todo}) {
        SCOPED_TRACE(task.what);
        const std::string text = mapping.write(task, "uid-1");
        const ParsedObject back = mapping.read(text, kMay6 - 10, kMay6 + 10);
        ASSERT_TRUE(back.ok) << back.error;
        ASSERT_EQ(back.tasks.size(), 1u);
        EXPECT_EQ(back.tasks[0].task, task);

        const CalendarContents file = readCalendar(text, {kMay6 - 10, kMay6 + 10}, utcPlusOne);
        if (task.isTodo()) {
            ASSERT_EQ(file.todos.size(), 1u);
            EXPECT_EQ(file.todos[0].what, task.what);
            EXPECT_EQ(file.todos[0].category, task.category);
        } else {
            ASSERT_EQ(file.tasks.size(), 1u);
            EXPECT_EQ(file.tasks[0].what, task.what);
            EXPECT_EQ(file.tasks[0].category, task.category);
            EXPECT_EQ(file.tasks[0].minuteOfDay, task.minute);
            EXPECT_EQ(file.tasks[0].done, task.done);
            EXPECT_EQ(file.tasks[0].alarm, task.alarm);
        }
    }
}

// An alarm on the server sounds when the program would sound it: the options' lead ahead,
// on a new object and on one that is updated or has an occurrence changed.
TEST(IcalObjects, AlarmsSoundTheLeadAheadOfTheTask) {
    SyncTask task = dated(kMay6, 9 * 60, "Dentist");
    task.alarm = true;
    const IcalObjectMapping mapping(utcPlusOne, 15);
    const std::string sent = mapping.write(task, "uid-1");
    EXPECT_NE(sent.find("TRIGGER:-PT15M"), std::string::npos) << sent;

    task.what = "Dentist at 9";
    const std::string series = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//test//EN\r\n"
                               "BEGIN:VEVENT\r\nUID:s\r\nDTSTAMP:20240101T000000Z\r\n"
                               "DTSTART:20240506T090000\r\nRRULE:FREQ=DAILY;COUNT=3\r\n"
                               "SUMMARY:Dentist\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";
    const ParsedObject read = mapping.read(series, kMay6 - 1, kMay6 + 5);
    ASSERT_TRUE(read.ok) << read.error;
    ASSERT_EQ(read.tasks.size(), 3u);
    const std::string changed = mapping.withOccurrence(series, read.tasks[1].recurrenceId, task);
    EXPECT_NE(changed.find("TRIGGER:-PT15M"), std::string::npos) << changed;
}

// Control characters from a server never reach a task, and the sync can say how many it left
// out: a series' own texts count once, not once per date.
TEST(IcalObjects, ControlCharactersFromTheServerAreDroppedAndCounted) {
    const IcalObjectMapping mapping(utcPlusOne);
    const std::string series = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//test//EN\r\n"
                               "BEGIN:VEVENT\r\nUID:s\r\nDTSTAMP:20240101T000000Z\r\n"
                               "DTSTART:20240506T090000\r\nRRULE:FREQ=DAILY;COUNT=3\r\n"
                               "SUMMARY:Den\x1b[31mtist\x07\r\nCATEGORIES:He\x7f"
                               "alth\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";
    const ParsedObject read = mapping.read(series, kMay6 - 1, kMay6 + 5);
    ASSERT_TRUE(read.ok) << read.error;
    ASSERT_EQ(read.tasks.size(), 3u);
    for (const ObjectTask& t : read.tasks) {
        EXPECT_EQ(t.task.what, "Den[31mtist");
        EXPECT_EQ(t.task.category, "Health");
    }
    EXPECT_EQ(read.droppedControls, 3);
}

// Another program renames a one-line event: the task takes the new name alone.
TEST(IcalObjects, ARenamedOneLineEventIsRenamedHere) {
    const IcalObjectMapping mapping(utcPlusOne);
    std::string text = mapping.write(dated(kMay6, 600, "Dentist"), "uid-1");
    text.replace(text.find("SUMMARY:Dentist"), 15, "SUMMARY:Dentist moved");
    const ParsedObject back = mapping.read(text, kMay6, kMay6);
    ASSERT_EQ(back.tasks.size(), 1u);
    EXPECT_EQ(back.tasks[0].task.what, "Dentist moved");
}

// A weekly series in a named zone (UTC+2 in summer, so 08:30 there is 07:30 here): an
// edited occurrence becomes an override and a deleted one an EXDATE, both in the series'
// zone, and the series keeps its start untouched.
TEST(IcalObjects, ZonedSeriesOverridesAndExdatesKeepTheirZone) {
    const std::string series = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//test//EN\r\n"
                               "BEGIN:VEVENT\r\nUID:s1\r\nDTSTAMP:20240101T000000Z\r\n"
                               "DTSTART;TZID=Europe/Berlin:20240506T083000\r\n"
                               "DURATION:PT30M\r\nRRULE:FREQ=WEEKLY;COUNT=4\r\n"
                               "SUMMARY:Standup\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";
    const IcalObjectMapping mapping(utcPlusOne);
    ParsedObject read = mapping.read(series, kMay6, kMay6 + 60);
    ASSERT_TRUE(read.ok) << read.error;
    ASSERT_EQ(read.tasks.size(), 4u);
    EXPECT_EQ(read.tasks[1].task, dated(kMay6 + 7, 7 * 60 + 30, "Standup"));

    SyncTask moved = read.tasks[1].task;
    moved.what = "Standup, longer";
    std::string text = mapping.withOccurrence(series, read.tasks[1].recurrenceId, moved);
    text = mapping.withoutOccurrence(text, read.tasks[2].recurrenceId);
    EXPECT_NE(text.find("RECURRENCE-ID;TZID=Europe/Berlin:20240513T083000"), std::string::npos)
        << text;
    EXPECT_NE(text.find("EXDATE;TZID=Europe/Berlin:20240520T083000"), std::string::npos) << text;
    EXPECT_NE(text.find("DTSTART;TZID=Europe/Berlin:20240506T083000"), std::string::npos) << text;

    read = mapping.read(text, kMay6, kMay6 + 60);
    ASSERT_TRUE(read.ok) << read.error;
    ASSERT_EQ(read.tasks.size(), 3u);
    EXPECT_EQ(read.tasks[1].task, moved);
    EXPECT_EQ(read.tasks[2].task.date, kMay6 + 21);
}

} // namespace
} // namespace dw
