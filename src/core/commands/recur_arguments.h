#pragma once

#include "core/commands/command_args.h"
#include "core/editing/recurrence.h"

#include <optional>
#include <string>

namespace dw {

// A task for each generated date (recur --add).
struct RecurringTaskToAdd {
    double time = 0;
    std::string category;
    std::string text;
    bool alarm = false;
};

// recur FROM TO PATTERN [options] [--add TIME TEXT [--category C] [--alarm]], read and
// checked: the dates it generates, and the task to put on each when one is to be added.
struct RecurRequest {
    std::vector<int> dates;
    std::optional<RecurringTaskToAdd> add;
};

// Reads the arguments after "recur". Malformed words throw UsageError; the recurrence
// dialog's refusals (its messages and limits) throw CommandRefusal.
RecurRequest readRecurRequest(Args& args);

} // namespace dw
