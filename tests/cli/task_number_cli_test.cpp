#include "core/dates/date_serial.h"
#include "core/dates/format_settings.h"
#include "core/store/task_store.h"
#include "support/cli_in_process.h"
#include "support/table_rows.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using dw::test::Result;
using dw::test::TempDir;

class TaskNumberCli : public ::testing::Test {
protected:
    Result run(const std::vector<std::string>& args) {
        return dw::test::InProcessCli(data.path()).run(args);
    }
    std::string agenda() { return run({"agenda", "2000-03-20"}).out; }

    TempDir data;
};

TEST_F(TaskNumberCli, EditDoneAndDeleteAddressTheTaskAgendaNumbers) {
    ASSERT_EQ(run({"add", "2000-03-20", "09:00", "First"}).status, 0);
    ASSERT_EQ(run({"add", "2000-03-20", "10:00", "Second"}).status, 0);
    EXPECT_EQ(agenda(), "Mon 3/20/2000  5 days\n"
                        "1\t9:00 AM\t\tNo\tNo\tFirst\n"
                        "2\t10:00 AM\t\tNo\tNo\tSecond\n");

    // An edit changes the task where it stands, as the window's editor does.
    Result r = run({"edit", "2000-03-20", "1", "--time", "11:15", "--text", "First, later",
                    "--category", "Work", "--alarm", "on"});
    ASSERT_EQ(r.status, 0) << r.err;
    ASSERT_EQ(run({"done", "2000-03-20", "2"}).status, 0);
    EXPECT_EQ(agenda(), "Mon 3/20/2000  5 days\n"
                        "1\t11:15 AM\tWork\tNo\tYes\tFirst, later\n"
                        "2\t10:00 AM\t\tYes\tNo\tSecond\n");
    // The completion is recorded with the task's date as its origin.
    EXPECT_NE(data.read("gridComp.grd").find("Mon 3/20/2000"), std::string::npos);

    r = run({"done", "2000-03-20", "2"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("Task already marked as complete"), std::string::npos);

    ASSERT_EQ(run({"delete", "2000-03-20", "2"}).status, 0);
    EXPECT_EQ(agenda(), "Mon 3/20/2000  5 days\n"
                        "1\t11:15 AM\tWork\tNo\tYes\tFirst, later\n");
}

TEST_F(TaskNumberCli, RefusesWhatItCannotAddress) {
    ASSERT_EQ(run({"add", "2000-03-20", "09:00", "Only"}).status, 0);
    const std::vector<std::pair<std::vector<std::string>, int>> cases = {
        {{"done", "2000-03-20", "2"}, 1},
        {{"delete", "2000-03-21", "1"}, 1},
        {{"done", "2000-03-20", "0"}, 2},
        {{"edit", "2000-03-20", "1"}, 2},
        {{"edit", "2000-03-20", "1", "--alarm", "maybe"}, 2},
        {{"edit", "2000-03-20", "1", "--text", "  "}, 2},
    };
    for (const auto& [args, status] : cases)
        EXPECT_EQ(run(args).status, status) << args[0] << " " << args[2];
    EXPECT_EQ(agenda(), "Mon 3/20/2000  5 days\n1\t9:00 AM\t\tNo\tNo\tOnly\n");
}

// What a script sees of a change: the task as it now stands, as agenda lists it, or the
// task deleted, with the number it had; a refusal prints nothing on stdout.
TEST_F(TaskNumberCli, EditDoneAndDeletePrintTheTaskTheyChanged) {
    const std::string date = std::to_string(dw::dateSerialOf(2000, 3, 20));
    ASSERT_TRUE(dw::test::saveDataRows(
        dw::makeGridStore(dw::FormatSettings::enUS()),
        {{date + ".100", "10:00 AM", "Work", "Budget\r\nsecond line", "No", "Yes"},
         {date + ".101", "2:00 PM", "", "Call", "No", "No"}},
        data.file("grid.grd")));
    const struct {
        std::vector<std::string> args;
        int status;
        const char* out;
    } steps[] = {
        {{"edit", "2000-03-20", "2", "--text", "Call mum", "--time", "2:15 pm"},
         0,
         "2\t2:15 PM\t\tNo\tNo\tCall mum\n"},
        {{"done", "2000-03-20", "1"}, 0, "1\t10:00 AM\tWork\tYes\tNo\tBudget\n"},
        {{"done", "2000-03-20", "1"}, 1, ""},
        {{"delete", "2000-03-20", "2"}, 0, "2\t2:15 PM\t\tNo\tNo\tCall mum\n"},
        {{"delete", "2000-03-20", "2"}, 1, ""},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.args[0] + " " + step.args[2]);
        const Result r = run(step.args);
        EXPECT_EQ(r.status, step.status) << r.err;
        EXPECT_EQ(r.out, step.out);
    }
    EXPECT_EQ(agenda(), "Mon 3/20/2000  5 days\n1\t10:00 AM\tWork\tYes\tNo\tBudget\n");
}

// done records what the window's completion page records for the task: today, the task's
// own time in the long time format, its category, its date and its text.
TEST_F(TaskNumberCli, DoneRecordsTheCompletionAsTheWindowDoes) {
    const std::string date = std::to_string(dw::dateSerialOf(2000, 3, 20));
    ASSERT_TRUE(dw::test::saveDataRows(
        dw::makeGridStore(dw::FormatSettings::enUS()),
        {{date + ".100", "7:05 AM", "Health", "Dentist\r\nbring the card", "No", "Yes"},
         {date + ".101", "not a time", "", "Odd", "No", "No"}},
        data.file("grid.grd")));
    ASSERT_EQ(run({"done", "2000-03-20", "1"}).status, 0);
    // A time cell that does not read as a time starts the editor's time box at now.
    ASSERT_EQ(run({"done", "2000-03-20", "2"}).status, 0);
    EXPECT_EQ(dw::test::fileRows(data.file("gridComp.grd")),
              (dw::test::Rows{"3/15/2000|12:00 PM||Mon 3/20/2000|Odd|",
                              "3/15/2000|7:05 AM|Health|Mon 3/20/2000|Dentist\r\nbring the "
                              "card\r\n|"}));
    // As completed in the window: done, and its alarm off.
    EXPECT_EQ(dw::test::fileRows(data.file("grid.grd")).front(),
              date + ".100|7:05 AM|Health|Dentist\r\nbring the card|Yes|No");
}

} // namespace
