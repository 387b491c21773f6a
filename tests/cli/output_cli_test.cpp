#include "support/cli_in_process.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using dw::test::TempDir;

using dw::test::Result;

// A data folder with tasks added through the command line, and its own settings.
class OutputCli : public ::testing::Test {
protected:
    Result run(const std::vector<std::string>& args) {
        return dw::test::InProcessCli(data.path()).run(args);
    }
    void ok(const std::vector<std::string>& args) {
        const Result r = run(args);
        ASSERT_EQ(r.status, 0) << r.err;
    }
    void SetUp() override {
        ok({"add", "2024-03-05", "10:30", "Budget, draft", "--category", "Work", "--alarm"});
        ok({"add", "2024-03-05", "08:00", "Say \"hi\" <b>", "--category", "Home", "--done"});
        ok({"add", "2024-03-20", "14:00", "Dentist", "--category", "Health"});
        ok({"todo", "add", "Milk", "--category", "Home"});
    }
    TempDir data;
    TempDir out;
};

TEST_F(OutputCli, ExportsEachTableInEachFormat) {
    ok({"export", "day", "csv", out.file("day.csv"), "--date", "2024-03-05"});
    // The day view's rows in store order, as the window's export writes them.
    EXPECT_EQ(out.read("day.csv"), "Time,Category,What,Done?,Alarm?\r\n"
                                   "8:00 AM,Home,\"Say \"\"hi\"\" <b>\",Yes,No\r\n"
                                   "10:30 AM,Work,\"Budget, draft\",No,Yes\r\n");
    ok({"export", "day", "csv", out.file("empty.csv"), "--date", "2024-03-06"});
    EXPECT_EQ(out.read("empty.csv"),
              "Time,Category,What,Done?,Alarm?\r\n\"\",\"\",\"\",\"\",\"\"\r\n");

    ok({"export", "print", "csv", out.file("print.csv"), "--from", "2024-03-20", "--to",
        "2024-03-31"});
    EXPECT_EQ(out.read("print.csv"), "Date,Time,Category,What,Completed,Alarm\r\n"
                                     "3/20/2024,2:00 PM,Health,Dentist,No,No\r\n");
    ok({"export", "print", "csv", out.file("done.csv"), "--done", "yes"});
    EXPECT_NE(out.read("done.csv").find("Say"), std::string::npos);
    EXPECT_EQ(out.read("done.csv").find("Dentist"), std::string::npos);

    ok({"export", "todo", "html", out.file("todo.htm")});
    EXPECT_NE(out.read("todo.htm").find("<td nowrap>Milk</td>"), std::string::npos);
    ok({"export", "day", "html", out.file("day.htm"), "--date", "2024-03-05"});
    EXPECT_NE(out.read("day.htm").find("<td nowrap>Say &quot;hi&quot; &lt;b&gt;</td>"),
              std::string::npos);

    // No completed tasks yet: the header row all the same.
    ok({"export", "completed", "csv", out.file("comp.csv")});
    EXPECT_EQ(out.read("comp.csv").substr(0, 47),
              "Comp Date,Time,Category,Orig Date,What,Comp Not");
    // An empty file is a damaged one, not a table without records.
    data.write("gridComp.grd", "");
    const Result empty = run({"export", "completed", "csv", out.file("comp2.csv")});
    EXPECT_EQ(empty.status, 1);
    EXPECT_NE(empty.err.find(data.file("gridComp.grd")), std::string::npos) << empty.err;
}

TEST_F(OutputCli, PublishesTheMonthPage) {
    data.write("category.xxx", "Work\r\nHome\r\nHealth\r\n");
    data.write("category.yyy", "Work\r\nHealth\r\n"); // the saved filter hides Home
    ok({"publish", "2024-03", out.file("cal.htm"), "--details"});
    const std::string page = out.read("cal.htm");
    EXPECT_NE(page.find("Dayweaver - March 2024</td>\r\n"), std::string::npos);
    EXPECT_NE(page.find(">10:30 am Work<br></td>\r\n"), std::string::npos);
    EXPECT_NE(page.find("align=\"left\">Budget, draft</td>"), std::string::npos);
    EXPECT_EQ(page.find("Say"), std::string::npos);
    EXPECT_EQ(page.substr(page.size() - 16), "</body></html>\r\n");
}

TEST_F(OutputCli, UsageAndFileErrors) {
    const struct {
        std::vector<std::string> args;
        int status;
        const char* err;
    } cases[] = {
        {{"export", "week", "csv", "x"}, 2, "unknown table: week"},
        {{"export", "day", "pdf", "x"}, 2, "unknown format: pdf"},
        {{"export", "print", "csv", "x", "--from", "2024-03-05", "--to", "2024-03-01"},
         2,
         "The second date must be AFTER the first date!"},
        {{"export", "print", "csv", "x", "--done", "maybe"}, 2, "--done takes yes, no or all"},
        {{"publish", "2024-13", "x"}, 2, ""},
        {{"export", "day", "csv", "/no/such/folder/day.csv"},
         1,
         "Cannot create file /no/such/folder/day.csv"},
        {{"publish", "2024-03", "/no/such/folder/cal.htm"},
         1,
         "Cannot create file /no/such/folder/cal.htm"},
    };
    for (const auto& c : cases) {
        const Result r = run(c.args);
        EXPECT_EQ(r.status, c.status) << c.args[0] << " " << c.args[1] << r.err;
        EXPECT_NE(r.err.find(c.err), std::string::npos) << r.err;
    }
}

} // namespace
