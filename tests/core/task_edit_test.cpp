#include "core/dates/date_serial.h"
#include "core/editing/task_completion.h"
#include "core/editing/task_edit.h"
#include "core/store/text_codec.h"

#include <cmath>
#include <gtest/gtest.h>

namespace dw {
namespace {

using Lines = std::vector<std::string>;

TEST(TaskEdit, MemoTextBecomesLinesAsTheMemoCountsThem) {
    struct Case {
        const char* typed;
        Lines lines;
        bool blank;
    } cases[] = {
        {"", {}, true},
        {"\n", {""}, true},        // one empty line
        {"\n\n", {"", ""}, false}, // two empty lines: "\r\n\r\n"
        {"Call Bob", {"Call Bob"}, false},
        {"a\nb\n", {"a", "b"}, false}, // a last line break adds no line
        {"a\rb\r\nc", {"a", "b", "c"}, false},
        {"\tx\by", {" xy"}, false}, // TAB and backspace pasted in
        {"\b\b", {}, true},
        {"   ", {"   "}, false},
    };
    for (const auto& c : cases) {
        const Lines lines = memoLines(c.typed);
        EXPECT_EQ(lines, c.lines) << c.typed;
        EXPECT_EQ(notesAreBlank(lines), c.blank) << c.typed;
    }
    EXPECT_EQ(memoText("\n\n"), "\r\n\r\n");
    EXPECT_EQ(memoText("a\nb"), "a\r\nb\r\n");
    EXPECT_EQ(memoText("one"), "one");
}

TEST(TaskEdit, LimitsCountCharactersNotBytes) {
    struct Case {
        std::size_t fieldChars, replacedChars;
        std::string incoming;
        std::size_t max;
        std::string fits;
    } cases[] = {
        {0, 0, "Übung", 20, "Übung"},
        {18, 0, "äöü", 20, "äö"},            // two bytes each, yet two characters fit
        {20, 0, "x", 20, ""},                // full
        {20, 3, "日本語です", 20, "日本語"}, // a selection gives way
        {25, 0, "x", 20, ""},                // already longer (from a file): no growth
        {25, 10, "abcdefgh", 20, "abcde"},
        {2047, 0, "a\nb", 2048, "a"}, // a line break counts one
        {0, 0, "😀😀😀", 2, "😀😀"},       // four-byte characters stay whole
    };
    for (const auto& c : cases)
        EXPECT_EQ(fitInsertion(c.fieldChars, c.replacedChars, c.incoming, c.max), c.fits)
            << c.incoming << " into " << c.fieldChars;

    // Nothing already in a field is cut when it is handed over.
    std::string ue;
    for (int i = 0; i < 3000; ++i)
        ue += "ü";
    EXPECT_EQ(utf8Length(memoText(ue)), 3000u);
}

TEST(TaskEdit, SingleLineTextForCellsAndListFiles) {
    EXPECT_EQ(singleLineText("Home\r\nWork"), "Home Work");
    EXPECT_EQ(singleLineText("Home\nWork\r"), "Home Work ");
    EXPECT_EQ(singleLineText("a\tb\bc"), "a bc");
    EXPECT_EQ(singleLineText(""), "");
}

TEST(TaskEdit, FaceOffersRepeatAndRescheduleOnlyForExistingOpenDayTasks) {
    struct Case {
        const char* what;
        bool done, datedExisting, timeHidden;
        bool complete, repeat, reschedule, statusAtLeft;
        const char* status;
    } cases[] = {
        {"new day task", false, false, false, true, false, false, false, kStatusNotDone},
        {"existing day task", false, true, false, true, true, true, false, kStatusNotDone},
        {"to-do task", false, false, true, true, false, false, true, kStatusNotDone},
        {"done day task", true, true, true, false, false, false, true, kStatusDone},
        {"done to-do task", true, false, true, false, false, false, true, kStatusDone},
    };
    for (const auto& c : cases) {
        const EditorFace f = editorFace(c.done, c.datedExisting, c.timeHidden);
        EXPECT_EQ(f.complete, c.complete) << c.what;
        EXPECT_EQ(f.repeat, c.repeat) << c.what;
        EXPECT_EQ(f.reschedule, c.reschedule) << c.what;
        EXPECT_EQ(f.statusAtLeft, c.statusAtLeft) << c.what;
        EXPECT_STREQ(f.status, c.status) << c.what;
    }
}

TEST(TaskEdit, RescheduleClosesOnlyForAnotherDay) {
    const DateSerial day = 36526;
    EXPECT_FALSE(rescheduleCloses(day, day));
    EXPECT_FALSE(rescheduleCloses(day + 0.75, day)); // a time of day is no other date
    EXPECT_TRUE(rescheduleCloses(day + 1, day));
    EXPECT_TRUE(rescheduleCloses(day - 1, day + 0.5));
}

TEST(TaskEdit, CaptionShowsFiftyCharactersOfTheText) {
    EXPECT_EQ(existingTaskCaption("Call Bob"), "Task: Call Bob ...");
    const std::string longText(60, 'x');
    EXPECT_EQ(existingTaskCaption(longText), "Task: " + std::string(50, 'x') + " ...");
    EXPECT_EQ(existingTaskCaption("Übung\r\nzwei\r\n"), "Task: Übung  zwei   ...");
}

// What Mark as completed records when the completion page is confirmed as it opens.
TEST(TaskEdit, ACompletionAsItStandsRecordsWhatTheCompletionPageStartsWith) {
    const FormatSettings fs = FormatSettings::enUS();
    const FixedClock clock(encodeDateTime(2000, 3, 15, 16, 45));
    const int date = dateSerialOf(2000, 3, 20);
    const DatedTask task{"7:05 AM", "Health\tcheck", "Dentist\r\nbring\tthe card", false, true};

    const CompletedTask day = completionAsItStands(task, TaskPane::Day, date, fs, clock);
    EXPECT_EQ(day.completionDate, dateSerialOf(2000, 3, 15));
    EXPECT_EQ(std::lround(day.time * 1440), 7 * 60 + 5);
    EXPECT_EQ(day.category, "Health check");
    EXPECT_EQ(day.origin, "Mon 3/20/2000");
    EXPECT_EQ(day.what, "Dentist\r\nbring the card\r\n");
    EXPECT_EQ(day.notes, "");

    // A time that does not read, and a to-do task's hidden time box: now.
    DatedTask odd = task;
    odd.time = "soon";
    EXPECT_EQ(std::lround(completionAsItStands(odd, TaskPane::Day, date, fs, clock).time * 1440),
              16 * 60 + 45);
    const CompletedTask todo = completionAsItStands(task, TaskPane::Todo, date, fs, clock);
    EXPECT_EQ(std::lround(todo.time * 1440), 16 * 60 + 45);
    EXPECT_EQ(todo.origin, "Non date task");
}

} // namespace
} // namespace dw
