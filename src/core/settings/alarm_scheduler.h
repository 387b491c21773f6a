#pragma once

#include "core/dates/date_serial.h"
#include "core/dates/format_settings.h"

#include <cstdint>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace dw {

class TaskStore;

// The alarm options the check reads each time it runs.
struct AlarmSettings {
    bool enabled = true; // the master switch: off, nothing is ever announced
    int leadMinutes = 0; // minutes ahead of the task's time
};

// A task the check announces.
struct AlarmAnnouncement {
    int date = 0;     // the task's date (whole days)
    std::string time; // its time text as stored
    std::string category;
    std::string what;           // its whole text
    std::int64_t dueMinute = 0; // date and time less the lead time, in minutes since day 0
    bool missed = false;        // fell due in a minute no check ran in (a stall, a sleep)
    friend bool operator==(const AlarmAnnouncement&, const AlarmAnnouncement&) = default;
};

// Minutes since day 0 of a moment: the minute it lies in.
std::int64_t minuteOf(DateSerial moment);
DateSerial momentOfMinute(std::int64_t minute);

// Decides which alarms fall due, so that each alarm a user set fires exactly once. Each
// check covers the minutes after the previous check's minute up to its own; the first check
// covers only its own minute. A check announces every task with the alarm flag "Yes" that
// passes the filter and whose due minute (its date and time less the lead time) lies in that
// span and has not been announced before in this run; a lead time that crosses midnight
// reaches the next day's tasks. After a gap without checks (a busy program, a machine that
// slept) the tasks that fell due during it are announced once, marked missed, as far back
// as the start of the check's day: alarms of days the machine slept through stay quiet. A
// task whose time is empty or cannot be read never alarms.
class AlarmScheduler {
public:
    // One check at `now`. The announcements come in order of due minute, then store order.
    std::vector<AlarmAnnouncement> check(const TaskStore& store, DateSerial now,
                                         const AlarmSettings& settings, const FormatSettings& fs);

    // Forgets the checks and the announced tasks (a new run).
    void reset();
    bool hasChecked() const { return checked_; }
    std::int64_t lastCheckedMinute() const { return lastMinute_; }

private:
    using TaskIdentity = std::tuple<int, std::string, std::string, std::string>;
    std::set<TaskIdentity> announced_;
    std::int64_t lastMinute_ = 0;
    bool checked_ = false;
};

// The panel's text: for one task `Alarm "` + the first 40 characters of its text + `" at ` +
// its time as stored + ` ... click panel to clear`; several tasks take one line each, a
// missed one marked " (missed)", and the last line ends with the clearing hint.
std::string alarmPanelText(const std::vector<AlarmAnnouncement>& announcements);
// The desktop notification's lines: the time and first line of each task.
std::string alarmNotificationText(const std::vector<AlarmAnnouncement>& announcements);

// A run of the alarm trigger over a span, as a script sees it: a check every `periodSeconds`
// from `from` while the clock is before or at `to`, none inside a stall (a check that falls
// in one runs at the stall's end instead). Each announcement is cleared at once, so no
// check is held back by a showing alarm.
struct AlarmStall {
    DateSerial from = 0;
    DateSerial to = 0;
};
struct TimedAnnouncement {
    DateSerial checkTime = 0;
    AlarmAnnouncement announcement;
};
// The moments the trigger runs the check at.
std::vector<DateSerial> alarmCheckTimes(DateSerial from, DateSerial to, int periodSeconds,
                                        const std::vector<AlarmStall>& stalls);
std::vector<TimedAnnouncement> simulateAlarmChecks(const TaskStore& store,
                                                   const std::vector<DateSerial>& checkTimes,
                                                   const AlarmSettings& settings,
                                                   const FormatSettings& fs);

} // namespace dw
