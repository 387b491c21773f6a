#include "core/dates/date_serial.h"
#include "core/editing/task_edit.h"
#include "core/store/text_codec.h"

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
        const Lines lines = memoLines(c.typed, kNotesMaxChars);
        EXPECT_EQ(lines, c.lines) << c.typed;
        EXPECT_EQ(notesAreBlank(lines), c.blank) << c.typed;
    }
    EXPECT_EQ(memoText("\n\n", kNotesMaxChars), "\r\n\r\n");
    EXPECT_EQ(memoText("a\nb", kNotesMaxChars), "a\r\nb\r\n");
    EXPECT_EQ(memoText("one", kNotesMaxChars), "one");
}

TEST(TaskEdit, LimitsCountCharactersNotBytes) {
    // 2048 characters of two bytes each fit whole; one more is cut.
    std::string ue;
    for (int i = 0; i < 2049; ++i)
        ue += "ü";
    const std::string notes = memoText(ue, kNotesMaxChars);
    EXPECT_EQ(utf8Length(notes), 2048u);
    EXPECT_EQ(notes.size(), 4096u);

    // A line break counts as one character however it was written.
    EXPECT_EQ(memoLines("ab\r\ncd", 4), (Lines{"ab", "c"}));
    EXPECT_EQ(memoLines("ab\ncd", 4), (Lines{"ab", "c"}));

    EXPECT_EQ(categoryText("Gartenarbeit ÄÖÜ äöü ßßß"), "Gartenarbeit ÄÖÜ äöü");
    EXPECT_EQ(utf8Length(categoryText("日本語のカテゴリー名がとても長い場合のテストです")), 20u);
}

TEST(TaskEdit, CategoryIsOneSafeLine) {
    EXPECT_EQ(categoryText("Home\r\nWork"), "Home Work");
    EXPECT_EQ(categoryText("Home\nWork"), "Home Work");
    EXPECT_EQ(categoryText("a\tb\bc"), "a bc");
    EXPECT_EQ(categoryText(""), "");
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

} // namespace
} // namespace dw
