#include "core/commands/recur_arguments.h"

#include "core/commands/write_commands.h"

#include <array>

namespace dw {

namespace {

const std::array<const char*, 7> kWeekdayWords{"sun", "mon", "tue", "wed", "thu", "fri", "sat"};
const std::array<const char*, 5> kOrdinalWords{"1st", "2nd", "3rd", "4th", "last"};

std::vector<std::string> commaList(const std::string& text) {
    std::vector<std::string> items;
    std::size_t from = 0;
    while (true) {
        const std::size_t comma = text.find(',', from);
        items.push_back(text.substr(from, comma - from));
        if (comma == std::string::npos)
            return items;
        from = comma + 1;
    }
}

template <std::size_t N>
std::array<bool, N> chosenWords(const std::string& option, const std::string& text,
                                const std::array<const char*, N>& words) {
    std::array<bool, N> chosen{};
    for (const std::string& item : commaList(text)) {
        std::size_t i = 0;
        while (i < N && item != words[i])
            ++i;
        if (i == N) {
            std::string message = option;
            message += ": not one of the choices: ";
            message += item;
            throw UsageError{message};
        }
        chosen[i] = true;
    }
    return chosen;
}

std::array<bool, 31> chosenDays(const std::string& text) {
    std::array<bool, 31> chosen{};
    for (const std::string& item : commaList(text)) {
        const bool digits = !item.empty() && item.size() <= 2 &&
                            item.find_first_not_of("0123456789") == std::string::npos;
        const int day = digits ? std::stoi(item) : 0;
        if (day < 1 || day > 31)
            throw UsageError{"--days: not a day of the month (1 to 31): " + item};
        chosen[static_cast<std::size_t>(day - 1)] = true;
    }
    return chosen;
}

int everyOf(Args& args, RecurrenceMode mode) {
    const auto text = args.takeOption("--every");
    if (!text)
        return 1;
    const EveryLimits limits = everyLimits(mode);
    const bool digits = !text->empty() && text->size() <= 4 &&
                        text->find_first_not_of("0123456789") == std::string::npos;
    const int every = digits ? std::stoi(*text) : 0;
    if (every < limits.min || every > limits.max)
        throw CommandRefusal{"--every must be " + std::to_string(limits.min) + " to " +
                             std::to_string(limits.max) + " here: " + *text};
    return every;
}

RecurrencePattern patternOf(Args& args, const std::string& name) {
    RecurrencePattern p;
    if (name == "daily") {
        p.mode = RecurrenceMode::Daily;
        p.avoidSaturday = args.takeFlag("--avoid-sat");
        p.avoidSunday = args.takeFlag("--avoid-sun");
    } else if (name == "weekly") {
        p.mode = RecurrenceMode::Weekly;
        if (const auto days = args.takeOption("--days"))
            p.weekdays = chosenWords("--days", *days, kWeekdayWords);
    } else if (name == "days-of-month") {
        p.mode = RecurrenceMode::DaysOfMonth;
        if (const auto days = args.takeOption("--days"))
            p.days = chosenDays(*days);
        p.avoidSaturday = args.takeFlag("--avoid-sat");
        p.avoidSunday = args.takeFlag("--avoid-sun");
    } else if (name == "week-of-month") {
        p.mode = RecurrenceMode::WeekOfMonth;
        if (const auto ordinals = args.takeOption("--ordinals"))
            p.ordinals = chosenWords("--ordinals", *ordinals, kOrdinalWords);
        if (const auto days = args.takeOption("--days"))
            p.weekdays = chosenWords("--days", *days, kWeekdayWords);
        // The dialog never lets both be checked; neither do we.
        if (p.ordinals[static_cast<std::size_t>(WeekOrdinal::Fourth)] &&
            p.ordinals[static_cast<std::size_t>(WeekOrdinal::Last)])
            throw CommandRefusal{"--ordinals: \"4th\" and \"last\" cannot be chosen together "
                                 "(in a month with four of the weekday they are the same date)"};
    } else if (name == "annual") {
        p.mode = RecurrenceMode::Annual;
        return p;
    } else {
        throw UsageError{"unknown pattern: " + name};
    }
    p.every = everyOf(args, p.mode);
    return p;
}

} // namespace

RecurRequest readRecurRequest(Args& args) {
    const auto addTime = args.takeOption("--add");
    const auto category = args.takeOption("--category");
    const bool alarm = args.takeFlag("--alarm");
    const int from = parseIsoDate(args.requirePositional("FROM"));
    const int to = parseIsoDate(args.requirePositional("TO"));
    const RecurrencePattern pattern = patternOf(args, args.requirePositional("PATTERN"));
    RecurRequest request;
    if (addTime) {
        request.add = RecurringTaskToAdd{
            parseTimeArgument(*addTime), checkedCategory(category.value_or(""), "--category"),
            checkedTaskText(args.requirePositional("TEXT"), "TEXT"), alarm};
    } else if (category || alarm) {
        throw UsageError{"--category and --alarm go with --add"};
    }
    args.expectEnd();

    RecurrencePreview preview = previewDates(pattern, from, to);
    if (!preview.error.empty())
        throw CommandRefusal{preview.error};
    request.dates = std::move(preview.dates);
    return request;
}

} // namespace dw
