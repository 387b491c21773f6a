#pragma once

#include "core/commands/command_args.h"
#include "core/dates/clock.h"
#include "core/dates/format_settings.h"
#include "core/store/task_store.h"

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace dw {

// The command line's commands that change tasks. They are read and checked here, once, for
// both places that apply them: the command line itself (under the data folder's lock) and
// the running program, to which the command line hands them while it runs on the folder.

// What a command prints and its exit status (0 done, 1 refused or a data problem, 2 a usage
// error), wherever it ran.
struct CommandOutcome {
    int status = 0;
    std::string out;
    std::string err;
};

// A refusal or a data problem: its message on stderr, exit status 1.
struct CommandRefusal {
    std::string message;
};

// A usage error answered with the valid choices in place of the usage text (an unknown
// country or holiday name): exit status 2.
struct ChoiceError {
    std::string message;
    std::vector<std::string> choices;
};
CommandOutcome choiceErrorOutcome(const ChoiceError& error);

// A line of stderr as the command line prints it: "dayweaver-cli: " and the message.
std::string commandErrorLine(const std::string& message);
CommandOutcome refusedOutcome(const std::string& message);

// Texts from the command line are stored as they are, so they must be UTF-8 without control
// characters (TAB and line breaks aside), and they keep the window's limits. Each throws
// UsageError with the reason; `argument` names the argument in it ("TEXT", "--category").
std::string checkedUtf8(std::string text);
std::string checkedCategory(const std::string& raw, std::string_view argument);
std::string checkedTaskText(const std::string& raw, std::string_view argument);

// The reason every writing command gives in a folder nothing can be written to.
std::string readOnlyFolderRefusal(const std::string& dataDir);

class CompletedTasks;

// What a writing command works on: the program's own tables, or those the command line
// loaded for it.
struct WriteTarget {
    TaskStore& store;
    CompletedTasks* completed = nullptr;
    // The holiday table and its file (holiday.grd).
    CellTable* holidays = nullptr;
    std::string holidayPath{};
};

// A writing command whose arguments have been read and checked: applied to a store, it
// changes the tables and saves them as the window's own commands do, and answers what the
// command prints (status 0). A failed save throws CommandRefusal with the save's message.
using WriteJob = std::function<CommandOutcome(WriteTarget& target)>;

// The files a command's job works on, so that the command line loads them first (the
// program holds them already).
struct WriteTables {
    bool store = false;     // grid.grd
    bool todo = false;      // gridNon.grd
    bool completed = false; // completed.grd
    bool holidays = false;  // holiday.grd
};

// What the front end that runs a command brings: the locale's conventions, "now", and the
// platform's conversion of moments to local time.
struct CommandContext {
    const FormatSettings& fs;
    const Clock& clock;
    UtcToLocal toLocal;
};

// One writing command. Adding a command is one entry in writeCommands() with its prepare
// function: the command line and the program's command server both find it there.
struct WriteCommand {
    // The words that name it, as typed: "add", "todo add".
    std::vector<std::string> name;
    WriteTables tables;
    // Whether the arguments after the name change anything (recur writes only with --add);
    // null means always.
    bool (*writes)(const Args& args) = nullptr;
    // Reads and checks the arguments after the name; throws UsageError, ChoiceError or
    // CommandRefusal. Nothing changes until the job runs.
    WriteJob (*prepare)(Args& args, const CommandContext& context) = nullptr;
    // The first positional word after the name is a file: the command line names it in
    // full, since the program does not share the command line's working folder.
    bool fileArgument = false;
    // The options that take a value and may come before that file.
    std::vector<std::string> valueOptions{};
};

// The writing commands of the core. The iCalendar import joins them where the calendar
// library is linked (interchange/ical_import_command.h: allWriteCommands()).
const std::vector<WriteCommand>& writeCommands();

// The store rows of a date's tasks in the order `agenda` numbers them, 1 for the first:
// every task of the date, shown by the filter or not, in store order (the day view's
// order), so that a number names the same task with or without the filter.
std::vector<int> numberedTaskRows(const TaskStore& store, int date);

// The writing command of `commands` named by the first words of `args` (what follows the
// data folder option), with its name taken out of `args`; null, and `args` left alone, when
// the words name no writing command or these arguments only read.
const WriteCommand* takeWriteCommand(Args& args, std::span<const WriteCommand> commands);

// Where in a writing command's words (name included) its file argument is; none when the
// command takes no file or the words name none.
std::optional<std::size_t> fileArgumentIndex(const WriteCommand& command,
                                             const std::vector<std::string>& words);

// Runs a job on tables that hold the command's: what it prints, or the refusal it threw (a
// failed save refuses in the save's own words, the first failure's when several failed).
CommandOutcome applyWriteJob(const WriteJob& job, WriteTarget& target);

// Reads and checks the words of a command handed over, as the program does: the command and
// the job to apply, or the outcome that refuses it (a usage error is status 2 with its
// message line, or with the valid choices).
struct PreparedWrite {
    const WriteCommand* command = nullptr;
    WriteJob job;
    std::optional<CommandOutcome> refused;
};
PreparedWrite prepareWriteCommand(const std::vector<std::string>& words,
                                  const CommandContext& context,
                                  std::span<const WriteCommand> commands);

} // namespace dw
