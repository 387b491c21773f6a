#include "support/shell_run.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using dw::test::quoted;
using dw::test::Result;
using dw::test::runShell;
using dw::test::TempDir;

class TaskNumberCli : public ::testing::Test {
protected:
    Result run(const std::vector<std::string>& args) {
        std::string cmd = "LC_ALL=en_US.UTF-8 LANG=en_US.UTF-8 HOME=" + quoted(data.path()) +
                          " DAYWEAVER_DATA=" + quoted(data.path()) +
                          " faketime '2000-03-15 12:00:00' " + quoted(DAYWEAVER_CLI);
        for (const auto& a : args)
            cmd += " " + quoted(a);
        return runShell(cmd);
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

} // namespace
