#include "core/dates/date_serial.h"
#include "core/store/task_store.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <random>

namespace dw {
namespace {

using test::TempDir;

const int kDay = 36526; // 1 January 2000

class StoreTest : public ::testing::Test {
protected:
    StoreTest() : clock(encodeDateTime(2000, 1, 1, 12, 0)), store(fs, clock) {
        store.setDataDir(dir.path());
    }

    // Appends a store row as it would be in a file: key, time, category, text, done, alarm.
    void addRow(const std::string& key, const std::string& time, const std::string& what = "t",
                const std::string& done = "No", const std::string& category = "") {
        CellTable& s = store.gridStore();
        const int r = s.rowCount();
        s.insertRows(r, 1);
        const std::string cells[] = {key, time, category, what, done, "No"};
        for (int c = 0; c < 6; ++c)
            s.setCell(c, r, cells[c]);
    }

    // The store's data rows as "key time what done".
    std::vector<std::string> storeRows() const {
        std::vector<std::string> out;
        const CellTable& s = store.gridStore();
        for (int r = 1; r < s.rowCount(); ++r)
            out.push_back(s.cell(0, r) + " " + s.cell(1, r) + " " + s.cell(3, r) + " " +
                          s.cell(4, r));
        return out;
    }

    std::vector<std::string> dayRows() const {
        std::vector<std::string> out;
        const CellTable& d = store.gridDay();
        for (int r = 1; r < d.rowCount(); ++r)
            out.push_back(d.cell(0, r) + " " + d.cell(2, r) + " " + d.cell(3, r));
        return out;
    }

    void hideDone() {
        store.setFilter([](const std::string& done, const std::string&) { return done != "Yes"; });
    }

