#include "cli/alarms_command.h"

#include "cli/store_loading.h"
#include "core/commands/command_args.h"
#include "core/commands/listing_text.h"
#include "core/dates/date_format.h"
#include "core/settings/alarm_scheduler.h"
#include "core/settings/option_keys.h"
#include "core/store/file_io.h"
#include "core/store/helpers.h"

namespace dw::cli {

namespace {

constexpr int kDefaultCheckSeconds = 50; // the alarm trigger's period

// "YYYY-MM-DD HH:MM" (or "YYYY-MM-DDTHH:MM") to a date serial with its time of day.
DateSerial parseIsoMoment(const std::string& text) {
    const std::size_t gap = text.find_first_of(" T");
    if (gap == std::string::npos)
        throw UsageError{"not a date and time (YYYY-MM-DD HH:MM): " + text};
    const std::size_t timeStart = text.find_first_not_of(' ', gap + 1);
    if (timeStart == std::string::npos)
        throw UsageError{"not a date and time (YYYY-MM-DD HH:MM): " + text};
    return parseIsoDate(text.substr(0, gap)) + parseTimeArgument(text.substr(timeStart));
}

int parseCount(const std::string& option, const std::string& text, int low, int high) {
    if (text.empty() || text.size() > 6 ||
        text.find_first_not_of("0123456789") != std::string::npos)
        throw UsageError{option + ": not a number: " + text};
    const int n = std::stoi(text);
    if (n < low || n > high)
        throw UsageError{option + ": out of range " + std::to_string(low) + "-" +
                         std::to_string(high) + ": " + text};
    return n;
}

std::string isoMoment(DateSerial moment) {
    return isoDate(wholeDays(moment)) + " " +
           formatDateTime("hh:nn:ss", moment, FormatSettings::enUS());
}

} // namespace

void useSavedFilter(TaskStore& store, FilterState& filter, const std::string& dataDir,
                    const SettingsStore& settings) {
    loadFilterState(filter, dataDir, settings);
    store.setFilter([&filter](const std::string& done, const std::string& category) {
        return filter.taskPassesFilter(done, category);
    });
}

std::string hiddenByFilterLine(const TaskStore& store, int date) {
    const CellTable& s = store.gridStore();
    int hidden = 0;
    for (int r = 1; r < s.rowCount(); ++r)
        if (store.keyDate(r) == date && !store.passesFilter(r))
            ++hidden;
    return std::to_string(hidden) + (hidden == 1 ? " task" : " tasks") + " hidden by the filter";
}

int alarmsCommand(CommandRun& run) {
    const auto fromText = run.args.value("--from");
    const auto toText = run.args.value("--to");
    const auto leadText = run.args.value("--lead");
    const auto everyText = run.args.value("--checks-every");
    std::vector<AlarmStall> stalls;
    for (const std::string& stall : run.args.values("--stall")) {
        const std::size_t comma = stall.find(',');
        if (comma == std::string::npos)
            throw UsageError{"--stall: FROM,TO expected: " + stall};
        stalls.push_back(
            {parseIsoMoment(stall.substr(0, comma)), parseIsoMoment(stall.substr(comma + 1))});
    }
    if (!fromText || !toText)
        throw UsageError{"alarms needs --from and --to"};
    const DateSerial from = parseIsoMoment(*fromText);
    const DateSerial to = parseIsoMoment(*toText);
    if (to < from)
        throw UsageError{"--to lies before --from"};
    // A year of checks is plenty for a script; more would only take long.
    if (to - from > 366)
        throw UsageError{"the span is longer than a year"};
    const int every =
        everyText ? parseCount("--checks-every", *everyText, 1, 86400) : kDefaultCheckSeconds;

    const Options options = readOptions(run.settings, {}, false);
    AlarmSettings alarm{options.playAlarm, options.alarmMin};
    if (leadText)
        alarm.leadMinutes = parseCount("--lead", *leadText, kAlarmMinMin, kAlarmMinMax);

    TaskStore store(run.fs, run.clock);
    if (const auto failure = cli::loadDatedTasks(store, run.dataDir)) {
        run.err << "dayweaver-cli: " << *failure << '\n';
        return 1;
    }
    FilterState filter;
    useSavedFilter(store, filter, run.dataDir, run.settings);

    const auto announcements =
        simulateAlarmChecks(store, alarmCheckTimes(from, to, every, stalls), alarm, run.fs);
    for (const TimedAnnouncement& t : announcements) {
        const AlarmAnnouncement& a = t.announcement;
        run.out << isoMoment(t.checkTime) << '\t' << isoDate(a.date) << '\t' << visibleField(a.time)
                << '\t' << visibleField(firstLine(a.what)) << (a.missed ? "\tmissed" : "") << '\n';
    }
    return 0;
}

} // namespace dw::cli
