#include "core/commands/write_commands.h"

#include "core/commands/recur_arguments.h"
#include "core/dates/date_format.h"
#include "core/editing/recurrence.h"
#include "core/editing/task_commands.h"
#include "core/prompts/prompts.h"
#include "core/store/archive.h"
#include "core/store/helpers.h"
#include "core/store/task_limits.h"
#include "core/store/text_codec.h"

#include <algorithm>

namespace dw {

std::string commandErrorLine(const std::string& message) {
    return "dayweaver-cli: " + message + "\n";
}

CommandOutcome refusedOutcome(const std::string& message) {
    return {1, {}, commandErrorLine(message)};
}

std::string checkedUtf8(std::string text) {
    // A stray byte would be written into the file and spoil how its other texts read back.
    if (!isValidUtf8(text))
        throw UsageError{"a text is not valid UTF-8"};
    return text;
}

std::string checkedCategory(const std::string& raw) {
    std::string category = normalizeTypedText(checkedUtf8(raw));
    if (utf8Length(category) > kCategoryMaxChars || category.find('\r') != std::string::npos)
        throw UsageError{"a category is one line of at most 20 characters"};
    return category;
}

std::string checkedTaskText(const std::string& raw) {
    std::string text = normalizeTypedText(checkedUtf8(raw));
    if (isBlankText(text))
        throw UsageError{"the task's text is empty"};
    if (utf8Length(text) > kNotesMaxChars)
        throw UsageError{"a task's text is at most 2048 characters"};
    return text;
}

std::string readOnlyFolderRefusal(const std::string& dataDir) {
    return "the data folder " + dataDir + " cannot be written, so nothing can be changed there";
}

namespace {

void saved(bool ok) {
    // The text reported for the failure replaces this one (applyWriteJob).
    if (!ok)
        throw CommandRefusal{"the file could not be saved"};
}

// add DATE TIME TEXT [--category C] [--alarm] [--done]
WriteJob prepareAdd(Args& args, const FormatSettings& fs) {
    const std::string category = checkedCategory(args.takeOption("--category").value_or(""));
    const bool alarm = args.takeFlag("--alarm");
    const bool done = args.takeFlag("--done");
    const int date = parseIsoDate(args.requirePositional("DATE"));
    const double time = parseIsoTime(args.requirePositional("TIME"));
    const std::string text = checkedTaskText(args.requirePositional("TEXT"));
    args.expectEnd();
    const DatedTask task{timeCellText(time, fs), category, text, done, alarm};
    return [date, task](WriteTarget& target) {
        TaskStore& store = target.store;
        saved(store.insertTask(date, task));
        return std::string();
    };
}

// todo add TEXT [--category C]: the first free row, then the list in its sort order, as the
// window's Add leaves it.
WriteJob prepareTodoAdd(Args& args, const FormatSettings&) {
    const std::string category = checkedCategory(args.takeOption("--category").value_or(""));
    const std::string text = checkedTaskText(args.requirePositional("TEXT"));
    args.expectEnd();
    const DatedTask task{{}, category, text, false, false};
    return [task](WriteTarget& target) {
        TaskStore& store = target.store;
        CellTable& todo = store.gridNonday();
        writeTodoRow(todo, freePaneRow(todo, TaskPane::Todo), task);
        todo.sortRows();
        saved(store.saveTodoFile());
        return std::string();
    };
}

// recur FROM TO PATTERN ... --add TIME TEXT: a task on each date, as the recurrence
// dialog's OK adds them; the dates are printed either way.
bool recurWrites(const Args& args) {
    const auto& words = args.remaining();
    return std::find(words.begin(), words.end(), "--add") != words.end();
}

WriteJob prepareRecur(Args& args, const FormatSettings& fs) {
    const RecurRequest request = readRecurRequest(args);
    std::optional<DatedTask> task;
    if (request.add)
        task = DatedTask{generatedTimeText(request.add->time, fs), request.add->category,
                         request.add->text, false, request.add->alarm};
    return [dates = request.dates, task](WriteTarget& target) {
        if (task)
            saved(addRecurringTasks(target.store, dates, *task));
        std::string out;
        for (const int date : dates)
            out += isoDate(date) + '\n';
        return out;
    };
}

// restore FILE: the three task tables replaced by an archive's, all or nothing, and
// written at once.
WriteJob prepareRestore(Args& args, const FormatSettings&) {
    const std::string name = withArchiveExtension(args.requirePositional("FILE"));
    args.expectEnd();
    if (const auto problem = archiveNameProblem(name))
        throw UsageError{*problem};
    return [name](WriteTarget& target) {
        if (!target.completed)
            throw CommandRefusal{"the completed tasks are not loaded"};
        const ArchiveResult result = restoreArchive(name, target.store, *target.completed);
        if (!result.ok) {
            // Each problem on a line of its own, as the command line prints errors.
            std::string message = result.problems.empty() ? "" : result.problems.front();
            for (size_t i = 1; i < result.problems.size(); ++i)
                message += "\ndayweaver-cli: " + result.problems[i];
            throw CommandRefusal{message};
        }
        return std::string();
    };
}

// Records what the core reports while a job runs: a command of the command line answers
// with its errors instead of showing boxes, wherever it runs.
class RecordingPrompts : public UnattendedPrompts {
public:
    RecordingPrompts() : previous_(&prompts()) { setPrompts(this); }
    ~RecordingPrompts() override { setPrompts(previous_); }
    RecordingPrompts(const RecordingPrompts&) = delete;
    RecordingPrompts& operator=(const RecordingPrompts&) = delete;

