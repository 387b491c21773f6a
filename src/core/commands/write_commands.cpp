#include "core/commands/write_commands.h"

#include "core/commands/listing_text.h"
#include "core/commands/recur_arguments.h"
#include "core/dates/date_format.h"
#include "core/editing/recurrence.h"
#include "core/editing/task_commands.h"
#include "core/editing/task_completion.h"
#include "core/holidays/holiday_sets.h"
#include "core/holidays/holiday_table.h"
#include "core/output/completed_tasks.h"
#include "core/store/archive.h"
#include "core/store/file_io.h"
#include "core/store/helpers.h"
#include "core/store/task_limits.h"
#include "core/store/text_codec.h"

#include <algorithm>
#include <cstdio>

namespace dw {

std::string commandErrorLine(const std::string& message) {
    return "dayweaver-cli: " + message + "\n";
}

CommandOutcome refusedOutcome(const std::string& message) {
    return {1, {}, commandErrorLine(message)};
}

CommandOutcome choiceErrorOutcome(const ChoiceError& error) {
    std::string err = commandErrorLine(error.message) + "Choose one of:\n";
    for (const std::string& choice : error.choices)
        err += "  " + choice + '\n';
    return {2, {}, err};
}

std::string checkedUtf8(std::string text) {
    // A stray byte would be written into the file and spoil how its other texts read back.
    if (!isValidUtf8(text))
        throw UsageError{"a text is not valid UTF-8"};
    return text;
}

namespace {

// A control character would be stored as given and later reach a terminal, or shift the
// fields of a script's listing. TAB and line breaks are what people type into a text.
std::string withoutControlCharacters(std::string text, std::string_view argument) {
    if (const auto found = firstControlCharacter(text)) {
        char code[16];
        std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(found->codePoint));
        throw UsageError{"a control character in " + std::string(argument) + ": " + code +
                         " at character " + std::to_string(found->position) +
                         "; a text may hold TABs and line breaks but no other control "
                         "characters"};
    }
    return text;
}

} // namespace

std::string checkedCategory(const std::string& raw, std::string_view argument) {
    std::string category = normalizeTypedText(withoutControlCharacters(checkedUtf8(raw), argument));
    if (utf8Length(category) > kCategoryMaxChars || category.find('\r') != std::string::npos)
        throw UsageError{"a category is one line of at most 20 characters"};
    return category;
}

std::string checkedTaskText(const std::string& raw, std::string_view argument) {
    std::string text = normalizeTypedText(withoutControlCharacters(checkedUtf8(raw), argument));
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

// A save that failed refuses the command in the save's own words.
void saved(const Status& status) {
    if (!status)
        throw CommandRefusal{status.message()};
}

// add DATE TIME TEXT [--category C] [--alarm] [--done]
WriteJob prepareAdd(Args& args, const CommandContext& context) {
    const FormatSettings& fs = context.fs;
    const std::string category =
        checkedCategory(args.takeOption("--category").value_or(""), "--category");
    const bool alarm = args.takeFlag("--alarm");
    const bool done = args.takeFlag("--done");
    const int date = parseIsoDate(args.requirePositional("DATE"));
    const double time = parseTimeArgument(args.requirePositional("TIME"));
    const std::string text = checkedTaskText(args.requirePositional("TEXT"), "TEXT");
    args.expectEnd();
    const DatedTask task{timeCellText(time, fs), category, text, done, alarm};
    return [date, task](WriteTarget& target) {
        TaskStore& store = target.store;
        saved(store.insertTask(date, task));
        return CommandOutcome{};
    };
}

// todo add TEXT [--category C]: the first free row, then the list in its sort order, as the
// window's Add leaves it.
WriteJob prepareTodoAdd(Args& args, const CommandContext&) {
    const std::string category =
        checkedCategory(args.takeOption("--category").value_or(""), "--category");
    const std::string text = checkedTaskText(args.requirePositional("TEXT"), "TEXT");
    args.expectEnd();
    const DatedTask task{{}, category, text, false, false};
    return [task](WriteTarget& target) {
        TaskStore& store = target.store;
        CellTable& todo = store.gridNonday();
        writeTodoRow(todo, freePaneRow(todo, TaskPane::Todo), task);
        todo.sortRows();
        saved(store.saveTodoFile());
        return CommandOutcome{};
    };
}

// recur FROM TO PATTERN ... --add TIME TEXT: a task on each date, as the recurrence
// dialog's OK adds them; the dates are printed either way.
bool recurWrites(const Args& args) {
    const auto& words = args.remaining();
    return std::find(words.begin(), words.end(), "--add") != words.end();
}

WriteJob prepareRecur(Args& args, const CommandContext& context) {
    const FormatSettings& fs = context.fs;
    const RecurRequest request = readRecurRequest(args);
    std::optional<DatedTask> task;
    if (request.add)
        task = DatedTask{generatedTimeText(request.add->time, fs), request.add->category,
                         request.add->text, false, request.add->alarm};
    return [dates = request.dates, task](WriteTarget& target) {
        if (task)
            saved(addRecurringTasks(target.store, dates, *task));
        CommandOutcome outcome;
        for (const int date : dates)
            outcome.out += isoDate(date) + '\n';
        return outcome;
    };
}

// restore FILE: the three task tables replaced by an archive's, all or nothing, and
// written at once.
WriteJob prepareRestore(Args& args, const CommandContext&) {
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
        return CommandOutcome{};
    };
}

