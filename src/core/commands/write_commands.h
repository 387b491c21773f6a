#pragma once

#include "core/commands/command_args.h"
#include "core/dates/format_settings.h"
#include "core/store/task_store.h"

#include <functional>
#include <optional>
#include <string>
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

// A line of stderr as the command line prints it: "dayweaver-cli: " and the message.
std::string commandErrorLine(const std::string& message);
CommandOutcome refusedOutcome(const std::string& message);

// Texts from the command line are stored as they are, so they must be UTF-8, and they keep
// the window's limits. Each throws UsageError with the reason.
std::string checkedUtf8(std::string text);
std::string checkedCategory(const std::string& raw);
std::string checkedTaskText(const std::string& raw);

// The reason every writing command gives in a folder nothing can be written to.
std::string readOnlyFolderRefusal(const std::string& dataDir);

class CompletedTasks;

// What a writing command works on: the program's own tables, or those the command line
// loaded for it.
struct WriteTarget {
    TaskStore& store;
    CompletedTasks* completed = nullptr;
};

// A writing command whose arguments have been read and checked: applied to a store, it
// changes the tables and saves them as the window's own commands do, and answers what the
// command prints. A failed save throws CommandRefusal.
using WriteJob = std::function<std::string(WriteTarget& target)>;

// The files a command's job works on, so that the command line loads them first (the
// program holds them already).
struct WriteTables {
    bool store = false;     // grid.grd
    bool todo = false;      // gridNon.grd
    bool completed = false; // completed.grd
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
    // Reads and checks the arguments after the name; throws UsageError or CommandRefusal.
    // Nothing changes until the job runs.
    WriteJob (*prepare)(Args& args, const FormatSettings& fs) = nullptr;
    // The first word after the name is a file: the command line hands the program its
    // absolute path, since the program does not share the command line's working folder.
    bool fileArgument = false;
};

const std::vector<WriteCommand>& writeCommands();

// The store rows of a date's tasks in the order `agenda` numbers them, 1 for the first:
// every task of the date, shown by the filter or not, in store order (the day view's
// order), so that a number names the same task with or without the filter.
std::vector<int> numberedTaskRows(const TaskStore& store, int date);

// The writing command named by the first words of `args` (what follows the data folder
// option), with its name taken out of `args`; null, and `args` left alone, when the words
// name no writing command or these arguments only read.
const WriteCommand* takeWriteCommand(Args& args);

// Runs a job on a store that holds the command's tables. Errors reported while it runs (a
// failed save) are recorded rather than shown, and the first one is the refusal's text.
CommandOutcome applyWriteJob(const WriteJob& job, TaskStore& store,
                             CompletedTasks* completed = nullptr);

// Reads and checks the words of a command handed over, as the program does: the job to
// apply, or the outcome that refuses it (a usage error is status 2 with its message line).
struct PreparedWrite {
    WriteJob job;
    std::optional<CommandOutcome> refused;
};
PreparedWrite prepareWriteCommand(const std::vector<std::string>& words, const FormatSettings& fs);

} // namespace dw