    std::vector<std::string> errors;
    void error(const std::string& text) override { errors.push_back(text); }
    void info(const std::string&) override {}

private:
    Prompts* previous_;
};

} // namespace

const std::vector<WriteCommand>& writeCommands() {
    static const std::vector<WriteCommand> commands = {
        {{"add"}, {.store = true}, nullptr, &prepareAdd},
        {{"todo", "add"}, {.todo = true}, nullptr, &prepareTodoAdd},
        {{"recur"}, {.store = true}, &recurWrites, &prepareRecur},
        // Restore replaces the tables without reading them: a damaged grid.grd is a reason
        // to restore.
        {{"restore"}, {}, nullptr, &prepareRestore, true},
    };
    return commands;
}

const WriteCommand* takeWriteCommand(Args& args) {
    for (const WriteCommand& command : writeCommands()) {
        // The name's words are the first positional words, read as the commands read them.
        Args rest = args;
        bool named = true;
        for (const std::string& word : command.name)
            named = named && rest.takePositional() == word;
        if (named && (!command.writes || command.writes(rest))) {
            args = std::move(rest);
            return &command;
        }
    }
    return nullptr;
}

CommandOutcome applyWriteJob(const WriteJob& job, TaskStore& store, CompletedTasks* completed) {
    RecordingPrompts recorded;
    try {
        CommandOutcome outcome;
        WriteTarget target{store, completed};
        outcome.out = job(target);
        if (!recorded.errors.empty())
            return refusedOutcome(recorded.errors.front());
        return outcome;
    } catch (const CommandRefusal& r) {
        return refusedOutcome(recorded.errors.empty() ? r.message : recorded.errors.front());
    }
}

PreparedWrite prepareWriteCommand(const std::vector<std::string>& words, const FormatSettings& fs) {
    try {
        Args args(words);
        const WriteCommand* command = takeWriteCommand(args);
        if (!command)
            throw UsageError{"not a command that changes tasks: " +
                             (words.empty() ? std::string() : words.front())};
        return {command->prepare(args, fs), std::nullopt};
    } catch (const UsageError& e) {
        return {{}, CommandOutcome{2, {}, commandErrorLine(e.message)}};
    } catch (const CommandRefusal& r) {
        return {{}, refusedOutcome(r.message)};
    }
}

} // namespace dw
