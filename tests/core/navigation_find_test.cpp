#include "core/calendar/find.h"
#include "core/calendar/found_row.h"
#include "core/calendar/navigation.h"
#include "core/dates/date_serial.h"
#include "core/store/task_store.h"
#include "support/table_rows.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace dw {
namespace {

int mar(int day) {
    return dateSerialOf(2024, 3, day);
}

// The same date as a date value, which may carry a time of day.
DateSerial day(int d) {
    return mar(d);
}

// A small dated store in date order; the filter hides the category "Hidden".
class NavigationFindTest : public ::testing::Test {
protected:
    NavigationFindTest() : store(fs, clock) {
        test::setDataRows(
            store.gridStore(),
            {
                {storeKey(mar(2), 100), "9:00 AM", "Work", "Team meeting at nine", "No", "No"},
                {storeKey(mar(2), 101), "10:00 AM", "Home", "meet, then lunch", "Yes", "No"},
                {storeKey(mar(5), 100), "8:00 AM", "Hidden", "MEET the others", "No", "No"},
                {storeKey(mar(9), 100), "11:00 AM", "Work", "Meeting notes", "Yes", "No"},
                {storeKey(mar(12), 100), "12:00 PM", "Home", "meet", "No", "No"},
            });
        hideCategory();
    }

    void hideCategory() {
        store.setFilter(
            [](const std::string&, const std::string& category) { return category != "Hidden"; });
    }

    // The rows a run of Find Next stops at; 0 stands for a search that found nothing.
    std::vector<int> steps(FindSearch& search, const FindQuery& query, int count) {
        std::vector<int> rows;
        for (int i = 0; i < count; ++i) {
            const auto hit = search.findNext(store, query);
            rows.push_back(hit ? hit->row : 0);
        }
        return rows;
    }

