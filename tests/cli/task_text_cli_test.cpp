// Texts and times as the command line takes them from its arguments, and stored texts as
// its listings print them: for scripts and terminals, never a raw control character.
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

class TaskTextCli : public ::testing::Test {
protected:
    Result run(const std::vector<std::string>& args) {
        return dw::test::InProcessCli(data.path()).run(args);
    }
    std::string agenda(const std::string& date = "2000-03-20") { return run({"agenda", date}).out; }

    TempDir data;
};

TEST_F(TaskTextCli, AddAndEditTakeTheTimesPeopleType) {
    const struct {
        const char* typed;
        const char* stored;
    } cases[] = {
        {"9:00", "9:00 AM"},      {"09:05", "9:05 AM"},     {"21:30", "9:30 PM"},
        {"9:30pm", "9:30 PM"},    {"9:30 PM", "9:30 PM"},   {"9:30 am", "9:30 AM"},
        {"12:00 AM", "12:00 AM"}, {"12:00 PM", "12:00 PM"},
    };
    int day = 1;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        // One task a date, so the agenda line is the task's whatever the order of a date.
        const std::string date =
            "2000-04-" + std::string(day < 10 ? "0" : "") + std::to_string(day);
        ++day;
        const Result added = run({"add", date, c.typed, "Typed"});
        ASSERT_EQ(added.status, 0) << added.err;
        EXPECT_NE(agenda(date).find("\n1\t" + std::string(c.stored) + "\t"), std::string::npos)
            << agenda(date);
        const Result edited = run({"edit", date, "1", "--time", c.typed, "--text", "Edited"});
        ASSERT_EQ(edited.status, 0) << edited.err;
        EXPECT_NE(agenda(date).find("\n1\t" + std::string(c.stored) + "\t\tNo\tNo\tEdited\n"),
                  std::string::npos)
            << agenda(date);
    }
}

TEST_F(TaskTextCli, OtherTimesAreRefusedNamingTheFormsTaken) {
    ASSERT_EQ(run({"add", "2000-03-20", "08:00", "Kept"}).status, 0);
    const std::string before = data.read("grid.grd");
    for (const char* time : {"25:99", "24:00", "9:60", "pm", "", "9:3", "13:00 pm", "930"}) {
        SCOPED_TRACE(time);
        for (const std::vector<std::string>& args :
             {std::vector<std::string>{"add", "2000-03-20", time, "x"},
              {"edit", "2000-03-20", "1", "--time", time}}) {
            const Result r = run(args);
            EXPECT_EQ(r.status, 2) << args[0];
            EXPECT_NE(r.err.find("H:MM or HH:MM, 24-hour (9:00, 21:30), or 12-hour with am or "
                                 "pm (9:30pm, 9:30 PM, 12:00 AM)"),
                      std::string::npos)
                << r.err;
        }
    }
    EXPECT_EQ(data.read("grid.grd"), before);
}

