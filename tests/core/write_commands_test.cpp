// The command line's writing commands, read and applied by the one piece of code that the
// command line and the running program share.
#include "core/commands/write_commands.h"
#include "core/dates/date_serial.h"
#include "core/store/save_guard.h"
#include "support/table_rows.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace dw {
namespace {

using test::TempDir;

class WriteCommandsTest : public ::testing::Test {
protected:
    WriteCommandsTest() : clock(encodeDateTime(2000, 3, 15, 12, 0)), store(fs, clock) {
        store.setDataDir(dir.path());
    }

    CommandOutcome run(const std::vector<std::string>& words) {
        const PreparedWrite prepared =
            prepareWriteCommand(words, CommandContext{fs, clock, {}}, writeCommands());
        if (prepared.refused)
            return *prepared.refused;
        WriteTarget target{store, nullptr, &holidays, dir.file("holiday.grd")};
        return applyWriteJob(prepared.job, target);
    }

    TempDir dir;
    FormatSettings fs = FormatSettings::enUS();
    FixedClock clock;
    TaskStore store;
    CellTable holidays{4, 2};
};

TEST(WriteCommandTable, NamesTheCommandsThatWrite) {
    const struct {
        std::vector<std::string> words;
        const char* command; // first word of the name, or null: not a writing command
        std::vector<std::string> left;
    } cases[] = {
        {{"add", "2000-03-20", "09:00", "x"}, "add", {"2000-03-20", "09:00", "x"}},
        {{"todo", "add", "x", "--category", "C"}, "todo", {"x", "--category", "C"}},
        {{"todo"}, nullptr, {"todo"}},
        {{"todo", "list"}, nullptr, {"todo", "list"}},
        {{"recur", "2000-01-01", "2000-02-01", "daily", "--add", "09:00", "x"},
         "recur",
         {"2000-01-01", "2000-02-01", "daily", "--add", "09:00", "x"}},
        // Without --add, recur only lists dates.
        {{"recur", "2000-01-01", "2000-02-01", "daily"}, nullptr, {}},
        {{"agenda", "2000-01-01"}, nullptr, {}},
        {{"--filter", "add"}, "add", {"--filter"}},
        {{"holidays", "import", "France", "--all"}, "holidays", {"France", "--all"}},
        {{"holidays", "2000"}, nullptr, {"holidays", "2000"}},
        {{}, nullptr, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.words.empty() ? "(none)" : c.words.front());
        Args args(c.words);
        const WriteCommand* found = takeWriteCommand(args, writeCommands());
        if (!c.command) {
            EXPECT_EQ(found, nullptr);
            EXPECT_EQ(args.remaining(), c.words) << "the words are left alone";
            continue;
        }
        ASSERT_NE(found, nullptr);
        EXPECT_EQ(found->name.front(), c.command);
        EXPECT_EQ(args.remaining(), c.left);
    }
}

TEST(WriteCommandTable, FindsTheFileArgumentPastOptionsAndTheirValues) {
    const WriteCommand command{{"import"}, {}, nullptr, nullptr, true, {"--from", "--to"}};
    const struct {
        std::vector<std::string> words;
        std::optional<std::size_t> file;
    } cases[] = {
        {{"import", "a.ics"}, 1},
        {{"import", "--from", "2000-01-01", "a.ics", "--to", "2000-02-01"}, 3},
        {{"import", "--quiet", "a.ics"}, 2},
        {{"import", "--from", "a.ics"}, std::nullopt},
        {{"import"}, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.words.size());
        EXPECT_EQ(fileArgumentIndex(command, c.words), c.file);
    }
    WriteCommand noFile = command;
    noFile.fileArgument = false;
    EXPECT_EQ(fileArgumentIndex(noFile, {"import", "a.ics"}), std::nullopt);
}

TEST_F(WriteCommandsTest, AddPutsTheTaskOnItsDateAndSaves) {
    const CommandOutcome r =
        run({"add", "2000-03-20", "14:30", "Dentist", "--category", "Health", "--alarm"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(test::fileRows(store.storePath()),
              test::Rows{"36605.101|2:30 PM|Health|Dentist|No|Yes"});
}

TEST_F(WriteCommandsTest, TodoAddTakesTheFirstFreeRowInTheListsOrder) {
    ASSERT_EQ(run({"todo", "add", "Paint", "--category", "Home"}).status, 0);
    ASSERT_EQ(run({"todo", "add", "Call", "--category", "Family"}).status, 0);
    EXPECT_EQ(test::fileRows(store.todoPath()), (test::Rows{"Family|Call|No", "Home|Paint|No"}));
}

TEST_F(WriteCommandsTest, RecurAddsATaskOnEachDateAndListsThem) {
    const CommandOutcome r = run({"recur", "2000-03-01", "2000-03-31", "weekly", "--days", "mon",
                                  "--every", "2", "--add", "08:00", "Team"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "2000-03-13\n2000-03-27\n");
    EXPECT_EQ(test::fileRows(store.storePath()),
              (test::Rows{"36598.101|8:00:00 AM||Team|No|No", "36612.101|8:00:00 AM||Team|No|No"}));
}

TEST_F(WriteCommandsTest, HolidaysImportStartsAHolidayListAndPrintsTheAddedRows) {
    const CommandOutcome r = run({"holidays", "import", "Australia", "Boxing Day", "dec25"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "Boxing Day\t12\tDecember\t26\nChristmas\t12\tDecember\t25\n");
    // The list's header row above the holidays, in the reverse of the list's order.
    CellTable saved;
    saved.loadTable(dir.file("holiday.grd"));
    EXPECT_EQ(saved.cell(0, 0), "Holiday name");
    EXPECT_EQ(test::rowsOf(saved),
              (test::Rows{"Christmas|12|December|25", "Boxing Day|12|December|26"}));
    EXPECT_EQ(test::rowsOf(holidays), test::rowsOf(saved));
}

TEST_F(WriteCommandsTest, UnknownHolidayChoicesAreListed) {
    const CommandOutcome country = run({"holidays", "import", "Narnia", "--all"});
    EXPECT_EQ(country.status, 2);
    EXPECT_EQ(country.err.rfind("dayweaver-cli: unknown country: Narnia\nChoose one of:\n"
                                "  Australia\n",
                                0),
              0u)
        << country.err;
    const CommandOutcome name = run({"holidays", "import", "Norway", "Juledag", "Midsummer"});
    EXPECT_EQ(name.status, 2);
    EXPECT_EQ(name.err.rfind("dayweaver-cli: no holiday of Norway is named Midsummer\n"
                             "Choose one of:\n",
                             0),
              0u)
        << name.err;
    EXPECT_NE(name.err.find("\n  May17\t17. mai\n"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir.file("holiday.grd")));
}

TEST_F(WriteCommandsTest, BadWordsAreRefusedBeforeAnythingChanges) {
    const test::Rows before = test::rowsOf(store.gridStore());
    const struct {
        std::vector<std::string> words;
        int status;
        const char* err;
    } cases[] = {
        {{"add", "2000-02-30", "09:00", "x"}, 2, "dayweaver-cli: no such date: 2000-02-30\n"},
        {{"add", "2000-02-03", "9:60", "x"},
         2,
         "dayweaver-cli: not a time: \"9:60\"; a time is H:MM or HH:MM, 24-hour (9:00, 21:30), "
         "or 12-hour with am or pm (9:30pm, 9:30 PM, 12:00 AM)\n"},
        {{"todo", "add", "x", "--category", "\x1b[0m"},
         2,
         "dayweaver-cli: a control character in --category: U+001B at character 1; a text may "
         "hold TABs and line breaks but no other control characters\n"},
        {{"add", "2000-02-03", "09:00", "  "}, 2, "dayweaver-cli: the task's text is empty\n"},
        {{"add", "2000-02-03", "09:00", "caf\xe9"},
         2,
         "dayweaver-cli: a text is not valid UTF-8\n"},
        {{"todo", "add", "x", "--category", std::string(21, 'c')},
         2,
         "dayweaver-cli: a category is one line of at most 20 characters\n"},
        {{"todo", "add", "x", "y"}, 2, "dayweaver-cli: unexpected argument: y\n"},
        {{"recur", "2000-01-01", "2000-01-31", "daily", "--every", "400", "--add", "09:00", "x"},
         1,
         "dayweaver-cli: --every must be 1 to 364 here: 400\n"},
        {{"recur", "2000-01-01", "2030-01-31", "daily", "--add", "09:00", "x"},
         1,
         "dayweaver-cli: Date range exceeds 20 years!\n"},
        {{"agenda"}, 2, "dayweaver-cli: not a command that changes tasks: agenda\n"},
        {{"holidays", "import", "Norway"},
         2,
         "dayweaver-cli: holidays import: give --all or the names of the holidays\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.err);
        const CommandOutcome r = run(c.words);
        EXPECT_EQ(r.status, c.status);
        EXPECT_EQ(r.err, c.err);
        EXPECT_EQ(r.out, "");
    }
    EXPECT_EQ(test::rowsOf(store.gridStore()), before);
    EXPECT_FALSE(std::filesystem::exists(store.storePath()));
    EXPECT_FALSE(std::filesystem::exists(store.todoPath()));
}

TEST_F(WriteCommandsTest, AFailedSaveRefusesInTheSavesOwnWords) {
    setReadOnlyDataFolder(dir.path());
    const CommandOutcome r = run({"todo", "add", "x"});
    clearSaveRefusals();
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, commandErrorLine("Could not save file " + store.todoPath() + ": " +
                                      "the data folder " + dir.path() +
                                      " cannot be written, so Dayweaver runs read-only"));
    EXPECT_FALSE(std::filesystem::exists(store.todoPath()));
}

} // namespace
} // namespace dw
