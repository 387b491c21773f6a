#include "cli/command_table.h"

#include "cli/alarms_command.h"
#include "cli/archive_command.h"
#include "cli/find_command.h"
#include "cli/ics_command.h"
#include "cli/output_commands.h"
#include "cli/reading_commands.h"
#include "cli/sync_command.h"
#include "cli/writing_commands.h"
#include "core/commands/command_args.h"

#include <algorithm>

namespace dw::cli {

namespace {

constexpr OptionRule flag(std::string_view name) {
    return {name, false, false};
}
constexpr OptionRule valued(std::string_view name) {
    return {name, true, false};
}
constexpr OptionRule repeated(std::string_view name) {
    return {name, true, true};
}
constexpr PositionalRule optional(std::string_view name) {
    return {name, false, false};
}
constexpr PositionalRule rest(std::string_view name) {
    return {name, false, true};
}

const OptionRule kGlobalOptions[] = {valued("--data")};

constexpr std::string_view kUsageLine = "Usage: dayweaver-cli [--data DIR] COMMAND [ARGS]";

// Where every command's description starts in the usage text.
constexpr std::size_t kDescriptionColumn = 27;

constexpr std::string_view kNotes[] = {
    "Dates are YYYY-MM-DD. A TIME is H:MM or HH:MM, 24-hour (9:00, 21:30),",
    "or 12-hour with am or pm (9:30pm, 9:30 PM, 12:00 AM). Texts take TABs",
    "and line breaks but no other control characters; listings show those",
    "already stored as \\xHH. DIR defaults to the program's data folder.",
    "While the program runs on the folder, add, todo add, recur --add,",
    "edit, done, delete, restore, holidays import and ics import are handed",
    "to it, and it shows and saves what they change; sync, but for a dry",
    "run, is refused: the program syncs itself.",
    "Exit status: 0 success, 1 data problem, 2 usage error; sync also 3 (stopped",
    "before deleting) and 4 (some objects skipped).",
};

std::vector<CommandEntry> makeTable() {
    const std::vector<OptionRule> printSelection = {valued("--from"), valued("--to"),
                                                    valued("--done"), repeated("--category"),
                                                    flag("--no-todo")};
    const auto withSelection = [&](std::vector<OptionRule> options) {
        options.insert(options.end(), printSelection.begin(), printSelection.end());
        return options;
    };
    return {
        {{"agenda"},
         {"[DATE] [--filter]"},
         {"the tasks of a date (default today); with", "--filter only those the saved filter shows",
          "(numbered: N below is that number)"},
         {optional("DATE")},
         {flag("--filter")},
         &agendaCommand},
        {{"edit"},
         {"DATE N [--time TIME] [--text T] [--category C] [--alarm on|off]"},
         {"change the date's task N"},
         {{"DATE"}, {"N"}},
         {valued("--time"), valued("--text"), valued("--category"), valued("--alarm")},
         &writingCommand},
        {{"done"},
         {"DATE N"},
         {"mark the date's task N completed"},
         {{"DATE"}, {"N"}},
         {},
         &writingCommand},
        {{"delete"},
         {"DATE N"},
         {"delete the date's task N", "(each prints the task as agenda lists it)"},
         {{"DATE"}, {"N"}},
         {},
         &writingCommand},
        {{"add"},
         {"DATE TIME TEXT [--category C] [--alarm] [--done]"},
         {"add a dated task"},
         {{"DATE"}, {"TIME"}, {"TEXT"}},
         {valued("--category"), flag("--alarm"), flag("--done")},
         &writingCommand},
        {{"todo"}, {}, {"list the to-do tasks"}, {}, {}, &todoCommand},
        {{"todo", "add"},
         {"TEXT [--category C]"},
         {"add a to-do task"},
         {{"TEXT"}},
         {valued("--category")},
         &writingCommand},
        {{"holidays"}, {"YEAR"}, {"the holidays of a year"}, {{"YEAR"}}, {}, &holidaysCommand},
        {{"holidays", "import"},
         {"COUNTRY [--all | NAME...]"},
         {"add a country's ready-made holidays, all or",
          "those named (a name or a code such as Dec25),", "and print each added row"},
         {{"COUNTRY"}, rest("NAME")},
         {flag("--all")},
         &writingCommand},
        {{"check"}, {}, {"load every data file and report on it"}, {}, {}, &checkCommand},
        {{"recur"},
         {"FROM TO PATTERN [--every N] [options]",
          "      [--add TIME TEXT [--category C] [--alarm]]"},
         {"the dates of a repeating task, FROM and TO",
          "included, one a line; with --add a task on",
          "each. PATTERN and its options:", "  daily [--avoid-sat] [--avoid-sun]  (N 1-364)",
          "  weekly --days mon,wed              (N 1-52)",
          "  days-of-month --days 1,15,31 [--avoid-sat]",
          "    [--avoid-sun]                    (N 1-12)",
          "  week-of-month --ordinals 1st,3rd,last",
          "    --days mon,fri                   (N 1-12)", "  annual"},
         {{"FROM"}, {"TO"}, {"PATTERN"}, optional("TEXT")},
         {valued("--every"), flag("--avoid-sat"), flag("--avoid-sun"), valued("--days"),
          valued("--ordinals"), valued("--add"), valued("--category"), flag("--alarm")},
         &writingCommand},
        {{"alarms"},
         {"--from \"YYYY-MM-DD HH:MM\" --to \"YYYY-MM-DD HH:MM\"",
          "      [--lead MINUTES] [--checks-every SECONDS] [--stall FROM,TO]..."},
         {"the alarms the program announces over the",
          "span (a check every 50 s, none in a stall),",
          "one a line: check time, date, time, text,", "and \"missed\" when it fell in a gap"},
         {},
         {valued("--from"), valued("--to"), valued("--lead"), valued("--checks-every"),
          repeated("--stall")},
         &alarmsCommand},
        {{"find"},
         {"TEXT [--whole-word] [--match-case] [--up] [--filter]"},
         {"the tasks Find stops at, in its order: date,", "time, first line of the text"},
         {{"TEXT"}},
         {flag("--whole-word"), flag("--match-case"), flag("--up"), flag("--filter")},
         &findCommand},
        {{"export"},
         {"day|todo|print|completed html|csv FILE [--date D]",
          "      [--from D] [--to D] [--done yes|no|all] [--category C]...", "      [--no-todo]"},
         {"   write a table as HTML or comma-delimited", "text: the day view of D (default today)",
          "under the saved filter, the to-do list,", "the dated tasks chosen as in the print",
          "window, or the completed tasks"},
         {{"TABLE (day, todo, print or completed)"}, {"FORMAT (html or csv)"}, {"FILE"}},
         withSelection({valued("--date")}),
         &exportCommand},
        {{"publish"},
         {"YYYY-MM FILE [--details]"},
         {"the month as a web page"},
         {{"YYYY-MM"}, {"FILE"}},
         {flag("--details")},
         &publishCommand},
        {{"ics", "export"},
         {"FILE"},
         {"every task, to-do task and holiday as an", "iCalendar file"},
         {{"FILE"}},
         {},
         &icsExportCommand},
        {{"ics", "import"},
         {"FILE [--from D] [--to D]"},
         {"add an iCalendar file's events within the", "dates (default a year back to two years",
          "ahead), its to-do tasks and holidays, less",
          "what is already there. Both print a line per", "object: kind, date, time, first line"},
         {{"FILE"}},
         {valued("--from"), valued("--to")},
         &writingCommand},
        {{"print"},
         {"FILE [--layout N] [--date D] [--from D] [--to D]",
          "      [--done yes|no|all] [--category C]... [--no-todo]"},
         {"print a table to a PDF file as the program",
          "prints it, with its page layout and heading.",
          "N: 1 the day view of D (default today) under",
          "the saved filter, 2 the to-do list, 3 the", "tasks chosen as in the print window, dated",
          "ones then to-do ones (default; the only", "layout the choosing options go with), 4 the",
          "completed tasks"},
         {{"FILE"}},
         withSelection({valued("--layout"), valued("--date")}),
         &printCommand,
         true},
        {{"archive"},
         {"FILE"},
         {"write the dated, to-do and completed tasks",
          "to FILE (.arb when it has no extension) and", "its .AR2 and .AR3 companions; prints the",
          "three names, one a line"},
         {{"FILE"}},
         {},
         &archiveCommand},
        {{"restore"},
         {"FILE"},
         {"replace all three task tables by an", "archive's, all or nothing"},
         {{"FILE"}},
         {},
         &writingCommand},
        {{"sync"},
         {"[--url URL] [--user USER] [--calendar PATH]",
          "     [--netrc | --password-file FILE] [--cacert FILE]",
          "     [--dry-run] [--allow-deletions]"},
         {"two-way sync with a CalDAV calendar, one", "line per change sent or received; URL,",
          "USER and PATH default to the sync options;", "--cacert also trusts the PEM certificates",
          "in FILE (a server with its own authority);", "it stops (exit 3) rather than delete most",
          "of what it synced last time on one side,", "unless --allow-deletions; exit 4 when some",
          "objects were skipped"},
         {},
         {valued("--url"), valued("--user"), valued("--calendar"), flag("--netrc"),
          valued("--password-file"), valued("--cacert"), flag("--dry-run"),
          flag("--allow-deletions")},
         &syncCommand},
    };
}

std::string joined(const std::vector<std::string_view>& words) {
    std::string text;
    for (const std::string_view w : words)
        text += (text.empty() ? "" : " ") + std::string(w);
    return text;
}

void appendCommandUsage(std::string& text, const CommandEntry& c) {
    std::vector<std::string> lines{"  " + joined(c.name)};
    if (!c.synopsis.empty() && !c.synopsis.front().empty())
        lines.front() += " " + std::string(c.synopsis.front());
    for (std::size_t i = 1; i < c.synopsis.size(); ++i)
        lines.push_back("  " + std::string(c.synopsis[i]));
    auto help = c.help.begin();
    // The description starts beside a synopsis that leaves room for it, else below.
    std::string& last = lines.back();
    if (help != c.help.end() && last.size() < kDescriptionColumn) {
        last.resize(kDescriptionColumn, ' ');
        last += *help++;
    }
    for (; help != c.help.end(); ++help)
        lines.push_back(std::string(kDescriptionColumn, ' ') + std::string(*help));
    for (const std::string& line : lines)
        text += line + '\n';
}

bool startsWithName(std::span<const std::string> words, const CommandEntry& c) {
    return words.size() >= c.name.size() && std::equal(c.name.begin(), c.name.end(), words.begin());
}

// The words that follow `head` in the table's longer names: "export", "import" for "ics".
std::vector<std::string_view> subcommandsOf(std::string_view head) {
    std::vector<std::string_view> words;
    for (const CommandEntry& c : commandTable())
        if (c.name.size() > 1 && c.name.front() == head)
            words.push_back(c.name[1]);
    return words;
}

std::string alternatives(const std::vector<std::string_view>& words) {
    std::string text;
    for (std::size_t i = 0; i < words.size(); ++i)
        text += (i == 0 ? "" : i + 1 == words.size() ? " or " : ", ") + std::string(words[i]);
    return text;
}

// The table's command that the words (at least one) begin with, the longest name first
// ("todo add" over "todo").
const CommandEntry& commandNamed(std::span<const std::string> words) {
    const CommandEntry* found = nullptr;
    for (const CommandEntry& c : commandTable())
        if (startsWithName(words, c) && (!found || c.name.size() > found->name.size()))
            found = &c;
    if (found)
        return *found;
    // A word that only begins longer names: "ics" alone, or with a word it does not take.
    const std::string& head = words.front();
    const std::vector<std::string_view> subcommands = subcommandsOf(head);
    if (subcommands.empty())
        throw UsageError{"unknown command: " + head};
    if (words.size() < 2 || isOptionWord(words[1]))
        throw UsageError{"missing " + alternatives(subcommands)};
    throw UsageError{"unknown " + head + " command: " + words[1]};
}

} // namespace

const std::vector<CommandEntry>& commandTable() {
    static const std::vector<CommandEntry> table = makeTable();
    return table;
}

std::span<const OptionRule> globalOptions() {
    return kGlobalOptions;
}

std::string usageText() {
    std::string text = std::string(kUsageLine) + "\n\nCommands:\n";
    for (const CommandEntry& c : commandTable())
        appendCommandUsage(text, c);
    text += '\n';
    for (const std::string_view line : kNotes)
        text += std::string(line) + '\n';
    return text;
}

CommandLine readCommandLine(std::span<const std::string> words) {
    // The global options may come before the command's name as well as among its words.
    std::size_t start = 0;
    while (start < words.size() && isOptionWord(words[start])) {
        const auto global =
            std::find_if(globalOptions().begin(), globalOptions().end(),
                         [&](const OptionRule& o) { return o.name == words[start]; });
        if (global == globalOptions().end())
            throw UsageError{"unknown option: " + words[start]};
        start += global->takesValue ? 2 : 1;
    }
    if (start >= words.size()) {
        // Reads the options for what is wrong with them, such as a missing value.
        parseArgs(words, {}, {}, globalOptions());
        throw UsageError{"missing COMMAND"};
    }
    const std::span<const std::string> named = words.subspan(start);
    CommandLine line;
    const CommandEntry& c = commandNamed(named);
    line.command = &c;
    // A command that takes no word of its own but begins longer names: "todo remove".
    if (c.positionals.empty() && named.size() > c.name.size() &&
        !isOptionWord(named[c.name.size()]) && !subcommandsOf(c.name.front()).empty())
        throw UsageError{"unknown " + std::string(c.name.front()) +
                         " command: " + named[c.name.size()]};

    std::vector<std::string> own(words.begin(), words.begin() + static_cast<std::ptrdiff_t>(start));
    own.insert(own.end(), named.begin() + static_cast<std::ptrdiff_t>(c.name.size()), named.end());
    line.args = parseArgs(own, c.options, c.positionals, globalOptions());
    line.words.assign(c.name.begin(), c.name.end());
    line.words.insert(line.words.end(), line.args.commandWords().begin(),
                      line.args.commandWords().end());
    return line;
}

} // namespace dw::cli
