#pragma once

#include "cli/command_run.h"
#include "cli/parsed_args.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace dw::cli {

// One command of dayweaver-cli: how it is called, what --help says of it, what it takes,
// and what runs it. The usage text, the manual page and the shell completions are all made
// from these entries, and every command's arguments are read with them.
struct CommandEntry {
    // The words that name it: "agenda", "todo add".
    std::vector<std::string_view> name;
    // The synopsis after the name; a longer one goes on over further lines, each as
    // printed after the usage text's two-space indent.
    std::vector<std::string_view> synopsis;
    // The description's lines, each from the description column.
    std::vector<std::string_view> help;
    std::vector<PositionalRule> positionals;
    std::vector<OptionRule> options;
    int (*run)(CommandRun& run) = nullptr;
    // Measures and paints text in the GUI's fonts (print), so it needs a GUI application.
    bool paints = false;
};

// Every command, in the order the usage text lists them.
const std::vector<CommandEntry>& commandTable();

// The options every command takes, wherever they come among its words: --data DIR.
std::span<const OptionRule> globalOptions();

// What --help prints, and a usage error after its message.
std::string usageText();

// The words of a command line (the program's name left out), read with the table.
struct CommandLine {
    const CommandEntry* command = nullptr;
    ParsedArgs args;
    // The command's name and its own words, the global options left out.
    std::vector<std::string> words;
};
// Throws UsageError for an unknown command and for arguments the command does not take.
CommandLine readCommandLine(std::span<const std::string> words);

} // namespace dw::cli