int holidayCountryNamed(const std::string& name) {
    const int country = holidayCountryIndex(name);
    if (country < 0) {
        ChoiceError unknown{"unknown country: " + name, {}};
        for (const std::string_view c : builtInHolidayCountries())
            unknown.choices.emplace_back(c);
        throw unknown;
    }
    return country;
}

// The list positions of the named holidays, in list order.
std::vector<int> holidayPositionsNamed(int country, const std::vector<std::string>& names) {
    std::string unknownName;
    std::vector<int> positions = countryHolidaysNamed(country, names, unknownName);
    if (!unknownName.empty()) {
        ChoiceError unknown{
            "no holiday of " +
                std::string(builtInHolidayCountries()[static_cast<std::size_t>(country)]) +
                " is named " + unknownName,
            {}};
        for (const BuiltInHoliday& e : countryHolidays(country))
            unknown.choices.push_back(std::string(e.code) + "\t" + std::string(e.name));
        throw unknown;
    }
    return positions;
}

// holidays import COUNTRY [--all | NAME...]: as the import dialog adds them, and each added
// row printed, tab separated.
WriteJob prepareHolidaysImport(Args& args, const CommandContext& context) {
    const bool all = args.takeFlag("--all");
    const int country = holidayCountryNamed(args.requirePositional("COUNTRY"));
    std::vector<std::string> names;
    while (const auto name = args.takePositional())
        names.push_back(*name);
    if (all == !names.empty())
        throw UsageError{"holidays import: give --all or the names of the holidays"};
    std::vector<int> positions;
    if (all) {
        for (int i = 0; i < static_cast<int>(countryHolidays(country).size()); ++i)
            positions.push_back(i);
    } else {
        positions = holidayPositionsNamed(country, names);
    }
    return [country, positions, fs = context.fs](WriteTarget& target) {
        if (!target.holidays)
            throw CommandRefusal{"the holidays are not loaded"};
        CellTable& table = *target.holidays;
        // With no file yet the table starts as the holiday list's does.
        if (!fileExists(target.holidayPath))
            table = makeHolidayTable();
        const std::vector<CellTable::Row> added = importHolidays(table, country, positions, fs);
        saved(table.saveTable(target.holidayPath));
        CommandOutcome outcome;
        for (const CellTable::Row& row : added) {
            for (std::size_t col = 0; col < row.size(); ++col)
                outcome.out += (col ? "\t" : "") + visibleField(row[col]);
            outcome.out += '\n';
        }
        return outcome;
    };
}

