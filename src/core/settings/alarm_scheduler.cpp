#include "core/settings/alarm_scheduler.h"

#include "core/dates/date_parse.h"
#include "core/store/helpers.h"
#include "core/store/task_store.h"
#include "core/store/text_codec.h"

#include <algorithm>
#include <cmath>

namespace dw {

namespace {

constexpr std::int64_t kMinutesPerDay = 1440;
constexpr std::int64_t kSecondsPerDay = 86400;
constexpr std::size_t kPanelTextChars = 40;

std::int64_t secondOf(DateSerial moment) {
    return static_cast<std::int64_t>(std::floor(moment * kSecondsPerDay + 1e-4));
}

} // namespace

std::int64_t minuteOf(DateSerial moment) {
    // The small allowance keeps 10:30 read back from its fraction in the minute 10:30.
    return static_cast<std::int64_t>(std::floor(moment * kMinutesPerDay + 1e-6));
}

DateSerial momentOfMinute(std::int64_t minute) {
    return static_cast<double>(minute) / kMinutesPerDay;
}

void AlarmScheduler::reset() {
    announced_.clear();
    lastMinute_ = 0;
    checked_ = false;
}

std::vector<AlarmAnnouncement> AlarmScheduler::check(const TaskStore& store, DateSerial now,
                                                     const AlarmSettings& settings,
                                                     const FormatSettings& fs) {
    const std::int64_t nowMinute = minuteOf(now);
    // The first check, and one after the clock was set back, looks at its own minute only.
    std::int64_t first = checked_ && lastMinute_ <= nowMinute ? lastMinute_ + 1 : nowMinute;
    // A gap reaches back no further than the start of today.
    first = std::max(first, static_cast<std::int64_t>(wholeDays(now)) * kMinutesPerDay);
    const std::int64_t last = nowMinute;
    checked_ = true;
    lastMinute_ = nowMinute;

    std::vector<AlarmAnnouncement> due;
    if (!settings.enabled || first > last)
        return due;
    const std::int64_t lead = std::max(0, settings.leadMinutes);
    // A task is due `lead` minutes before its time, so the dates to look at run from the
    // first minute's plus the lead to the last's plus the lead: today and perhaps tomorrow.
    const int firstDate = wholeDays(momentOfMinute(first + lead));
    const int lastDate = wholeDays(momentOfMinute(last + lead));
    const CellTable& s = store.gridStore();
    for (int date = firstDate; date <= lastDate; ++date) {
        store.forEachVisibleRow(date, [&](int r) {
            if (!isYes(s.cell(StoreCol::Alarm, r)))
                return;
            const std::string& time = s.cell(StoreCol::Time, r);
            if (isBlankText(time))
                return;
            const std::optional<double> t = parseTimeText(time, fs);
            if (!t)
                return; // an unreadable time would otherwise be "now" at every check
            const std::int64_t dueMinute =
                static_cast<std::int64_t>(date) * kMinutesPerDay + minuteOf(*t) - lead;
            if (dueMinute < first || dueMinute > last)
                return;
            TaskIdentity id{date, time, s.cell(StoreCol::Category, r), s.cell(StoreCol::What, r)};
            if (!announced_.insert(std::move(id)).second)
                return;
            due.push_back({date, time, s.cell(StoreCol::Category, r), s.cell(StoreCol::What, r),
                           dueMinute, dueMinute < nowMinute});
        });
    }
    std::stable_sort(due.begin(), due.end(),
                     [](const AlarmAnnouncement& a, const AlarmAnnouncement& b) {
                         return a.dueMinute < b.dueMinute;
                     });
    return due;
}

std::string alarmPanelText(const std::vector<AlarmAnnouncement>& announcements) {
    std::string text;
    for (const AlarmAnnouncement& a : announcements) {
        if (!text.empty())
            text += '\n';
        // One task's text is cut as it stands; several take a line each.
        const std::string what = announcements.size() == 1 ? a.what : firstLine(a.what);
        text += "Alarm \"" + truncateChars(what, kPanelTextChars) + "\" at " + a.time;
        if (a.missed)
            text += " (missed)";
    }
    if (!text.empty())
        text += " ... click panel to clear";
    return text;
}

std::string alarmNotificationText(const std::vector<AlarmAnnouncement>& announcements) {
    std::string text;
    for (const AlarmAnnouncement& a : announcements) {
        if (!text.empty())
            text += '\n';
        text += a.time + "  " + firstLine(a.what);
        if (a.missed)
            text += " (missed)";
    }
    return text;
}

std::vector<DateSerial> alarmCheckTimes(DateSerial from, DateSerial to, int periodSeconds,
                                        const std::vector<AlarmStall>& stalls) {
    std::vector<DateSerial> times;
    const std::int64_t period = std::max(1, periodSeconds);
    const std::int64_t end = secondOf(to);
    std::int64_t t = secondOf(from);
    while (t <= end) {
        // A check that falls in a stall runs when the stall ends; the trigger counts on from
        // there, as a late timer does.
        bool moved = true;
        while (moved) {
            moved = false;
            for (const AlarmStall& s : stalls) {
                const std::int64_t a = secondOf(s.from), b = secondOf(s.to);
                if (t >= a && t < b) {
                    t = b;
                    moved = true;
                }
            }
        }
        if (t > end)
            break;
        times.push_back(static_cast<double>(t) / kSecondsPerDay);
        t += period;
    }
    return times;
}

std::vector<TimedAnnouncement> simulateAlarmChecks(const TaskStore& store,
                                                   const std::vector<DateSerial>& checkTimes,
                                                   const AlarmSettings& settings,
                                                   const FormatSettings& fs) {
    AlarmScheduler scheduler;
    std::vector<TimedAnnouncement> out;
    for (const DateSerial t : checkTimes)
        for (AlarmAnnouncement& a : scheduler.check(store, t, settings, fs))
            out.push_back({t, std::move(a)});
    return out;
}

} // namespace dw
