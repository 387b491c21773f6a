#include "core/dates/date_serial.h"
#include "core/dates/format_settings.h"
#include "core/store/task_store.h"
#include "support/cli_in_process.h"
#include "support/table_rows.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

namespace {

using dw::test::TempDir;

using dw::test::Result;

std::string key(int day, int sequence) {
    return dw::storeKey(dw::dateSerialOf(2000, 1, day), sequence);
}

// A data folder whose grid.grd holds the given rows, with its own settings file.
class FindCli : public ::testing::Test {
protected:
    void store(const std::vector<std::vector<std::string>>& rows) {
        const dw::FormatSettings fs = dw::FormatSettings::enUS();
        ASSERT_TRUE(dw::test::saveDataRows(dw::makeGridStore(fs), rows, data.file("grid.grd")));
    }
    void settings(const std::string& ini) { config.write("Task.conf", ini); }
    Result run(std::vector<std::string> args) {
        args.insert(args.begin(), "find");
        return dw::test::InProcessCli(data.path(), config.file("Task.conf")).run(args);
    }
    TempDir data;
    TempDir config;
};

TEST_F(FindCli, WholeWordMatchCaseAndDirection) {
    store({
        {key(5, 100), "9:00 AM", "Work", "Team meeting", "No", "No"},
        {key(5, 101), "10:00 AM", "Home", "meet, then lunch\r\nbring the list", "Yes", "No"},
        {key(7, 100), "8:00 AM", "Hidden", "MEET again", "No", "No"},
        {key(9, 100), "11:00 AM", "Work", "meeting notes", "No", "No"},
    });
    struct Case {
        std::vector<std::string> args;
        std::string out;
    };
    const std::string team = "2000-01-05\t9:00 AM\tTeam meeting\n";
    const std::string lunch = "2000-01-05\t10:00 AM\tmeet, then lunch\n";
    const std::string again = "2000-01-07\t8:00 AM\tMEET again\n";
    const std::string notes = "2000-01-09\t11:00 AM\tmeeting notes\n";
    const Case cases[] = {
        {{"meet"}, team + lunch + again + notes},
        {{"meet", "--up"}, notes + again + lunch + team},
        {{"meet", "--whole-word"}, lunch + again},
        {{"Meet", "--whole-word", "--up"}, again + lunch},
        {{"MEET", "--whole-word", "--match-case"}, again},
        {{"meet", "--match-case"}, team + lunch + notes},
    };
    for (const Case& c : cases) {
        const Result r = run(c.args);
        EXPECT_EQ(r.status, 0) << c.args.front() << r.err;
        EXPECT_EQ(r.out, c.out) << c.args.front();
    }
    // A whole-word search splits the text at its delimiters and matches whole pieces, so a
    // find text that holds a delimiter matches nothing.
    for (const char* holdsDelimiter : {"team meeting", "meet,", "meet, then lunch"}) {
        const Result r = run({holdsDelimiter, "--whole-word"});
        EXPECT_EQ(r.status, 1) << holdsDelimiter;
        EXPECT_EQ(r.out, "") << holdsDelimiter;
    }

    // The saved filter hides what the dialog would not find.
    data.write("category.xxx", "Work\r\nHome\r\nHidden\r\n");
    data.write("category.yyy", "Work\r\nHome\r\n");
    settings("[Filter]\nDone=0\n");
    Result r = run({"meet", "--filter"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, team + notes);
    r = run({"meet", "--whole-word", "--filter"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("Could not find \"meet\" in any calendar task."), std::string::npos);
}

TEST_F(FindCli, LettersBeyondAsciiMatchWithoutRegardToCase) {
    store({
        {key(3, 101), "9:00 AM", "", "Rentrée à l'école", "No", "No"},
        {key(4, 101), "9:00 AM", "", "Straße kehren", "No", "No"},
    });
    const Result ecole = run({"ÉCOLE", "--whole-word"});
    EXPECT_EQ(ecole.status, 0) << ecole.err;
    EXPECT_EQ(ecole.out, "2000-01-03\t9:00 AM\tRentrée à l'école\n");
    const Result street = run({"strasse"});
    EXPECT_EQ(street.status, 0) << street.err;
    EXPECT_EQ(street.out, "2000-01-04\t9:00 AM\tStraße kehren\n");
}

TEST_F(FindCli, TheDelimiterSetEndsAWord) {
    const std::string delimiters = "\t'\r\n ,./?;:`\"<>[]{}-=\\+|()%@&^$#!~*";
    std::vector<std::vector<std::string>> rows;
    int sequence = 100;
    for (const char c : delimiters)
        rows.push_back({key(3, sequence++), "9:00 AM", "", std::string("x") + c + "meet" + c + "y",
                        "No", "No"});
    for (const char* word : {"x_meet", "meet2", "étémeet", "meetings"})
        rows.push_back({key(4, sequence++), "9:00 AM", "", word, "No", "No"});
    store(rows);
    const Result r = run({"meet", "--whole-word"});
    EXPECT_EQ(r.status, 0) << r.err;
    std::istringstream lines(r.out);
    int count = 0;
    for (std::string line; std::getline(lines, line);)
        count += line.rfind("2000-01-03\t", 0) == 0 ? 1 : 0;
    EXPECT_EQ(count, 35) << r.out;
    EXPECT_EQ(r.out.find("2000-01-04"), std::string::npos) << r.out;
}

TEST_F(FindCli, NothingFoundAndBadArguments) {
    store({{key(5, 100), "9:00 AM", "Work", "Dentist", "No", "No"}});
    Result r = run({"plumber"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{}, {""}, {"a", "b"}, {"a", "--sideways"}}) {
        r = run(args);
        EXPECT_EQ(r.status, 2) << (args.empty() ? "no text" : args.back());
        EXPECT_EQ(r.out, "");
    }
}

} // namespace
