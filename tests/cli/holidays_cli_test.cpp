#include "platform/locale_settings.h"
#include "support/cli_in_process.h"
#include "support/shell_run.h"
#include "support/temp_dir.h"

#include <QLocale>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using dw::test::quoted;
using dw::test::Result;
using dw::test::runShell;
using dw::test::TempDir;

Result cli(const TempDir& data, const std::vector<std::string>& args,
           const dw::FormatSettings& formats = dw::FormatSettings::enUS()) {
    dw::test::InProcessCli in(data.path());
    in.formats = formats;
    return in.run(args);
}

// The real program, which hands the import to a running program or names the one that
// holds the folder.
Result program(const TempDir& data, const std::vector<std::string>& args) {
    std::string cmd =
        "LC_ALL=en_US.UTF-8 DAYWEAVER_DATA=" + quoted(data.path()) + " " + quoted(DAYWEAVER_CLI);
    return runShell(cmd, args);
}

TEST(CliHolidays, ImportAddsTheNamedHolidaysAtTheTopAndPrintsThem) {
    TempDir data;
    const Result first = cli(data, {"holidays", "import", "Australia", "Boxing Day", "dec25"});
    EXPECT_EQ(first.status, 0) << first.err;
    EXPECT_EQ(first.out, "Boxing Day\t12\tDecember\t26\nChristmas\t12\tDecember\t25\n");

    const Result all = cli(data, {"holidays", "import", "united states", "--all"});
    EXPECT_EQ(all.status, 0) << all.err;
    EXPECT_EQ(std::count(all.out.begin(), all.out.end(), '\n'), 24);
    EXPECT_EQ(all.out.substr(0, all.out.find('\n')), "New Year's Day\t01\tJanuary\t1");

    const Result year = cli(data, {"holidays", "2000"});
    EXPECT_NE(year.out.find("2000-11-23\tThanksgiving\n"), std::string::npos);
    EXPECT_NE(year.out.find("2000-12-25\tChristmas\n"), std::string::npos);
    // Within a date the upper row wins: the later import went on top.
    EXPECT_EQ(year.out.find("2000-12-25\tChristmas\n"), year.out.rfind("2000-12-25"));
}

TEST(CliHolidays, ImportUnderAnotherLanguageFallsOnTheRightDay) {
    TempDir data;
    const dw::FormatSettings german = dw::formatSettingsFrom(QLocale("de_DE"));
    const Result r = cli(data, {"holidays", "import", "Canada - English", "Victoria Day"}, german);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "Victoria Day\t05\tMai\tThird : Montag\n");
    EXPECT_EQ(cli(data, {"holidays", "2000"}, german).out, "2000-05-15\tVictoria Day\n");
}

TEST(CliHolidays, UnknownChoicesWriteNothingAndListTheValidOnes) {
    TempDir data;
    const Result country = cli(data, {"holidays", "import", "Narnia", "--all"});
    EXPECT_EQ(country.status, 2);
    EXPECT_NE(country.err.find("unknown country: Narnia"), std::string::npos);
    EXPECT_NE(country.err.find("  Canada - English\n"), std::string::npos);

    const Result name = cli(data, {"holidays", "import", "Norway", "Juledag", "Midsummer"});
    EXPECT_EQ(name.status, 2);
    EXPECT_NE(name.err.find("no holiday of Norway is named Midsummer"), std::string::npos);
    EXPECT_NE(name.err.find("  May17\t17. mai\n"), std::string::npos);

    EXPECT_EQ(cli(data, {"holidays", "import", "Norway"}).status, 2);
    EXPECT_EQ(cli(data, {"holidays", "import", "Norway", "--all", "Juledag"}).status, 2);
    EXPECT_FALSE(std::filesystem::exists(data.file("holiday.grd")));
}

// A running program takes the import over its socket (tests/app/command_handover_test.cpp);
// one that holds the folder and does not answer is named in the refusal.
TEST(CliHolidays, ImportIsRefusedWhileAProgramHoldsTheFolderWithoutAnswering) {
    TempDir data;
    ASSERT_TRUE(dw::test::startLockHolder(DAYWEAVER_LOCK_HOLDER, data));
    const Result r = program(data, {"holidays", "import", "France", "--all"});
    std::system(("kill " + data.read("holder.pid")).c_str());
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("Dayweaver is running"), std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(data.file("holiday.grd")));
}

} // namespace
