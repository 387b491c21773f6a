#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace dw::cli {

// An option a command takes: "--filter" alone, or "--category C" with the next word as its
// value whatever it looks like, so a text may start with dashes.
struct OptionRule {
    std::string_view name;
    bool takesValue = false;
    bool repeats = false;
};

// A positional argument, named as a usage error names it when it is missing.
struct PositionalRule {
    std::string_view name;
    bool required = true;
    // Takes every further positional word (NAME...).
    bool repeats = false;
};

// A command's words read against what it takes: the options by name, the other words in
// order. Words that start with "--" are options; any other word is positional.
class ParsedArgs {
public:
    const std::vector<std::string>& positionals() const { return positionals_; }
    // The i-th positional word (0 for the first), or nothing.
    std::optional<std::string> positional(std::size_t i) const;
    bool flag(std::string_view name) const;
    // The value of an option that may be given once.
    std::optional<std::string> value(std::string_view name) const;
    // Every value of a repeatable option, in the order given.
    std::vector<std::string> values(std::string_view name) const;
    // The first of these options given, by its place among the words.
    std::optional<std::string> firstGiven(std::span<const std::string_view> names) const;
    // The words that belong to the command, as typed: the global options left out.
    const std::vector<std::string>& commandWords() const { return commandWords_; }

private:
    friend ParsedArgs parseArgs(std::span<const std::string>, std::span<const OptionRule>,
                                std::span<const PositionalRule>, std::span<const OptionRule>);
    std::vector<std::string> positionals_;
    std::vector<std::pair<std::string, std::string>> options_; // name, value ("" for a flag)
    std::vector<std::string> commandWords_;
};

// Reads `words` with the command's options and positionals, and the options every command
// takes (`global`). An unknown option, an option without its value, a second use of an
// option that is not repeatable, a missing positional and a word too many are usage errors.
ParsedArgs parseArgs(std::span<const std::string> words, std::span<const OptionRule> options,
                     std::span<const PositionalRule> positionals,
                     std::span<const OptionRule> global = {});

// Whether a word is written as an option.
bool isOptionWord(std::string_view word);

} // namespace dw::cli