TEST_F(TaskTextCli, TextsWithControlCharactersAreRefusedSayingWhere) {
    ASSERT_EQ(run({"add", "2000-03-20", "08:00", "Kept"}).status, 0);
    ASSERT_EQ(run({"todo", "add", "Kept too"}).status, 0);
    const std::string store = data.read("grid.grd");
    const std::string todo = data.read("gridNon.grd");
    const struct {
        std::vector<std::string> args;
        const char* where;
    } cases[] = {
        {{"add", "2000-03-20", "09:00", "Red \x1b[31malert"}, "TEXT: U+001B at character 5"},
        {{"add", "2000-03-20", "09:00", "x", "--category", "W\x01rk"},
         "--category: U+0001 at character 2"},
        {{"edit", "2000-03-20", "1", "--text", "Caf\xc3\xa9\x07"}, "--text: U+0007 at character 5"},
        {{"edit", "2000-03-20", "1", "--category", "\x7f"}, "--category: U+007F at character 1"},
        {{"todo", "add", "back\bspace"}, "TEXT: U+0008 at character 5"},
        {{"recur", "2000-03-01", "2000-03-03", "daily", "--add", "09:00", "\x1b]0;title\x07"},
         "TEXT: U+001B at character 1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.where);
        const Result r = run(c.args);
        EXPECT_EQ(r.status, 2);
        EXPECT_NE(r.err.find(std::string("a control character in ") + c.where), std::string::npos)
            << r.err;
        EXPECT_EQ(r.err.find_first_of("\x1b\x01\x07\x7f\b"), std::string::npos) << r.err;
    }
    EXPECT_EQ(data.read("grid.grd"), store);
    EXPECT_EQ(data.read("gridNon.grd"), todo);

    // TAB and line breaks are what people type into a text; the text keeps its lines.
    const Result tab = run({"add", "2000-03-21", "09:00", "one\ttwo\nthree"});
    EXPECT_EQ(tab.status, 0) << tab.err;
    EXPECT_EQ(agenda("2000-03-21"), "Tue 3/21/2000  6 days\n1\t9:00 AM\t\tNo\tNo\tone two\n");
}

// Tasks that came with control characters in them (an old file, an editor, another
// program) are listed with the characters as escapes, so a listing cannot recolour or
// retitle the terminal, nor shift a script's fields.
TEST_F(TaskTextCli, ListingsShowStoredControlCharactersAsEscapes) {
    const dw::FormatSettings fs = dw::FormatSettings::enUS();
    const std::string key = dw::storeKey(dw::dateSerialOf(2000, 3, 20), 100);
    ASSERT_TRUE(dw::test::saveDataRows(
        dw::makeGridStore(fs),
        {{key, "11:00 AM", "W\x1b[7mork", "\x1b[31mAlert\x01 \\x1b\r\nsecond line", "No", "Yes"}},
        data.file("grid.grd")));
    ASSERT_TRUE(dw::test::saveDataRows(dw::makeGridNonday(), {{"Home", "Bell\x07here", "No"}},
                                       data.file("gridNon.grd")));
    data.write("holiday.grd", "4,2\r\n0,1,Fe\x1b[5mte\r\n1,1,03\r\n2,1,March\r\n3,1,20\r\n");

    const std::string task = "\\x1b[31mAlert\\x01 \\x5cx1b";
    const struct {
        std::vector<std::string> args;
        std::string out;
    } cases[] = {
        {{"agenda", "2000-03-20"},
         "Mon 3/20/2000  5 days  Fe\\x1b[5mte\n1\t11:00 AM\tW\\x1b[7mork\tNo\tYes\t" + task + "\n"},
        {{"todo"}, "Home\tNo\tBell\\x07here\n"},
        {{"find", "Alert"}, "2000-03-20\t11:00 AM\t" + task + "\n"},
        {{"holidays", "2000"}, "2000-03-20\tFe\\x1b[5mte\n"},
        {{"alarms", "--from", "2000-03-20 10:00", "--to", "2000-03-20 11:00", "--lead", "15"},
         "2000-03-20 10:45:00\t2000-03-20\t11:00 AM\t" + task + "\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args[0]);
        const Result r = run(c.args);
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, c.out);
    }

    // The commands that print a task they change or export.
    const Result exported = run({"ics", "export", data.file("out.ics")});
    EXPECT_EQ(exported.status, 0) << exported.err;
    EXPECT_EQ(exported.out.find_first_of("\x1b\x07"), std::string::npos) << exported.out;
    EXPECT_NE(exported.out.find("\\x1b[31mAlert"), std::string::npos) << exported.out;
    const Result edited = run({"edit", "2000-03-20", "1", "--alarm", "off"});
    EXPECT_EQ(edited.status, 0) << edited.err;
    EXPECT_EQ(edited.out, "1\t11:00 AM\tW\\x1b[7mork\tNo\tNo\t" + task + "\n");
}

} // namespace
