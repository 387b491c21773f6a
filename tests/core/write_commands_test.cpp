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
        const PreparedWrite prepared = prepareWriteCommand(words, fs);
        if (prepared.refused)
            return *prepared.refused;
        return applyWriteJob(prepared.job, store);
    }

    TempDir dir;
    FormatSettings fs = FormatSettings::enUS();
    FixedClock clock;
    TaskStore store;
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
        {{}, nullptr, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.words.empty() ? "(none)" : c.words.front());
        Args args(c.words);
        const WriteCommand* found = takeWriteCommand(args);
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

TEST_F(WriteCommandsTest, AddPutsTheTaskOnItsDateAndSaves) {
    const CommandOutcome r =
        run({"add", "2000-03-20", "14:30", "Dentist", "--category", "Health", "--alarm"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(test::fileRows(store.storePath()),
              test::Rows{"36605.100|2:30 PM|Health|Dentist|No|Yes"});
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
              (test::Rows{"36598.100|8:00:00 AM||Team|No|No", "36612.100|8:00:00 AM||Team|No|No"}));
}

TEST_F(WriteCommandsTest, BadWordsAreRefusedBeforeAnythingChanges) {
    const test::Rows before = test::rowsOf(store.gridStore());
    const struct {
        std::vector<std::string> words;
        int status;
        const char* err;
    } cases[] = {
        {{"add", "2000-02-30", "09:00", "x"}, 2, "dayweaver-cli: no such date: 2000-02-30\n"},
        {{"add", "2000-02-03", "9:00", "x"},
         2,
         "dayweaver-cli: not a time (HH:MM, 24-hour): 9:00\n"},
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

TEST_F(WriteCommandsTest, AFailedSaveIsRefusedWithWhatWasReported) {
    setReadOnlyDataFolder(dir.path());
    const CommandOutcome r = run({"todo", "add", "x"});
    clearSaveRefusals();
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err.rfind("dayweaver-cli: ", 0), 0u) << r.err;
    EXPECT_NE(r.err.find(dir.path()), std::string::npos) << "the save's own reason: " << r.err;
    EXPECT_FALSE(std::filesystem::exists(store.todoPath()));
}

} // namespace
} // namespace dw
