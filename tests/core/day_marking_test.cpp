#include "core/calendar/day_marking.h"
#include "core/dates/date_serial.h"
#include "core/store/task_store.h"

#include <gtest/gtest.h>
#include <map>
#include <string>

namespace dw {
namespace {

// December 2023, the month the calendar shows.
int dec(int day) {
    return dateSerialOf(2023, 12, day);
}

constexpr WinColor kButtonFace = 0x8000000F;
constexpr WinColor kWindowText = 0x80000008;

// A real dated store answers dateHighlight, so the filter counts exactly as in the window.
class DayMarkingTest : public ::testing::Test {
protected:
    DayMarkingTest() : store(fs, clock) {
        add(dec(4), "Yes");           // done only
        add(dec(5), "No");            // not done only
        add(dec(6), "Yes");           // both kinds, done first in store order
        add(dec(6), "No");            //
        add(dec(7), "No", "Hidden");  // only a task the filter hides
        add(dec(8), "Maybe");         // a done flag that is neither Yes nor No
        add(dec(24), "Yes");          // holiday with a done task
        add(dec(25), "No");           // holiday with a task not done
        add(dec(31), "No", "Hidden"); // holiday whose only task is hidden
        store.setFilter(
            [](const std::string&, const std::string& category) { return category != "Hidden"; });
        holidays = {{dec(24), "Christmas Eve"},
                    {dec(25), "Christmas"},
                    {dec(26), "Boxing Day"},
                    {dec(31), "New Year's Eve"}};
    }

    void add(int date, const std::string& done, const std::string& category = "Work") {
        CellTable& s = store.gridStore();
        const int r = s.rowCount();
        s.insertRows(r, 1);
        const std::string cells[] = {
            storeKey(date, 100 + r), "9:00 AM", category, "task", done, "No"};
        for (int c = 0; c < 6; ++c)
            s.setCell(c, r, cells[c]);
    }

    DayMarking mark(const DayCell& cell, const DayMarkingSettings& s) {
        return markDay(
            cell, s,
            [this](int d, bool wantDone, bool wantNotDone) {
                return store.dateHighlight(d, wantDone, wantNotDone);
            },
            [this](int d) {
                ++holidayLookups;
                const auto it = holidays.find(d);
                return it == holidays.end() ? std::string() : it->second;
            });
    }

    static DayCell cellOn(int date) { return {date, 2023, 12, false, true, true}; }