// The store row of a date's n-th task; refused when the date has fewer.
int rowOfNumber(const TaskStore& store, int date, int n) {
    const std::vector<int> rows = numberedTaskRows(store, date);
    if (n > static_cast<int>(rows.size()))
        throw CommandRefusal{isoDate(date) + " has no task " + std::to_string(n)};
    return rows[static_cast<std::size_t>(n - 1)];
}

// Sorts and saves the store after a task of `date` in `row` changed, and answers the task
// as it now stands, as agenda lists it (its number counted again after the sort).
std::string savedAndListed(TaskStore& store, int date, int row) {
    const CellTable& s = store.gridStore();
    const CellTable::Row changed = s.row(row);
    saved(store.sortAndSaveStore());
    const auto isChanged = [&](int r) {
        for (int c = 0; c < static_cast<int>(changed.size()) && c < s.colCount(); ++c)
            if (s.cellView(c, r) != changed[static_cast<std::size_t>(c)])
                return false;
        return true;
    };
    const std::vector<int> rows = numberedTaskRows(store, date);
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (isChanged(rows[i]))
            return agendaLine(static_cast<int>(i) + 1, s, rows[i]);
    return {};
}

int taskNumber(const std::string& text) {
    if (text.empty() || text.size() > 6 ||
        text.find_first_not_of("0123456789") != std::string::npos || std::stoi(text) < 1)
        throw UsageError{"not a task number: " + text};
    return std::stoi(text);
}

struct NumberedTask {
    int date = 0;
    int number = 0;
};

NumberedTask readNumberedTask(Args& args) {
    NumberedTask task;
    task.date = parseIsoDate(args.requirePositional("DATE"));
    task.number = taskNumber(args.requirePositional("N"));
    args.expectEnd();
    return task;
}

// edit DATE N [--time HH:MM] [--text T] [--category C] [--alarm on|off]: the task keeps
// its place among the date's tasks.
WriteJob prepareEdit(Args& args, const CommandContext& context) {
    const FormatSettings& fs = context.fs;
    const auto time = args.takeOption("--time");
    const auto text = args.takeOption("--text");
    const auto category = args.takeOption("--category");
    const auto alarm = args.takeOption("--alarm");
    if (!time && !text && !category && !alarm)
        throw UsageError{"edit needs at least one of --time, --text, --category, --alarm"};
    if (alarm && *alarm != "on" && *alarm != "off")
        throw UsageError{"--alarm is on or off"};
    std::vector<std::pair<int, std::string>> cells;
    if (time)
        cells.emplace_back(StoreCol::Time, timeCellText(parseTimeArgument(*time), fs));
    if (text)
        cells.emplace_back(StoreCol::What, checkedTaskText(*text, "--text"));
    if (category)
        cells.emplace_back(StoreCol::Category, checkedCategory(*category, "--category"));
    if (alarm)
        cells.emplace_back(StoreCol::Alarm, yesNo(*alarm == "on"));
    const NumberedTask task = readNumberedTask(args);
    return [task, cells](WriteTarget& target) {
        TaskStore& store = target.store;
        const int row = rowOfNumber(store, task.date, task.number);
        for (const auto& [column, value] : cells)
            store.gridStore().setCell(column, row, value);
        return CommandOutcome{0, savedAndListed(store, task.date, row), {}};
    };
}

// done DATE N: marked done with its alarm off and its completion recorded, as the window's
// Mark as completed and the editor's completion page leave them.
WriteJob prepareDone(Args& args, const CommandContext& context) {
    const FormatSettings fs = context.fs;
    const NumberedTask task = readNumberedTask(args);
    return [task, fs](WriteTarget& target) {
        if (!target.completed)
            throw CommandRefusal{"the completed tasks are not loaded"};
        TaskStore& store = target.store;
        CellTable& s = store.gridStore();
        const int row = rowOfNumber(store, task.date, task.number);
        if (isYes(s.cellView(StoreCol::Done, row)))
            throw CommandRefusal{kAlreadyComplete};
        const DatedTask current{s.cell(StoreCol::Time, row), s.cell(StoreCol::Category, row),
                                s.cell(StoreCol::What, row), false, false};
        const CompletedTask record =
            completionAsItStands(current, TaskPane::Day, task.date, fs, store.clock());
        s.setCell(StoreCol::Done, row, yesNo(true));
        s.setCell(StoreCol::Alarm, row, yesNo(false));
        std::string line = savedAndListed(store, task.date, row);
        saved(target.completed->add(record, fs));
        return CommandOutcome{0, std::move(line), {}};
    };
}