    FormatSettings fs = FormatSettings::enUS();
    FixedClock clock{static_cast<DateSerial>(mar(1))};
    TaskStore store;
};

TEST_F(NavigationFindTest, NextAndPriorHighlightedDate) {
    const HighlightChoice both{true, true}, doneOnly{true, false}, notDoneOnly{false, true},
        none{false, false};
    enum Way { Forward, Back };
    struct Case {
        Way way;
        DateSerial from;
        HighlightChoice choice;
        DateSerial expected;
        const char* why;
    };
    const Case cases[] = {
        {Forward, day(2), both, day(9),
         "from a highlighted date to a strictly later one; the "
         "date with only a hidden task is skipped"},
        {Forward, day(1) + 0.5, both, day(2), "from a plain date"},
        {Forward, day(2) + 0.75, both, day(9), "a time of day on the start date"},
        {Forward, day(2), notDoneOnly, day(12), "the date with only a done task is skipped"},
        {Forward, day(9), doneOnly, day(9), "no later done date: unchanged"},
        {Forward, day(12), both, day(12), "nothing later: unchanged"},
        {Forward, day(12) + 0.25, both, day(12) + 0.25, "unchanged keeps the time of day"},
        {Forward, day(1), none, day(1), "both colourings off: nothing is highlighted"},
        {Back, day(12), both, day(9), "from a highlighted date to a strictly earlier one"},
        {Back, day(12) + 0.5, both, day(9), "the time of day does not make the same day earlier"},
        {Back, day(10), notDoneOnly, day(2), "the done-only and the hidden dates are skipped"},
        {Back, day(8), doneOnly, day(2), "done colouring only"},
        {Back, day(2), both, day(2), "nothing earlier: unchanged"},
        {Back, day(31), none, day(31), "both colourings off"},
    };
    for (const Case& c : cases) {
        const DateSerial got =
            c.way == Forward ? goForward(store, c.from, c.choice) : goBack(store, c.from, c.choice);
        EXPECT_EQ(got, c.expected) << c.why;
    }
    // Without the filter the hidden task's date counts.
    store.setFilter({});
    EXPECT_EQ(goForward(store, mar(2), {true, true}), mar(5));
    EXPECT_EQ(goBack(store, mar(9), {true, true}), mar(5));
}

TEST_F(NavigationFindTest, AKeyThatIsNoNumberIsNeverHighlighted) {
    test::setDataRows(store.gridStore(), {{"junk", "9:00 AM", "", "x", "No", "No"},
                                          {storeKey(mar(3), 100), "9:00 AM", "", "x", "No", "No"}});
    EXPECT_EQ(goBack(store, mar(3), {true, true}), mar(3));
    EXPECT_EQ(goForward(store, 0, {true, true}), mar(3));
}

TEST(TextMatches, WordsCaseAndBlankTexts) {
    struct Case {
        const char* text;
        bool wholeWord;
        bool matchCase;
        const char* find;
        bool expected;
    };
    const Case cases[] = {
        {"meeting", false, false, "meet", true},
        {"Meeting", false, false, "MEET", true},
        {"Meeting", false, true, "meet", false},
        {"meeting", true, false, "meet", false},
        {"meet, then lunch", true, false, "meet", true},
        {"MEET", true, false, "Meet", true},
        {"MEET", true, true, "Meet", false},
        {"call\r\nmeet", true, false, "meet", true},
        // The text is split at its delimiters, so a find text holding one is no piece.
        {"the team meeting at 9", true, false, "team meeting", false},
        {"meet, lunch", true, false, "meet,", false},
        {"meet, lunch", true, false, "meet, lunch", false},
        {"meet, lunch", true, true, "meet, lunch", false},
        {"meet, lunch", true, false, "lunch", true},
        {"x_meet", true, false, "meet", false},
        {"meet2", true, false, "meet", false},
        {"a , b", true, false, ",", false},
        {"   \r\n", true, false, "x", false},
        {"meet", true, false, " \b ", false},
        {"", true, false, "", false},
        // Full Unicode case folding, in both kinds of search.
        {"über", false, false, "ÜBER", true},
        {"Rentrée à l'école", false, false, "ÉCOLE", true},
        {"Rentrée à l'école", true, false, "ÉCOLE", true},
        {"Rentrée à l'école", true, true, "ÉCOLE", false},
        {"Straße kehren", false, false, "strasse", true},
        {"STRASSE kehren", true, false, "straße", true},
        {"Straßenfest", true, false, "strasse", false},
        // Bytes that are not UTF-8 still match their ASCII letters without case.
        {"Caf\xE9 MEET", true, false, "meet", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(textMatches(c.text, c.wholeWord, c.matchCase, c.find), c.expected)
            << '"' << c.text << "\" / \"" << c.find << "\" whole word " << c.wholeWord
            << " match case " << c.matchCase;
}

TEST(TextMatches, TheThirtyFiveDelimitersEndAWord) {
    const std::string delimiters = "\t'\r\n ,./?;:`\"<>[]{}-=\\+|()%@&^$#!~*";
    ASSERT_EQ(delimiters.size(), 35u);
    for (const char c : delimiters) {
        EXPECT_TRUE(isWordDelimiter(c)) << int(c);
        EXPECT_TRUE(textMatches(std::string("x") + c + "meet" + c + "y", true, false, "meet"))
            << int(c);
    }
    int count = 0;
    for (int c = 0; c < 256; ++c)
        count += isWordDelimiter(static_cast<char>(c)) ? 1 : 0;
    EXPECT_EQ(count, 35);
}

TEST_F(NavigationFindTest, FindNextDownWrapsWithItsMessageAndSkipsHiddenTasks) {
    FindSearch search;
    search.open();
    // Two hits on one date, a hit in the last row, the hidden row never found, the wrap.
    EXPECT_EQ(steps(search, {"meet", false, false, true}, 6), (std::vector<int>{1, 2, 4, 5, 0, 1}));

    search.open();
    const FindQuery word{"meet", true, false, true};
    const auto first = search.findNext(store, word);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->row, 2);
    EXPECT_EQ(first->date, mar(2));
    EXPECT_EQ(steps(search, word, 2), (std::vector<int>{5, 0}));
    EXPECT_TRUE(search.restartsFromLast());
    EXPECT_EQ(search.position(), 0);

    // With the filter off the hidden task is found too; match case keeps it out again.
    store.setFilter({});
    search.open();
    EXPECT_EQ(steps(search, word, 4), (std::vector<int>{2, 3, 5, 0}));
    search.open();
    EXPECT_EQ(steps(search, {"MEET", true, true, true}, 2), (std::vector<int>{3, 0}));
}

TEST_F(NavigationFindTest, FindNextUpStartsAtTheLastTaskAndSharesThePosition) {
    FindSearch search;
    search.open();
    const FindQuery up{"meet", false, false, false};
    // A fresh upward search finds the last task at once.
    EXPECT_EQ(steps(search, up, 6), (std::vector<int>{5, 4, 2, 1, 0, 5}));

    // A failed upward search makes the next downward one start from the first row.
    search.open();
    steps(search, up, 5);
    EXPECT_TRUE(search.restartsFromFirst());
    FindQuery down = up;
    down.down = true;
    EXPECT_EQ(steps(search, down, 1), (std::vector<int>{1}));

    // Switching direction continues from the last step: up after a downward hit at row 2
    // tests row 3 (hidden), then finds row 2 again.
    search.open();
    EXPECT_EQ(steps(search, down, 2), (std::vector<int>{1, 2}));
    EXPECT_EQ(steps(search, up, 2), (std::vector<int>{2, 1}));
    EXPECT_EQ(steps(search, down, 1), (std::vector<int>{1}));

    // After a downward failure the upward search starts from the last row.
    search.open();
    EXPECT_EQ(steps(search, {"lunch", false, false, true}, 2), (std::vector<int>{2, 0}));
    EXPECT_EQ(steps(search, up, 1), (std::vector<int>{5}));
}

TEST_F(NavigationFindTest, ShortenedStoreAndEmptyFindText) {
    FindSearch search;
    search.open();
    const FindQuery up{"meet", false, false, false};
    EXPECT_EQ(steps(search, up, 1), (std::vector<int>{5}));
    // Tasks deleted meanwhile: the position is no row any more.
    store.gridStore().setRowCount(3);
    EXPECT_EQ(steps(search, up, 2), (std::vector<int>{2, 1}));
    // An empty find text is found nowhere (not in every row).
    search.open();
    EXPECT_EQ(steps(search, {"", false, false, true}, 1), (std::vector<int>{0}));
}

TEST(FindFailureMessage, NamesTheTextAndWhereTheNextSearchStarts) {
    EXPECT_EQ(findFailureMessage("dentist", true),
              "Could not find \"dentist\" in any calendar task. Search reset to first task date");
    EXPECT_EQ(findFailureMessage("dentist", false),
              "Could not find \"dentist\" in any calendar task. Search reset to last task date");
}

TEST_F(NavigationFindTest, TheFoundTaskInTheDayView) {
    test::setDataRows(store.gridStore(),
                      {{storeKey(mar(2), 100), "9:00 AM", "Work", "same", "No", "No"},
                       {storeKey(mar(2), 101), "9:30 AM", "Hidden", "same", "No", "No"},
                       {storeKey(mar(2), 102), "9:00 AM", "Work", "same", "No", "No"}});
    store.readFromStore(mar(2));
    EXPECT_EQ(foundDayRow(store, 3), 1);
    EXPECT_EQ(foundDayRow(store, 3, true), 2);
    EXPECT_EQ(foundDayRow(store, 2), -1) << "hidden";
    EXPECT_EQ(foundDayRow(store, 4), -1) << "no such row";
}

} // namespace
} // namespace dw