    FormatSettings fs = FormatSettings::enUS();
    FixedClock clock{static_cast<DateSerial>(dec(1))};
    TaskStore store;
    std::map<int, std::string> holidays;
    int holidayLookups = 0;
};

TEST_F(DayMarkingTest, PrecedenceOfTasksAndHolidaysUnderEachSwitch) {
    using M = DayMark;
    struct Switches {
        bool done, notDone, holiday;
    };
    const Switches all{true, true, true}, doneOnly{true, false, true},
        notDoneOnly{false, true, true}, tasksOff{false, false, true}, noHoliday{true, true, false};
    struct Case {
        int day;
        Switches sw;
        DayMark expected;
    } cases[] = {
        {4, all, M::Done},          {5, all, M::NotDone},         {6, all, M::NotDone},
        {6, doneOnly, M::Done},     {6, notDoneOnly, M::NotDone}, {6, tasksOff, M::Plain},
        {5, doneOnly, M::Plain},    {4, notDoneOnly, M::Plain},   {7, all, M::Plain},
        {8, all, M::Plain},         {9, all, M::Plain},           {26, all, M::Holiday},
        {26, noHoliday, M::Plain},  {25, all, M::NotDone},        {25, doneOnly, M::Holiday},
        {25, tasksOff, M::Holiday}, {24, all, M::Done},           {24, notDoneOnly, M::Holiday},
        {31, all, M::Holiday},      {25, noHoliday, M::NotDone},
    };
    for (const Case& c : cases) {
        DayMarkingSettings s = dayMarkingSettingsOf(Options{});
        s.colorDone = c.sw.done;
        s.colorNotDone = c.sw.notDone;
        s.colorHoliday = c.sw.holiday;
        const DayMarking m = mark(cellOn(dec(c.day)), s);
        SCOPED_TRACE("day " + std::to_string(c.day));
        EXPECT_EQ(m.mark, c.expected);
        EXPECT_TRUE(m.defaultDraw);
        // The default option colours, so a swapped pair shows here.
        const ColorPair expectedColors = c.expected == M::Done      ? ColorPair{0, 0x00FFFF00}
                                         : c.expected == M::NotDone ? ColorPair{0x00FFFFFF, 0xFF}
                                         : c.expected == M::Holiday
                                             ? ColorPair{0, 0x0000FFFF}
                                             : ColorPair{kWindowText, kButtonFace};
        EXPECT_EQ(m.colors, expectedColors);
    }
}

TEST_F(DayMarkingTest, ColoursComeFromTheOptions) {
    Options o;
    o.doneFG = 0x010203;
    o.doneBG = 0x040506;
    o.notDoneFG = 0x070809;
    o.notDoneBG = 0x0A0B0C;
    o.holidayFG = 0x0D0E0F;
    o.holidayBG = 0x101112;
    const DayMarkingSettings s = dayMarkingSettingsOf(o);
    EXPECT_EQ(mark(cellOn(dec(4)), s).colors, (ColorPair{0x010203, 0x040506}));
    EXPECT_EQ(mark(cellOn(dec(5)), s).colors, (ColorPair{0x070809, 0x0A0B0C}));
    EXPECT_EQ(mark(cellOn(dec(26)), s).colors, (ColorPair{0x0D0E0F, 0x101112}));
}

TEST_F(DayMarkingTest, SelectedDayKeepsItsLookOnlyOnTheActiveCalendar) {
    const DayMarkingSettings s;
    DayCell cell = cellOn(dec(25)); // holiday with a task not done
    cell.selected = true;
    const DayMarking active = mark(cell, s);
    EXPECT_EQ(active.mark, DayMark::Selected);
    EXPECT_EQ(active.colors, (ColorPair{kWindowText, 0x80000014}));
    EXPECT_TRUE(active.defaultDraw);

    cell.activeCalendar = false;
    EXPECT_EQ(mark(cell, s).mark, DayMark::NotDone);

    // Another calendar's cell that is not selected is marked as usual.
    cell.selected = false;
    EXPECT_EQ(mark(cell, s).mark, DayMark::NotDone);
}

TEST_F(DayMarkingTest, NeighbouringMonthsDaysAreNeverMarked) {
    const DayMarkingSettings s;
    // 25 December shown inside the January calendar, and 5 December inside November's.
    for (auto [date, year, month] : {std::tuple{dec(25), 2024, 1}, std::tuple{dec(5), 2023, 11},
                                     std::tuple{dec(5), 2022, 12}}) {
        const DayMarking m = mark({date, year, month, true, true, true}, s);
        EXPECT_EQ(m.mark, DayMark::NeighbourMonth);
        EXPECT_EQ(m.colors, (ColorPair{0x00808080, kButtonFace}));
        EXPECT_TRUE(m.defaultDraw);
    }
    EXPECT_EQ(holidayLookups, 0);
}

TEST_F(DayMarkingTest, NothingIsDrawnWhileTheMonthsAreUnsettled) {
    DayCell cell = cellOn(dec(5));
    cell.settled = false;
    const DayMarking m = mark(cell, DayMarkingSettings{});
    EXPECT_EQ(m.mark, DayMark::None);
    EXPECT_FALSE(m.defaultDraw);
    EXPECT_EQ(holidayLookups, 0);
}

TEST_F(DayMarkingTest, HolidayLookupIsSkippedWhenItsColouringIsOff) {
    DayMarkingSettings s;
    s.colorHoliday = false;
    for (int day = 1; day <= 31; ++day)
        mark(cellOn(dec(day)), s);
    EXPECT_EQ(holidayLookups, 0);
}

} // namespace
} // namespace dw