    TempDir dir;
    FormatSettings fs = FormatSettings::enUS();
    FixedClock clock;
    TaskStore store;
};

TEST(StoreKey, KeyDateAndKeyOrder) {
    const FormatSettings fs = FormatSettings::enUS();
    struct {
        const char* key;
        int date;
    } dates[] = {{"36526.101", 36526}, {"36526", 36526},     {"", 0},
                 {"abc", 0},           {"2.100", 2},         {"-5.1", -5},
                 {"1e5", 100000},      {"99999999999.1", 0}, {"36526.1x", 0}};
    for (const auto& c : dates)
        EXPECT_EQ(keyDate(c.key, fs), c.date) << c.key;
    EXPECT_EQ(storeKey(36526, 101), "36526.101");

    // In date and sequence order; keys that are no number count as date 0, in text order.
    const std::vector<std::string> ordered = {"36526.1x",  "abc",        "2.100",     "9999.101",
                                              "36526.100", "36526.101",  "36526.999", "36526.1000",
                                              "36527.100", "100000.101", "109575.100"};
    for (size_t i = 0; i < ordered.size(); ++i)
        for (size_t j = 0; j < ordered.size(); ++j)
            EXPECT_EQ(compareStoreKeys(ordered[i], ordered[j], fs) < 0, i < j)
                << ordered[i] << " vs " << ordered[j];
}

TEST(StoreKey, DayViewTimeComparison) {
    const FormatSettings fs = FormatSettings::enUS();
    const FixedClock clock(encodeDateTime(2000, 1, 1, 12, 0));
    EXPECT_LT(gridDayCustomCompare("9:00 AM", "10:00 AM", fs, clock), 0);
    EXPECT_GT(gridDayCustomCompare("1:00 PM", "11:59 AM", fs, clock), 0);
    EXPECT_EQ(gridDayCustomCompare("9:00 AM", "9:00 AM", fs, clock), 0);
    EXPECT_EQ(gridDayCustomCompare("", "9:00 AM", fs, clock), 0);
    // Not a time: reads as now, after every time of day.
    EXPECT_GT(gridDayCustomCompare("soon", "11:59 PM", fs, clock), 0);

    // Two empty times are equal, so the category decides.
    CellTable day = makeGridDay(fs, clock);
    day.setRowCount(3);
    day.setCell(1, 1, "Work");
    day.setCell(1, 2, "Home");
    day.sortRows();
    EXPECT_EQ(day.cell(1, 1), "Home");
}

TEST_F(StoreTest, FirstTaskOfAnEmptyStore) {
    store.readFromStore(kDay);
    EXPECT_EQ(store.gridDay().rowCount(), 2);
    EXPECT_EQ(dayRows(), (std::vector<std::string>{"  "}));

    store.gridDay().setCell(0, 1, "9:00 AM");
    store.gridDay().setCell(2, 1, "First");
    store.gridDay().setCell(3, 1, "No");
    ASSERT_TRUE(store.writeToStore(kDay));
    EXPECT_EQ(storeRows(), (std::vector<std::string>{"36526.101 9:00 AM First No"}));
    EXPECT_EQ(dir.read("grid.grd"), "6,2\r\ncw 0,110\r\ncw 1,94\r\ncw 2,146\r\ncw 3,64\r\n"
                                    "cw 4,64\r\ncw 5,64\r\n0,1,36526.101\r\n1,1,9:00 AM\r\n"
                                    "3,1,First\r\n4,1,No\r\n");

    // Deleting the only task leaves no data row.
    store.readFromStore(kDay);
    ASSERT_TRUE(store.deleteEntry(store.gridDay(), 1, true, kDay));
    EXPECT_EQ(store.gridStore().rowCount(), 1);
    EXPECT_EQ(dir.read("grid.grd"),
              "6,1\r\ncw 0,110\r\ncw 1,94\r\ncw 2,146\r\ncw 3,64\r\ncw 4,64\r\ncw 5,64\r\n");
}

TEST_F(StoreTest, ReadShowsOnlyTheDatesRowsInStoreOrder) {
    addRow("36525.101", "8:00 AM", "before");
    addRow("36526.101", "9:00 AM", "a");
    addRow("36526.102", "7:00 AM", "b"); // store order, not time order
    addRow("36527.101", "8:00 AM", "after");
    store.readFromStore(kDay);
    EXPECT_EQ(dayRows(), (std::vector<std::string>{"9:00 AM a No", "7:00 AM b No"}));
    store.readFromStore(kDay + 5);
    EXPECT_EQ(dayRows(), (std::vector<std::string>{"  "}));
    // A new store has three empty rows (date 0) ahead of the ones added here.
    EXPECT_EQ(store.firstVisibleRow(kDay), 5);
    EXPECT_EQ(store.countVisibleRows(5), 2);
    EXPECT_EQ(store.firstVisibleRow(kDay + 5), -1);
}

TEST_F(StoreTest, FilteredWriteBackKeepsHiddenRows) {
    addRow("36526.101", "9:00 AM", "nine");
    addRow("36526.102", "10:00 AM", "ten", "Yes");
    addRow("36526.103", "11:00 AM", "eleven");
    hideDone();
    store.readFromStore(kDay);
    ASSERT_EQ(dayRows(), (std::vector<std::string>{"9:00 AM nine No", "11:00 AM eleven No"}));

    store.gridDay().setCell(2, 1, "nine, edited");
    ASSERT_TRUE(store.writeToStore(kDay));
    // The two shown tasks are renumbered 101 and 102; the hidden done task keeps its key
    // and, sharing 102, is ordered against the new row by its time text.
    EXPECT_EQ(storeRows(), (std::vector<std::string>{"36526.101 9:00 AM nine, edited No",
                                                     "36526.102 10:00 AM ten Yes",
                                                     "36526.102 11:00 AM eleven No"}));
    EXPECT_EQ(store.dateHighlight(kDay, true, false), -1); // the done task is hidden
    store.setFilter(nullptr);
    EXPECT_EQ(store.dateHighlight(kDay, true, false), 1);
}

TEST_F(StoreTest, AllRowsHiddenWritesAtTheTop) {
    addRow("36520.101", "9:00 AM", "early");
    addRow("36526.101", "9:00 AM", "done", "Yes");
    addRow("36530.101", "9:00 AM", "late");
    hideDone();
    store.readFromStore(kDay);
    store.gridDay().setCell(0, 1, "8:00 AM");
    store.gridDay().setCell(2, 1, "new");
    store.gridDay().setCell(3, 1, "No");
    ASSERT_TRUE(store.writeToStore(kDay));
    EXPECT_EQ(storeRows(), (std::vector<std::string>{
                               "36520.101 9:00 AM early No", "36526.101 8:00 AM new No",
                               "36526.101 9:00 AM done Yes", "36530.101 9:00 AM late No"}));
}

TEST_F(StoreTest, BlankDayRowsAreNotWrittenBack) {
    store.readFromStore(kDay);
    store.gridDay().setRowCount(4);
    store.gridDay().setCell(0, 1, "9:00 AM");
    store.gridDay().setCell(2, 2, "no time, so blank");
    store.gridDay().setCell(0, 3, "10:00 AM");
    ASSERT_TRUE(store.writeToStore(kDay));
    EXPECT_EQ(storeRows(),
              (std::vector<std::string>{"36526.101 9:00 AM  ", "36526.103 10:00 AM  "}));
}

TEST_F(StoreTest, InsertedTasksTakeTheirPlaceByTimeAndSurviveAWriteBack) {
    addRow("36526.101", "8:00 AM", "from the day view");
    ASSERT_TRUE(store.insertTask(kDay, {"9:00 AM", "Work", "moved one", false, true}));
    ASSERT_TRUE(store.insertTask(kDay, {"10:00 AM", "Work", "moved two", true, false}));
    // By time, not by the text of the times ("10:00 AM" < "9:00 AM").
    const std::vector<std::string> placed = {"36526.101 8:00 AM from the day view No",
                                             "36526.102 9:00 AM moved one No",
                                             "36526.103 10:00 AM moved two Yes"};
    EXPECT_EQ(storeRows(), placed);
    EXPECT_EQ(store.gridStore().cell(StoreCol::Alarm, 2), "Yes");
    store.readFromStore(kDay);
    ASSERT_TRUE(store.writeToStore(kDay));
    EXPECT_EQ(storeRows(), placed);
}

TEST_F(StoreTest, ThousandTasksOfOneDateKeepTheirOrder) {
    store.readFromStore(kDay);
    const int n = 1000;
    store.gridDay().setRowCount(n + 1);
    for (int j = 1; j <= n; ++j) {
        store.gridDay().setCell(0, j, "9:00 AM");
        store.gridDay().setCell(2, j, std::to_string(j));
    }
    addRow("36527.101", "9:00 AM", "next day");
    ASSERT_TRUE(store.writeToStore(kDay));
    store.readFromStore(kDay);
    ASSERT_EQ(store.gridDay().rowCount(), n + 1);
    for (int j = 1; j <= n; ++j)
        ASSERT_EQ(store.gridDay().cell(2, j), std::to_string(j));
    EXPECT_EQ(store.gridStore().cell(0, 900), "36526.1000");
    EXPECT_EQ(store.gridStore().cell(0, n + 1), "36527.101");
}

TEST_F(StoreTest, DatesOutsideTheFiveDigitYearsAreFound) {
    const int dates[] = {
        dateSerialOf(1900, 1, 1),   dateSerialOf(1927, 5, 17),  dateSerialOf(1927, 5, 18), kDay,
        dateSerialOf(2173, 10, 13), dateSerialOf(2173, 10, 14), dateSerialOf(2500, 6, 1)};
    // Insert in an order that text sorting would get wrong.
    for (int i : {6, 0, 3, 5, 1, 4, 2})
        ASSERT_TRUE(
            store.insertTask(dates[i], {"9:00 AM", "", "task " + std::to_string(i), false, false}));
    for (int i = 0; i < 7; ++i) {
        store.readFromStore(dates[i]);
        EXPECT_EQ(dayRows(),
                  (std::vector<std::string>{"9:00 AM task " + std::to_string(i) + " No"}))
            << dates[i];
    }
    for (int r = 2; r < store.gridStore().rowCount(); ++r)
        EXPECT_LT(store.keyDate(r - 1), store.keyDate(r));
}

TEST_F(StoreTest, AStoreInTheOldTextOrderIsSortedWhenLoaded) {
    // Older versions sorted keys as text: "9000.101" (1924) came after every five-digit date.
    const int old = 9000;
    dir.write("grid.grd", "6,6\r\n"
                          "0,1,36526.101\r\n1,1,9:00 AM\r\n3,1,a\r\n"
                          "0,2,36527.101\r\n1,2,9:00 AM\r\n3,2,b\r\n"
                          "0,3,45000.101\r\n1,3,9:00 AM\r\n3,3,c\r\n"
                          "0,4,9000.101\r\n1,4,9:00 AM\r\n3,4,d\r\n"
                          "0,5,9000.102\r\n1,5,10:00 AM\r\n3,5,e\r\n");
    store.loadStoreFile();
    EXPECT_EQ(store.firstVisibleRow(old), 1);
    store.readFromStore(old);
    EXPECT_EQ(dayRows(), (std::vector<std::string>{"9:00 AM d ", "10:00 AM e "}));
    for (const int date : {36526, 36527, 45000})
        EXPECT_GE(store.firstVisibleRow(date), 1) << date;
}

TEST_F(StoreTest, DateHighlightTakesTheFirstQualifyingRow) {
    addRow("36526.101", "9:00 AM", "a", "Yes");
    addRow("36526.102", "10:00 AM", "b", "No");
    addRow("36527.101", "9:00 AM", "c", "Maybe");
    EXPECT_EQ(store.dateHighlight(kDay, true, true), 1);
    EXPECT_EQ(store.dateHighlight(kDay, false, true), 2);
    EXPECT_EQ(store.dateHighlight(kDay, false, false), -1);
    EXPECT_EQ(store.dateHighlight(kDay + 1, true, true), -1); // neither "Yes" nor "No"
    EXPECT_EQ(store.dateHighlight(kDay + 2, true, true), -1);
}

TEST_F(StoreTest, DeleteFromTheToDoTableDoesNotWriteTheFile) {
    CellTable& todo = store.gridNonday();
    todo.setRowCount(3);
    todo.setCell(1, 1, "one");
    todo.setCell(1, 2, "two");
    ASSERT_TRUE(store.deleteEntry(todo, 1, false, 0));
    EXPECT_EQ(todo.rowCount(), 2);
    EXPECT_EQ(todo.cell(1, 1), "two");
    ASSERT_TRUE(store.deleteEntry(todo, 1, false, 0)); // the only data row is emptied, not removed
    EXPECT_EQ(todo.rowCount(), 2);
    EXPECT_EQ(todo.cell(1, 1), "");
    EXPECT_FALSE(std::filesystem::exists(store.todoPath()));
}

TEST_F(StoreTest, FilesLoadAndDamagedOnesAreKeptAside) {
    store.loadStoreFile(); // missing: no error, table as created
    EXPECT_EQ(store.gridStore().rowCount(), 4);

    dir.write("gridNon.grd", "3,2\r\n0,1,Home\r\n1,1,Call the plumber\r\n2,1,No\r\n");
    store.loadTodoFile();
    EXPECT_EQ(store.gridNonday().cell(1, 1), "Call the plumber");
    EXPECT_EQ(store.gridNonday().cell(1, 0), "What"); // the program's own header

    dir.write("grid.grd", "0,0\r\ngarbage");
    EXPECT_THROW(store.loadStoreFile(), TableFileError);
    EXPECT_EQ(dir.read("grid.grd.damaged"), "0,0\r\ngarbage");

    // A file of fewer columns still leaves room for every column of a task.
    dir.write("grid.grd", "2,2\r\n0,1,36526.101\r\n1,1,9:00 AM\r\n");
    store.loadStoreFile();
    EXPECT_EQ(store.gridStore().colCount(), 6);
}

// The program starts reading its store while it builds its windows: what it then loads
// must be what a load at that moment gives, errors and the damaged file's copy included.
TEST_F(StoreTest, AStoreReadAheadLoadsAsAStoreReadAtOnce) {
    dir.write("grid.grd", "6,4\r\n"
                          "0,1,36527.101\r\n1,1,9:00 AM\r\n3,1,b\r\n"
                          "0,2,9000.101\r\n1,2,9:00 AM\r\n3,2,old date\r\n"
                          "0,3,36526.101\r\n1,3,9:00 AM\r\n3,3,a\r\n");
    TaskStore atOnce(fs, clock);
    atOnce.setDataDir(dir.path());
    atOnce.loadStoreFile();
    store.startLoadingStoreFile();
    store.loadStoreFile();
    EXPECT_EQ(store.gridStore().toFileText(), atOnce.gridStore().toFileText());
    EXPECT_EQ(storeRows(),
              (std::vector<std::string>{"9000.101 9:00 AM old date ", "36526.101 9:00 AM a ",
                                        "36527.101 9:00 AM b "}));
    // A file already in order is taken as it was read: closing then writes nothing.
    ASSERT_TRUE(store.saveStoreFile());
    TaskStore inOrder(fs, clock);
    inOrder.setDataDir(dir.path());
    inOrder.startLoadingStoreFile();
    inOrder.loadStoreFile();
    EXPECT_TRUE(inOrder.gridStore().isSavedAs(inOrder.storePath()));

    dir.write("grid.grd", "0,0\r\ngarbage");
    TaskStore damaged(fs, clock);
    damaged.setDataDir(dir.path());
    damaged.startLoadingStoreFile();
    EXPECT_THROW(damaged.loadStoreFile(), TableFileError);
    EXPECT_EQ(dir.read("grid.grd.damaged"), "0,0\r\ngarbage");

    std::filesystem::remove(dir.file("grid.grd"));
    TaskStore missing(fs, clock);
    missing.setDataDir(dir.path());
    missing.startLoadingStoreFile();
    missing.loadStoreFile();
    EXPECT_EQ(missing.gridStore().rowCount(), 4); // as created

    // A store that never takes its read waits for it as it goes.
    TaskStore unused(fs, clock);
    unused.setDataDir(dir.path());
    unused.startLoadingStoreFile();
}

// A command that reads one date loads only that date's rows: they must be exactly the rows,
// in the order, that the whole store shows for it, however the file lies.
TEST_F(StoreTest, LoadingOneDateShowsWhatTheWholeStoreShows) {
    std::mt19937 rng(11);
    const std::vector<std::string> keys{"36526.101", "36526.102", "36526.0100", "36527.101",
                                        "9000.101",  "36526",     "",           "x",
                                        "36526.9",   "-5.101",    "36528.101"};
    std::string file = "6,41\r\n";
    for (int r = 1; r <= 40; ++r) {
        const std::string key = keys[rng() % keys.size()];
        const std::string rowText = std::to_string(r);
        // Some rows put their key last, as a hand-edited file might.
        if (rng() % 4)
            file += "0," + rowText + "," + key + "\r\n";
        file += "1," + rowText + ",9:00 AM\r\n3," + rowText + ",task " + rowText + "\r\n";
        if (rng() % 4 == 0)
            file += "0," + rowText + "," + key + "\r\n";
    }
    dir.write("grid.grd", file);
    store.loadStoreFile();
    const auto shown = [](const TaskStore& s, int date) {
        std::vector<std::string> rows;
        s.forEachVisibleRow(date, [&](int r) {
            rows.push_back(s.gridStore().cell(0, r) + " " + s.gridStore().cell(3, r));
        });
        return rows;
    };
    for (const int date : {36526, 36527, 36528, 9000, -5, 0, 12345}) {
        TaskStore one(fs, clock);
        one.setDataDir(dir.path());
        one.loadStoreFileForDate(date);
        EXPECT_EQ(shown(one, date), shown(store, date)) << date;
        EXPECT_EQ(one.gridStore().colCount(), 6);
        EXPECT_FALSE(one.saveStoreFile());
    }
    EXPECT_EQ(dir.read("grid.grd"), file);
}

} // namespace
} // namespace dw
