#include "interchange/ical_import_command.h"

#include "interchange/ical_import.h"

namespace dw {

WriteJob prepareIcsImport(Args& args, const CommandContext& context) {
    ImportRange range = defaultImportRange(wholeDays(context.clock.now()));
    if (const auto from = args.takeOption("--from"))
        range.from = parseIsoDate(*from);
    if (const auto to = args.takeOption("--to"))
        range.to = parseIsoDate(*to);
    const std::string file = args.requirePositional("FILE");
    args.expectEnd();
    if (const std::string problem = importRangeError(range); !problem.empty())
        throw CommandRefusal{problem};
    return [file, range, fs = context.fs, toLocal = context.toLocal](WriteTarget& target) {
        if (!target.holidays)
            throw CommandRefusal{"the holidays are not loaded"};
        ImportOutcome imported;
        try {
            imported = importCalendar(readCalendarFile(file), range, target.store, *target.holidays,
                                      target.holidayPath, fs, toLocal);
        } catch (const IcalFileError& e) {
            throw CommandRefusal{file + ": " + e.what()};
        }
        if (!imported.saved)
            throw CommandRefusal{imported.saved.message()};
        CommandOutcome outcome;
        for (const CalendarItem& item : planItems(imported.plan))
            outcome.out += calendarItemLine(item) + '\n';
        for (const std::string& note : imported.plan.add.notes)
            outcome.err += commandErrorLine(note);
        if (imported.plan.duplicates > 0)
            outcome.err += commandErrorLine(std::to_string(imported.plan.duplicates) +
                                            " already there, left out");
        return outcome;
    };
}

const std::vector<WriteCommand>& allWriteCommands() {
    static const std::vector<WriteCommand> commands = [] {
        std::vector<WriteCommand> all = writeCommands();
        all.push_back({{"ics", "import"},
                       {.store = true, .todo = true, .holidays = true},
                       nullptr,
                       &prepareIcsImport,
                       true,
                       {"--from", "--to"}});
        return all;
    }();
    return commands;
}

} // namespace dw