// delete DATE N: prints the task it deleted, with the number it had.
WriteJob prepareDelete(Args& args, const CommandContext&) {
    const NumberedTask task = readNumberedTask(args);
    return [task](WriteTarget& target) {
        TaskStore& store = target.store;
        const int row = rowOfNumber(store, task.date, task.number);
        std::string line = agendaLine(task.number, store.gridStore(), row);
        store.gridStore().setCell(StoreCol::Key, row, ""); // the sort drops it
        saved(store.sortAndSaveStore());
        return CommandOutcome{0, std::move(line), {}};
    };
}

} // namespace

const std::vector<WriteCommand>& writeCommands() {
    static const std::vector<WriteCommand> commands = {
        {{"add"}, {.store = true}, nullptr, &prepareAdd},
        {{"todo", "add"}, {.todo = true}, nullptr, &prepareTodoAdd},
        {{"recur"}, {.store = true}, &recurWrites, &prepareRecur},
        // Restore replaces the tables without reading them: a damaged grid.grd is a reason
        // to restore.
        {{"restore"}, {}, nullptr, &prepareRestore, true},
        {{"edit"}, {.store = true}, nullptr, &prepareEdit},
        {{"done"}, {.store = true, .completed = true}, nullptr, &prepareDone},
        {{"delete"}, {.store = true}, nullptr, &prepareDelete},
        {{"holidays", "import"}, {.holidays = true}, nullptr, &prepareHolidaysImport},
    };
    return commands;
}

std::vector<int> numberedTaskRows(const TaskStore& store, int date) {
    std::vector<int> rows;
    // The store is sorted by date: the date's rows are together.
    for (int r = 1; r < store.gridStore().rowCount(); ++r) {
        if (store.keyDate(r) == date)
            rows.push_back(r);
        else if (!rows.empty())
            break;
    }
    return rows;
}

const WriteCommand* takeWriteCommand(Args& args, std::span<const WriteCommand> commands) {
    for (const WriteCommand& command : commands) {
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

std::optional<std::size_t> fileArgumentIndex(const WriteCommand& command,
                                             const std::vector<std::string>& words) {
    if (!command.fileArgument)
        return std::nullopt;
    for (std::size_t i = command.name.size(); i < words.size(); ++i) {
        const std::string& word = words[i];
        if (std::find(command.valueOptions.begin(), command.valueOptions.end(), word) !=
            command.valueOptions.end())
            ++i; // its value
        else if (!word.starts_with("--"))
            return i;
    }
    return std::nullopt;
}

CommandOutcome applyWriteJob(const WriteJob& job, WriteTarget& target) {
    try {
        return job(target);
    } catch (const CommandRefusal& r) {
        return refusedOutcome(r.message);
    }
}

PreparedWrite prepareWriteCommand(const std::vector<std::string>& words,
                                  const CommandContext& context,
                                  std::span<const WriteCommand> commands) {
    try {
        Args args(words);
        const WriteCommand* command = takeWriteCommand(args, commands);
        if (!command)
            throw UsageError{"not a command that changes tasks: " +
                             (words.empty() ? std::string() : words.front())};
        return {command, command->prepare(args, context), std::nullopt};
    } catch (const UsageError& e) {
        return {nullptr, {}, CommandOutcome{2, {}, commandErrorLine(e.message)}};
    } catch (const ChoiceError& e) {
        return {nullptr, {}, choiceErrorOutcome(e)};
    } catch (const CommandRefusal& r) {
        return {nullptr, {}, refusedOutcome(r.message)};
    }
}

} // namespace dw
