#include "cli/parsed_args.h"

#include "core/commands/command_args.h"

#include <algorithm>

namespace dw::cli {

namespace {

const OptionRule* findOption(std::span<const OptionRule> options, std::string_view name) {
    const auto it = std::find_if(options.begin(), options.end(),
                                 [name](const OptionRule& o) { return o.name == name; });
    return it == options.end() ? nullptr : &*it;
}

} // namespace

bool isOptionWord(std::string_view word) {
    return word.size() >= 2 && word.starts_with("--");
}

std::optional<std::string> ParsedArgs::positional(std::size_t i) const {
    if (i >= positionals_.size())
        return std::nullopt;
    return positionals_[i];
}

bool ParsedArgs::flag(std::string_view name) const {
    return std::any_of(options_.begin(), options_.end(),
                       [name](const auto& option) { return option.first == name; });
}

std::optional<std::string> ParsedArgs::value(std::string_view name) const {
    for (const auto& [given, value] : options_)
        if (given == name)
            return value;
    return std::nullopt;
}

std::vector<std::string> ParsedArgs::values(std::string_view name) const {
    std::vector<std::string> found;
    for (const auto& [given, value] : options_)
        if (given == name)
            found.push_back(value);
    return found;
}

std::optional<std::string> ParsedArgs::firstGiven(std::span<const std::string_view> names) const {
    for (const auto& option : options_)
        if (std::find(names.begin(), names.end(), option.first) != names.end())
            return option.first;
    return std::nullopt;
}

ParsedArgs parseArgs(std::span<const std::string> words, std::span<const OptionRule> options,
                     std::span<const PositionalRule> positionals,
                     std::span<const OptionRule> global) {
    ParsedArgs parsed;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (!isOptionWord(word)) {
            parsed.positionals_.push_back(word);
            parsed.commandWords_.push_back(word);
            continue;
        }
        const OptionRule* own = findOption(options, word);
        const OptionRule* rule = own ? own : findOption(global, word);
        if (!rule)
            throw UsageError{"unknown option: " + word};
        if (!rule->repeats && parsed.flag(word))
            throw UsageError{word + " is given more than once"};
        std::string value;
        if (rule->takesValue) {
            if (i + 1 == words.size())
                throw UsageError{word + " needs a value"};
            value = words[++i];
        }
        if (own) {
            parsed.commandWords_.push_back(word);
            if (rule->takesValue)
                parsed.commandWords_.push_back(value);
        }
        parsed.options_.emplace_back(word, std::move(value));
    }

    std::size_t taken = 0;
    for (const PositionalRule& p : positionals) {
        if (taken == parsed.positionals_.size()) {
            if (p.required)
                throw UsageError{"missing " + std::string(p.name)};
            continue;
        }
        taken = p.repeats ? parsed.positionals_.size() : taken + 1;
    }
    if (taken < parsed.positionals_.size())
        throw UsageError{"unexpected argument: " + parsed.positionals_[taken]};
    return parsed;
}

} // namespace dw::cli
