#include "core/dates/date_serial.h"
#include "core/output/print_selection.h"
#include "core/store/task_store.h"
#include "support/table_rows.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace dw {
namespace {

const int kMay1 = dateSerialOf(2024, 5, 1);
const int kMay2 = kMay1 + 1;
const int kMay3 = kMay1 + 2;

TEST(PrintSelection, DatedTaskChoices) {
    PrintSelection all;
    PrintSelection doneOnly;
    doneOnly.notDone = false;
    PrintSelection notDoneOnly;
    notDoneOnly.done = false;
    PrintSelection neither;
    neither.done = neither.notDone = false;
    PrintSelection range = PrintSelection::startingOn(kMay2);
    range.allDates = false;
    PrintSelection work;
    work.byCategory = true;
    work.categories = {"Work"};

    const struct {
        const char* what;
        const PrintSelection& sel;
        int date;
        const char* done;
        const char* category;
        bool admitted;
    } cases[] = {
        {"defaults admit done", all, kMay1, "Yes", "Work", true},
        {"defaults admit not done", all, kMay1, "No", "", true},
        {"done only: Yes", doneOnly, kMay1, "Yes", "", true},
        {"done only: No", doneOnly, kMay1, "No", "", false},
        {"done only: other case is not done", doneOnly, kMay1, "yes", "", false},
        {"not done only: yes counts as not done", notDoneOnly, kMay1, "yes", "", true},
        {"not done only: Yes", notDoneOnly, kMay1, "Yes", "", false},
        {"neither box", neither, kMay1, "No", "", false},
        {"one-day range: that day", range, kMay2, "No", "", true},
        {"one-day range: day before", range, kMay1, "No", "", false},
        {"one-day range: day after", range, kMay3, "No", "", false},
        {"category exact", work, kMay1, "No", "Work", true},
        {"category case counts", work, kMay1, "No", "work", false},
        {"category other", work, kMay1, "No", "Home", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(okToPrintDateTask(c.sel, c.date, c.done, c.category), c.admitted) << c.what;
}

TEST(PrintSelection, TodoChoices) {
    PrintSelection sel;
    EXPECT_TRUE(okToPrintNonDateTask(sel, "Any"));
    sel.byCategory = true;
    sel.categories = {"Home"};
    EXPECT_TRUE(okToPrintNonDateTask(sel, "Home"));
    EXPECT_FALSE(okToPrintNonDateTask(sel, "home"));
    sel.byCategory = false;
    sel.todo = false;
    EXPECT_FALSE(okToPrintNonDateTask(sel, "Home"));
}

TEST(PrintSelection, WindowChecks) {
    PrintSelection sel = PrintSelection::startingOn(kMay2);
    EXPECT_FALSE(checkPrintSelection(sel));

    sel.done = sel.notDone = sel.todo = false;
    auto problem = checkPrintSelection(sel);
    ASSERT_TRUE(problem);
    EXPECT_EQ(problem->message,
              "At least one of the DONE, NOT DONE or TO-DO options must be checked");
    EXPECT_EQ(problem->field, SelectionProblem::Field::NotDone);
    sel.todo = true;

    sel.allDates = false;
    EXPECT_FALSE(checkPrintSelection(sel)) << "equal dates are accepted";
    sel.toDate = kMay1;
    problem = checkPrintSelection(sel);
    ASSERT_TRUE(problem);
    EXPECT_EQ(problem->message, "The second date must be AFTER the first date!");
    EXPECT_EQ(problem->field, SelectionProblem::Field::ToDate);
    sel.allDates = true;
    EXPECT_FALSE(checkPrintSelection(sel)) << "the range is not looked at for all dates";

    sel.byCategory = true;
    problem = checkPrintSelection(sel);
    ASSERT_TRUE(problem);
    EXPECT_EQ(problem->field, SelectionProblem::Field::Category);
}

TEST(PrintSelection, CategoryChoicesFromFileOrBuiltIn) {
    test::TempDir dir;
    CategoryChoices none = printCategoryChoices(dir.path());
    EXPECT_EQ(none.entries,
              (std::vector<std::string>{"1 - High", "2 - Medium", "3 - Low", "4 - Don't Care"}));
    EXPECT_EQ(none.chosen, -1);
    dir.write("category.xxx", "Work\r\nHome\r\nGarden\r\n");
    CategoryChoices file = printCategoryChoices(dir.path());
    EXPECT_EQ(file.entries, (std::vector<std::string>{"Work", "Home", "Garden"}));
    EXPECT_EQ(file.chosen, 1);
}

class PrintTableTest : public ::testing::Test {
protected:
    FormatSettings fs = FormatSettings::enUS();
    CellTable store = makeGridStore(fs);
    CellTable todo = makeGridNonday();
    void SetUp() override {
        test::setDataRows(store, {{storeKey(kMay1, 100), "9:00 AM", "Work", "Plan", "Yes", "No"},
                                  {storeKey(kMay2, 100), "10:30 AM", "Home", "Call", "No", "Yes"},
                                  {"", "", "", "", "", ""},
                                  {storeKey(kMay3, 100), "", "Work", "Ship", "yes", "No"}});
        test::setDataRows(todo,
                          {{"Home", "Milk, eggs", "Yes"}, {"", "", ""}, {"Work", "Mail", "No"}});
    }
};

TEST_F(PrintTableTest, DefaultsPrintEveryDatedThenEveryTodoTask) {
    CellTable print;
    transferToPrintTable(print, store, PrintSelection{}, fs);
    appendTodoToPrintTable(print, todo, PrintSelection{});
    EXPECT_EQ(print.cell(0, 0), "Date");
    EXPECT_EQ(print.cell(5, 0), "Alarm");
    EXPECT_EQ(test::rowsOf(print),
              (test::Rows{"5/1/2024|9:00 AM|Work|Plan|Yes|No", "5/2/2024|10:30 AM|Home|Call|No|Yes",
                          "5/3/2024||Work|Ship|yes|No", "To-do||Home|Milk, eggs|Yes|",
                          "To-do||Work|Mail|No|"}));
}

TEST_F(PrintTableTest, SelectionsChooseRows) {
    PrintSelection doneOnly;
    doneOnly.notDone = false;
    CellTable print;
    transferToPrintTable(print, store, doneOnly, fs);
    appendTodoToPrintTable(print, todo, doneOnly);
    EXPECT_EQ(test::rowsOf(print),
              (test::Rows{"5/1/2024|9:00 AM|Work|Plan|Yes|No", "To-do||Home|Milk, eggs|Yes|",
                          "To-do||Work|Mail|No|"}));

    PrintSelection todoOnly;
    todoOnly.done = todoOnly.notDone = false;
    todoOnly.byCategory = true;
    todoOnly.categories = {"Work"};
    transferToPrintTable(print, store, todoOnly, fs);
    appendTodoToPrintTable(print, todo, todoOnly);
    EXPECT_EQ(print.rowCount(), 2);
    EXPECT_EQ(test::rowsOf(print), (test::Rows{"To-do||Work|Mail|No|"}));

    PrintSelection range = PrintSelection::startingOn(kMay2);
    range.allDates = false;
    range.toDate = kMay3;
    range.todo = false;
    transferToPrintTable(print, store, range, fs);
    EXPECT_EQ(test::rowsOf(print),
              (test::Rows{"5/2/2024|10:30 AM|Home|Call|No|Yes", "5/3/2024||Work|Ship|yes|No"}));
}

TEST_F(PrintTableTest, RebuildForgetsTheLastPrint) {
    CellTable print;
    transferToPrintTable(print, store, PrintSelection{}, fs);
    appendTodoToPrintTable(print, todo, PrintSelection{});
    PrintSelection none;
    none.done = none.notDone = false;
    transferToPrintTable(print, store, none, fs);
    EXPECT_EQ(print.rowCount(), 1);
}

} // namespace
} // namespace dw
