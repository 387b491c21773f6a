#include "support/cli_in_process.h"
#include "support/shell_run.h"
#include "support/temp_dir.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using dw::test::TempDir;

using dw::test::quoted;
using dw::test::Result;
using dw::test::runShell;

Result recur(const TempDir& data, std::vector<std::string> args,
             const std::string& command = "recur") {
    args.insert(args.begin(), command);
    return dw::test::InProcessCli(data.path()).run(args);
}

// The real dayweaver-cli, which hands an adding recur to a running program or names the one
// that holds the folder.
Result recurProgram(const TempDir& data, const std::vector<std::string>& args) {
    std::string cmd = "LC_ALL=en_US.UTF-8 LANG=en_US.UTF-8 DAYWEAVER_DATA=" + quoted(data.path()) +
                      " " + quoted(DAYWEAVER_CLI) + " recur";
    return runShell(cmd, args);
}

TEST(CliRecur, PrintsEachPatternsDatesInGenerationOrder) {
    struct Case {
        std::vector<std::string> args;
        const char* out;
    } cases[] = {
        // 7 January 2000 is a Friday: the weekend is dropped, not moved.
        {{"2000-01-07", "2000-01-14", "daily", "--avoid-sat", "--avoid-sun"},
         "2000-01-07\n2000-01-10\n2000-01-11\n2000-01-12\n2000-01-13\n2000-01-14\n"},
        {{"2000-01-01", "2000-01-09", "daily", "--every", "4"},
         "2000-01-01\n2000-01-05\n2000-01-09\n"},
        {{"2000-01-05", "2000-02-01", "weekly", "--every", "2", "--days", "mon"},
         "2000-01-17\n2000-01-31\n"},
        {{"2000-11-01", "2001-09-30", "days-of-month", "--every", "5", "--days", "31,15"},
         "2000-11-15\n2001-04-15\n2001-09-15\n"},
        {{"2000-01-01", "2000-01-31", "days-of-month", "--days", "1,2,3", "--avoid-sat"},
         "2000-01-02\n2000-01-03\n"},
        {{"2000-03-01", "2000-03-31", "week-of-month", "--ordinals", "3rd,1st", "--days",
          "fri,mon"},
         "2000-03-06\n2000-03-03\n2000-03-20\n2000-03-17\n"},
        {{"2000-03-01", "2000-05-31", "week-of-month", "--every", "2", "--ordinals", "last",
          "--days", "fri"},
         "2000-03-31\n2000-05-26\n"},
        {{"2000-02-29", "2004-02-29", "annual"},
         "2000-02-29\n2001-02-28\n2002-02-28\n2003-02-28\n2004-02-29\n"},
    };
    TempDir data;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args[2]);
        const Result r = recur(data, c.args);
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, c.out);
    }
    EXPECT_FALSE(std::filesystem::exists(data.file("grid.grd"))) << "printing writes nothing";
}

TEST(CliRecur, RefusesWhatTheDialogRefuses) {
    struct Case {
        std::vector<std::string> args;
        int status;
        const char* err; // the start of stderr after "dayweaver-cli: "
    } cases[] = {
        {{"2000-01-01", "2020-04-05", "daily"}, 0, ""}, // 7400 days
        {{"2000-01-01", "2020-04-06", "daily"}, 1, "Date range exceeds 20 years!\n"},
        {{"2000-01-10", "2000-01-09", "daily"},
         1,
         "No dates were generated.  Check your starting/ending dates and selections.\n"},
        {{"2000-01-01", "2000-12-31", "weekly"},
         1,
         "No dates were generated.  Check your starting/ending dates and selections.\n"},
        {{"2000-01-01", "2000-12-31", "daily", "--every", "365"}, 1, "--every must be 1 to 364"},
        {{"2000-01-01", "2000-12-31", "daily", "--every", "0"}, 1, "--every must be 1 to 364"},
        {{"2000-01-01", "2000-12-31", "weekly", "--every", "53", "--days", "mon"},
         1,
         "--every must be 1 to 52"},
        {{"2000-01-01", "2000-12-31", "days-of-month", "--every", "13", "--days", "1"},
         1,
         "--every must be 1 to 12"},
        {{"2000-01-01", "2000-12-31", "week-of-month", "--ordinals", "4th,last", "--days", "mon"},
         1,
         "--ordinals: \"4th\" and \"last\" cannot be chosen together"},
        {{"2000-01-01", "2000-12-31", "monthly"}, 2, "unknown pattern: monthly"},
        {{"2000-01-01", "2000-12-31", "weekly", "--days", "mon,xyz"}, 2, "--days: not one of"},
        {{"2000-01-01", "2000-12-31", "days-of-month", "--days", "32"}, 2, "--days: not a day"},
        {{"2000-01-01", "2000-12-31", "annual", "--every", "2"}, 2, "unexpected argument"},
        {{"2000-01-01", "2000-12-31", "daily", "--alarm"}, 2, "--category and --alarm go with"},
    };
    TempDir data;
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.args));
        const Result r = recur(data, c.args);
        EXPECT_EQ(r.status, c.status) << r.err;
        if (c.status == 0)
            continue;
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err.rfind(std::string("dayweaver-cli: ") + c.err, 0), 0u) << r.err;
    }
}

TEST(CliRecur, AddStoresATaskOnEveryDateAsTheDialogDoes) {
    TempDir data;
    const Result r = recur(data, {"2000-03-20", "2000-03-22", "daily", "--add", "14:05", "Stand-up",
                                  "--category", "Work", "--alarm"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "2000-03-20\n2000-03-21\n2000-03-22\n");

    // The long time without seconds, not done, the alarm as asked.
    for (const char* day : {"2000-03-20", "2000-03-21", "2000-03-22"}) {
        const Result agenda = recur(data, {day}, "agenda");
        EXPECT_NE(agenda.out.find("2:05 PM\tWork\tNo\tYes\tStand-up\n"), std::string::npos)
            << agenda.out;
    }
    const Result second =
        recur(data, {"2000-03-20", "2000-03-20", "annual", "--add", "08:00", "Second"});
    ASSERT_EQ(second.status, 0) << second.err;
    const Result agenda = recur(data, {"2000-03-20"}, "agenda");
    EXPECT_NE(agenda.out.find("2:05 PM\tWork\tNo\tYes\tStand-up\n"), std::string::npos);
    EXPECT_NE(agenda.out.find("8:00 AM\t\tNo\tNo\tSecond\n"), std::string::npos) << agenda.out;

    // A refused range adds nothing.
    const Result refused =
        recur(data, {"2000-03-22", "2000-03-21", "daily", "--add", "09:00", "Never"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(data.read("grid.grd").find("Never"), std::string::npos);
}

TEST(CliRecur, AddWaitsForTheRunningProgram) {
    TempDir data;
    ASSERT_TRUE(dw::test::startLockHolder(DAYWEAVER_LOCK_HOLDER, data));
    const Result add =
        recurProgram(data, {"2000-03-20", "2000-03-21", "daily", "--add", "09:00", "x"});
    const Result print = recurProgram(data, {"2000-03-20", "2000-03-21", "daily"});
    std::system(("kill " + data.read("holder.pid")).c_str());

    EXPECT_EQ(add.status, 1);
    EXPECT_NE(add.err.find("Dayweaver is running"), std::string::npos) << add.err;
    EXPECT_FALSE(std::filesystem::exists(data.file("grid.grd")));
    EXPECT_EQ(print.status, 0) << "printing needs no lock";
}

} // namespace
