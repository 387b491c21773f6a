// The command table: the usage text made from it, and the argument rules every command
// shares because its words are read with it.
#include "cli/command_table.h"
#include "support/cli_in_process.h"
#include "support/temp_dir.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <vector>

namespace {

using dw::test::InProcessCli;
using dw::test::Result;
using dw::test::TempDir;

std::string fileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Scripts, the manual page and the completions read it: a change is a deliberate one.
TEST(CommandTable, TheUsageTextStaysAsPublished) {
    const std::string published = fileText(DAYWEAVER_CLI_USAGE);
    ASSERT_FALSE(published.empty());
    EXPECT_EQ(dw::cli::usageText(), published);
    TempDir data;
    const Result help = InProcessCli(data.path()).run({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out, published);
}

// The options a command takes are the ones its usage names, so that the manual page and
// the completions offer every one of them and no other.
TEST(CommandTable, EveryCommandsUsageNamesExactlyTheOptionsItTakes) {
    for (const dw::cli::CommandEntry& c : dw::cli::commandTable()) {
        std::string name;
        for (const std::string_view w : c.name)
            name += std::string(w) + " ";
        SCOPED_TRACE(name);
        std::string usage;
        for (const std::string_view line : c.synopsis)
            usage += std::string(line) + " ";
        for (const std::string_view line : c.help)
            usage += std::string(line) + " ";
        std::set<std::string> named;
        for (std::size_t at = usage.find("--"); at != std::string::npos;
             at = usage.find("--", at + 2)) {
            const std::size_t end = usage.find_first_not_of("abcdefghijklmnopqrstuvwxyz-", at + 2);
            named.insert(usage.substr(at, end - at));
        }
        std::set<std::string> taken;
        for (const dw::cli::OptionRule& o : c.options)
            taken.insert(std::string(o.name));
        EXPECT_EQ(named, taken);
        EXPECT_NE(c.run, nullptr);
        EXPECT_FALSE(c.help.empty());
    }
}

TEST(CommandLine, WordsACommandDoesNotTakeAreUsageErrors) {
    TempDir data;
    const struct {
        std::vector<std::string> args;
        std::string message;
    } cases[] = {
        {{}, "missing COMMAND"},
        {{"frobnicate"}, "unknown command: frobnicate"},
        {{"--data"}, "--data needs a value"},
        {{"--verbose", "agenda"}, "unknown option: --verbose"},
        {{"agenda", "--sideways"}, "unknown option: --sideways"},
        {{"agenda", "--help"}, "unknown option: --help"},
        {{"agenda", "--filter", "2000-03-20", "--filter"}, "--filter is given more than once"},
        {{"print", "a.pdf", "--layout", "1", "--layout", "2"}, "--layout is given more than once"},
        {{"--data", data.path(), "todo", "--data", data.path()}, "--data is given more than once"},
        {{"add", "2000-03-20", "09:00", "x", "--category"}, "--category needs a value"},
        {{"holidays", "2000", "2001"}, "unexpected argument: 2001"},
        {{"find", "a", "b"}, "unexpected argument: b"},
        {{"export", "day"}, "missing FORMAT (html or csv)"},
        {{"delete", "2000-03-20"}, "missing N"},
        {{"ics"}, "missing export or import"},
        {{"ics", "--from", "2000-01-01"}, "missing export or import"},
        {{"ics", "sync", "x.ics"}, "unknown ics command: sync"},
        {{"todo", "remove"}, "unknown todo command: remove"},
        {{"export", "day", "csv", data.file("x.csv"), "--done", "yes"},
         "--done chooses the tasks of the print table; the other tables are exported whole"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.args));
        const Result r = InProcessCli(data.path()).run(c.args);
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, "dayweaver-cli: " + c.message + "\n\n" + dw::cli::usageText());
    }
    EXPECT_TRUE(std::filesystem::is_empty(data.path()));
}

TEST(CommandLine, OptionsGoAnywhereAfterTheNameAndTakeTheNextWordWhateverItIs) {
    TempDir data, other;
    const InProcessCli cli(data.path());
    // A value may look like an option; the data folder option may come after the name.
    EXPECT_EQ(
        cli.run({"todo", "add", "--category", "--home", "Milk", "--data", other.path()}).status, 0);
    EXPECT_EQ(cli.run({"--data", other.path(), "todo"}).out, "--home\tNo\tMilk\n");
    EXPECT_EQ(cli.run({"todo"}).out, "");

    const Result added =
        cli.run({"add", "--alarm", "2000-03-20", "--category", "Work", "9:00", "Plan"});
    EXPECT_EQ(added.status, 0) << added.err;
    EXPECT_EQ(cli.run({"agenda", "2000-03-20"}).out,
              "Mon 3/20/2000  5 days\n1\t9:00 AM\tWork\tNo\tYes\tPlan\n");
    // A repeatable option gathers every value: each stall makes its alarm late.
    ASSERT_EQ(cli.run({"add", "2000-03-20", "8:15", "Early", "--alarm"}).status, 0);
    const Result alarms = cli.run({"alarms", "--stall", "2000-03-20 08:10,2000-03-20 08:20",
                                   "--from", "2000-03-20 08:00", "--to", "2000-03-20 09:30",
                                   "--lead", "0", "--stall", "2000-03-20 08:55,2000-03-20 09:05"});
    EXPECT_EQ(alarms.status, 0) << alarms.err;
    EXPECT_EQ(alarms.out, "2000-03-20 08:20:00\t2000-03-20\t8:15 AM\tEarly\tmissed\n"
                          "2000-03-20 09:05:00\t2000-03-20\t9:00 AM\tPlan\tmissed\n");
}

} // namespace
