#include "interchange/ical_components.h"

#include "core/dates/date_serial.h"
#include "core/store/helpers.h"
#include "core/text/lower_text.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <ctime>

namespace dw::ical {

namespace {

// The zone a time property names with its TZID: the calendar's own VTIMEZONE, else the
// system's zone of that name; none for a floating time or a zone nobody knows.
icaltimezone* zoneOf(icalproperty* prop, icalcomponent* root) {
    icalparameter* p = icalproperty_get_first_parameter(prop, ICAL_TZID_PARAMETER);
    if (!p)
        return nullptr;
    const char* tzid = icalparameter_get_tzid(p);
    if (!tzid || !*tzid)
        return nullptr;
    if (root)
        if (icaltimezone* own = icalcomponent_get_timezone(root, tzid))
            return own;
    if (icaltimezone* known = icaltimezone_get_builtin_timezone_from_tzid(tzid))
        return known;
    return icaltimezone_get_builtin_timezone(tzid);
}

void removeX(icalcomponent* c, const char* name) {
    for (icalproperty* p = icalcomponent_get_first_property(c, ICAL_X_PROPERTY); p;) {
        icalproperty* next = icalcomponent_get_next_property(c, ICAL_X_PROPERTY);
        const char* n = icalproperty_get_x_name(p);
        if (n && equalsNoCase(n, name)) {
            icalcomponent_remove_property(c, p);
            icalproperty_free(p);
        }
        p = next;
    }
}

// SUMMARY the first line; DESCRIPTION the whole text when it has more lines (a one-line
// task has nothing to add, and another program that renames the event then renames the
// task); CATEGORIES, and the exact category beside it when it holds a comma, which
// CATEGORIES would split.
void setTexts(icalcomponent* c, const std::string& what, const std::string& category) {
    for (const icalproperty_kind kind :
         {ICAL_SUMMARY_PROPERTY, ICAL_DESCRIPTION_PROPERTY, ICAL_CATEGORIES_PROPERTY})
        removeAll(c, kind);
    removeX(c, kCategoryProperty);
    icalcomponent_add_property(c, icalproperty_new_summary(summaryOfText(what).c_str()));
    if (what.find_first_of("\r\n") != std::string::npos)
        icalcomponent_add_property(c,
                                   icalproperty_new_description(descriptionOfText(what).c_str()));
    if (category.empty())
        return;
    icalcomponent_add_property(c, icalproperty_new_categories(category.c_str()));
    if (category.find(',') != std::string::npos)
        addX(c, kCategoryProperty, category.c_str());
}

void setDone(icalcomponent* c, bool done) {
    if (icalcomponent_isa(c) == ICAL_VTODO_COMPONENT) {
        icalcomponent_set_status(c, done ? ICAL_STATUS_COMPLETED : ICAL_STATUS_NEEDSACTION);
        if (!done)
            removeAll(c, ICAL_COMPLETED_PROPERTY);
        return;
    }
    removeX(c, kDoneProperty);
    if (done)
        addX(c, kDoneProperty, "YES");
    else if (icalcomponent_get_status(c) == ICAL_STATUS_COMPLETED)
        icalcomponent_set_status(c, ICAL_STATUS_CONFIRMED);
}

icalcomponent* newAlarm(const std::string& what, int leadMinutes) {
    icalcomponent* a = icalcomponent_new_valarm();
    icalcomponent_add_property(a, icalproperty_new_action(ICAL_ACTION_DISPLAY));
    icalcomponent_add_property(a, icalproperty_new_description(summaryOfText(what).c_str()));
    icalcomponent_add_property(
        a, icalproperty_new_trigger(icaltriggertype_from_int(-leadMinutes * 60)));
    return a;
}

// An alarm another program set stays as it is while the task keeps its alarm flag.
void setAlarm(icalcomponent* c, bool alarm, const std::string& what, int leadMinutes) {
    if (hasAlarm(c) == alarm)
        return;
    if (alarm) {
        icalcomponent_add_component(c, newAlarm(what, leadMinutes));
        return;
    }
    while (icalcomponent* a = icalcomponent_get_first_component(c, ICAL_VALARM_COMPONENT)) {
        icalcomponent_remove_component(c, a);
        icalcomponent_free(a);
    }
}

icaltimetype startValue(const TaskValues& t) {
    return t.minuteOfDay ? floatingDateTime(t.date, *t.minuteOfDay) : dateValue(t.date);
}

// A timed event lasts kEventMinutes, an all-day one its day.
void addDefaultEnd(icalcomponent* e, const TaskValues& t) {
    if (t.minuteOfDay)
        icalcomponent_add_property(
            e, icalproperty_new_duration(icaldurationtype_from_int(kEventMinutes * 60)));
    else
        icalcomponent_add_property(e, icalproperty_new_dtend(dateValue(t.date + 1)));
}

icalparameter* tzidOf(icalproperty* p) {
    icalparameter* tz = p ? icalproperty_get_first_parameter(p, ICAL_TZID_PARAMETER) : nullptr;
    return tz ? icalparameter_new_clone(tz) : nullptr;
}

// A time property in place of those of its kind, with the TZID the zone's time needs.
void setTime(icalcomponent* c, icalproperty* p, icalparameter* tzid) {
    icalproperty_kind kind = icalproperty_isa(p);
    removeAll(c, kind);
    if (tzid)
        icalproperty_add_parameter(p, tzid);
    icalcomponent_add_property(c, p);
}

// The start a task's values give in place of an old one: a timed start of an event in a
// named zone (or UTC) stays there, as the same moment as the local time; anything else is
// in floating local time or a date.
icaltimetype startIn(const icaltimetype& old, const TaskValues& t, const UtcToLocal& toLocal) {
    const bool zoned =
        !icaltime_is_null_time(old) && !old.is_date && (icaltime_is_utc(old) || old.zone);
    if (!t.minuteOfDay || !zoned)
        return startValue(t);
    const std::int64_t utc = utcOfLocal(t.date, *t.minuteOfDay, toLocal);
    icaltimezone* zone = icaltime_is_utc(old) ? icaltimezone_get_utc_timezone()
                                              : const_cast<icaltimezone*>(old.zone);
    icaltimetype start = icaltime_from_timet_with_zone(static_cast<time_t>(utc), 0, zone);
    start.zone = zone; // the library leaves the time marked as UTC
    return start;
}

// A new start; the event keeps its length unless it turns from a day into a time or back.
void moveStart(icalcomponent* e, const TaskValues& t, const UtcToLocal& toLocal) {
    icalcomponent* root = icalcomponent_get_parent(e);
    const icaltimetype old = startOf(e, root);
    if (!icaltime_is_null_time(old)) {
        const LocalMoment m = localMoment(old, toLocal);
        if (m.date == t.date && m.minute == t.minuteOfDay)
            return;
    }
    const icaltimetype start = startIn(old, t, toLocal);
    const bool keepsZone = !start.is_date && start.zone && !icaltime_is_utc(start);
    icalproperty* oldStart = icalcomponent_get_first_property(e, ICAL_DTSTART_PROPERTY);
    icalproperty* oldEnd = icalcomponent_get_first_property(e, ICAL_DTEND_PROPERTY);
    const bool sameKind = !icaltime_is_null_time(old) && old.is_date == start.is_date;
    const bool hasEnd = oldEnd != nullptr;
    const icaldurationtype length = icalcomponent_get_duration(e);
    icalparameter* startZone = keepsZone ? tzidOf(oldStart) : nullptr;
    icalparameter* endZone = keepsZone ? tzidOf(oldEnd ? oldEnd : oldStart) : nullptr;
    setTime(e, icalproperty_new_dtstart(start), startZone);
    if (sameKind) {
        if (hasEnd)
            setTime(e, icalproperty_new_dtend(icaltime_add(start, length)), endZone);
        else if (endZone)
            icalparameter_free(endZone);
        return;
    }
    if (endZone)
        icalparameter_free(endZone);
    removeAll(e, ICAL_DTEND_PROPERTY);
    removeAll(e, ICAL_DURATION_PROPERTY);
    addDefaultEnd(e, t);
}

bool startsWithNoCaseAscii(const char* text, std::string_view prefix) {
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (!text[i])
            return false;
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        if (lower(text[i]) != lower(prefix[i]))
            return false;
    }
    return true;
}

// The library's own line for a property, joined again where it folded it.
std::string unfoldedLine(icalproperty* p) {
    char* s = icalproperty_as_ical_string_r(p);
    std::string line = unfoldedBytes(s ? s : "");
    std::free(s);
    return line.substr(0, line.find_first_of("\r\n"));
}

// Where the value starts: the first colon outside a quoted parameter value.
std::size_t valueStart(const std::string& line) {
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '"')
            quoted = !quoted;
        else if (line[i] == ':' && !quoted)
            return i;
    }
    return std::string::npos;
}

// Folded at 75 octets, never inside a UTF-8 sequence.
void appendFolded(std::string& out, const std::string& line) {
    std::size_t width = 0;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const auto byte = static_cast<unsigned char>(line[i]);
        const bool continuation = (byte & 0xC0) == 0x80;
        if (!continuation) {
            std::size_t length = 1;
            if (byte >= 0xF0)
                length = 4;
            else if (byte >= 0xE0)
                length = 3;
            else if (byte >= 0xC0)
                length = 2;
            if (width + length > 75) {
                out += "\r\n ";
                width = 1;
            }
        }
        out += line[i];
        ++width;
    }
    out += "\r\n";
}

void appendComponent(std::string& out, icalcomponent* c) {
    const icalcomponent_kind k = icalcomponent_isa(c);
    if (k == ICAL_X_COMPONENT || k == ICAL_NO_COMPONENT) {
        // A component of another program's own kind: the library alone knows its name.
        char* s = icalcomponent_as_ical_string_r(c);
        out += s ? s : "";
        std::free(s);
        return;
    }
    const std::string kind = icalcomponent_kind_to_string(k);
    out += "BEGIN:" + kind + "\r\n";
    for (icalproperty* p = icalcomponent_get_first_property(c, ICAL_ANY_PROPERTY); p;
         p = icalcomponent_get_next_property(c, ICAL_ANY_PROPERTY)) {
        const char* propertyName = icalproperty_get_property_name(p);
        if (!propertyName || startsWithNoCaseAscii(propertyName, "X-LIC-"))
            continue;
        std::string line = unfoldedLine(p);
        icalvalue* v = icalproperty_get_value(p);
        const icalvalue_kind valueKind = v ? icalvalue_isa(v) : ICAL_NO_VALUE;
        const std::size_t colon = valueStart(line);
        if (colon != std::string::npos &&
            (valueKind == ICAL_TEXT_VALUE || valueKind == ICAL_X_VALUE)) {
            const char* raw =
                valueKind == ICAL_TEXT_VALUE ? icalvalue_get_text(v) : icalvalue_get_x(v);
            line = line.substr(0, colon + 1) + escapedText(raw ? raw : "");
        }
        appendFolded(out, line);
    }
    for (icalcomponent* sub = icalcomponent_get_first_component(c, ICAL_ANY_COMPONENT); sub;
         sub = icalcomponent_get_next_component(c, ICAL_ANY_COMPONENT))
        appendComponent(out, sub);
    out += "END:" + kind + "\r\n";
}

// A to-do's due date follows the task's date and time; a task put on the to-do list has
// none. Its zone stays, as an event's does.
void moveDue(icalcomponent* c, const TaskValues& t, const UtcToLocal& toLocal) {
    if (t.todo) {
        removeAll(c, ICAL_DUE_PROPERTY);
        return;
    }
    icalcomponent* root = icalcomponent_get_parent(c);
    icalproperty* oldDue = icalcomponent_get_first_property(c, ICAL_DUE_PROPERTY);
    const icaltimetype old =
        oldDue ? withZone(icalproperty_get_due(oldDue), oldDue, root) : icaltime_null_time();
    if (!icaltime_is_null_time(old)) {
        const LocalMoment m = localMoment(old, toLocal);
        if (m.date == t.date && m.minute == t.minuteOfDay)
            return;
    }
    const icaltimetype due = startIn(old, t, toLocal);
    const bool keepsZone = !due.is_date && due.zone && !icaltime_is_utc(due);
    setTime(c, icalproperty_new_due(due), keepsZone ? tzidOf(oldDue) : nullptr);
}

} // namespace

// ---- Writing

std::string calendarText(icalcomponent* c) {
    std::string out;
    appendComponent(out, c);
    return out;
}

std::string escapedText(std::string_view raw) {
    std::string out;
    out.reserve(raw.size() + raw.size() / 8);
    for (std::size_t i = 0; i < raw.size(); ++i) {
        const char ch = raw[i];
        switch (ch) {
        case '\\':
        case ',':
        case ';':
            out += '\\';
            out += ch;
            break;
        case '\r':
            if (i + 1 < raw.size() && raw[i + 1] == '\n')
                ++i;
            out += "\\n";
            break;
        case '\n':
            out += "\\n";
            break;
        default:
            if ((static_cast<unsigned char>(ch) < 0x20 && ch != '\t') || ch == 0x7F)
                break;
            out += ch;
        }
    }
    return out;
}

icaltimetype dateValue(int date) {
    const CivilDate d = decodeDate(date);
    icaltimetype t = icaltime_null_date();
    t.year = d.year;
    t.month = d.month;
    t.day = d.day;
    return t;
}

icaltimetype floatingDateTime(int date, int minuteOfDay) {
    const CivilDate d = decodeDate(date);
    icaltimetype t = icaltime_null_time();
    t.year = d.year;
    t.month = d.month;
    t.day = d.day;
    t.hour = minuteOfDay / 60;
    t.minute = minuteOfDay % 60;
    return t;
}

icalcomponent* newTaskComponent(const TaskValues& task, const std::string& uid,
                                std::int64_t stampUtcSeconds, int alarmLeadMinutes) {
    icalcomponent* c = task.todo ? icalcomponent_new_vtodo() : icalcomponent_new_vevent();
    addUidAndStamp(c, uid, stampUtcSeconds);
    if (!task.todo) {
        icalcomponent_add_property(c, icalproperty_new_dtstart(startValue(task)));
        addDefaultEnd(c, task);
    }
    setTexts(c, task.what, task.category);
    if (task.todo) {
        setDone(c, task.done);
        return c;
    }
    icalcomponent_add_property(c, icalproperty_new_status(ICAL_STATUS_CONFIRMED));
    setDone(c, task.done);
    if (task.alarm)
        icalcomponent_add_component(c, newAlarm(task.what, alarmLeadMinutes));
    return c;
}

void updateTaskComponent(icalcomponent* c, const TaskValues& task, int alarmLeadMinutes,
                         const UtcToLocal& toLocal) {
    setTexts(c, task.what, task.category);
    setDone(c, task.done);
    if (icalcomponent_isa(c) == ICAL_VTODO_COMPONENT) {
        // A to-do keeps its kind: a date is its due date.
        moveDue(c, task, toLocal);
        if (!task.todo)
            setAlarm(c, task.alarm, task.what, alarmLeadMinutes);
        return;
    }
    if (icalcomponent_isa(c) != ICAL_VEVENT_COMPONENT || task.todo)
        return;
    moveStart(c, task, toLocal);
    setAlarm(c, task.alarm, task.what, alarmLeadMinutes);
}

void updateSharedValues(icalcomponent* c, const std::string& what, const std::string& category,
                        bool done) {
    setTexts(c, what, category);
    setDone(c, done);
}

void endBefore(icalcomponent* e, int date, const UtcToLocal& toLocal) {
    const icaltimetype start = startOf(e, icalcomponent_get_parent(e));
    if (icaltime_is_null_time(start) || !isReadableTime(start))
        return;
    const int first = localMoment(start, toLocal).date;
    if (date <= first || first + daysCovered(e, start, toLocal) <= date)
        return;
    TaskValues midnight;
    midnight.date = date;
    if (!start.is_date)
        midnight.minuteOfDay = 0;
    const icaltimetype end = startIn(start, midnight, toLocal);
    const bool keepsZone = !end.is_date && end.zone && !icaltime_is_utc(end);
    removeAll(e, ICAL_DURATION_PROPERTY);
    setTime(e, icalproperty_new_dtend(end),
            keepsZone ? tzidOf(icalcomponent_get_first_property(e, ICAL_DTSTART_PROPERTY))
                      : nullptr);
}

void addUidAndStamp(icalcomponent* c, const std::string& uid, std::int64_t stampUtcSeconds) {
    icalcomponent_add_property(c, icalproperty_new_uid(uid.c_str()));
    icalcomponent_add_property(
        c, icalproperty_new_dtstamp(icaltime_from_timet_with_zone(
               static_cast<time_t>(stampUtcSeconds), 0, icaltimezone_get_utc_timezone())));
}

void addX(icalcomponent* c, const char* name, const char* value) {
    icalproperty* p = icalproperty_new_x(value);
    icalproperty_set_x_name(p, name);
    icalcomponent_add_property(c, p);
}

void removeAll(icalcomponent* c, icalproperty_kind kind) {
    while (icalproperty* p = icalcomponent_get_first_property(c, kind)) {
        icalcomponent_remove_property(c, p);
        icalproperty_free(p);
    }
}

// ---- Reading

std::string text(const char* value) {
    return value ? value : "";
}

std::optional<std::string> xValue(icalcomponent* c, const char* name) {
    for (icalproperty* p = icalcomponent_get_first_property(c, ICAL_X_PROPERTY); p;
         p = icalcomponent_get_next_property(c, ICAL_X_PROPERTY)) {
        const char* n = icalproperty_get_x_name(p);
        if (n && equalsNoCase(n, name))
            return text(icalproperty_get_x(p));
    }
    return std::nullopt;
}

std::string categoriesOf(icalcomponent* c) {
    if (const auto exact = xValue(c, kCategoryProperty))
        return *exact;
    std::string joined;
    for (icalproperty* p = icalcomponent_get_first_property(c, ICAL_CATEGORIES_PROPERTY); p;
         p = icalcomponent_get_next_property(c, ICAL_CATEGORIES_PROPERTY)) {
        const std::string v = text(icalproperty_get_categories(p));
        if (!v.empty())
            joined += (joined.empty() ? "" : ", ") + v;
    }
    return joined;
}

bool isDone(icalcomponent* c) {
    if (icalcomponent_get_status(c) == ICAL_STATUS_COMPLETED)
        return true;
    if (icalcomponent_isa(c) == ICAL_VTODO_COMPONENT)
        return icalcomponent_get_first_property(c, ICAL_COMPLETED_PROPERTY) != nullptr;
    const auto done = xValue(c, kDoneProperty);
    return done && equalsNoCase(*done, "YES");
}

bool hasAlarm(icalcomponent* c) {
    return icalcomponent_get_first_component(c, ICAL_VALARM_COMPONENT) != nullptr;
}

CheckedText taskTextOfComponent(icalcomponent* c) {
    return checkedTaskText(
        taskTextOf(text(icalcomponent_get_summary(c)), text(icalcomponent_get_description(c))));
}

namespace {

// The offset from UTC a zone has at a moment.
int offsetAt(icaltimezone* zone, std::int64_t utcSeconds) {
    icaltimetype t = icaltime_from_timet_with_zone(static_cast<time_t>(utcSeconds), 0,
                                                   icaltimezone_get_utc_timezone());
    int isDaylight = 0;
    return icaltimezone_get_utc_offset_of_utc_time(zone, &t, &isDaylight);
}

// The moment a wall-clock time names, given the offset a zone has at each moment: the
// first of two in the hour a fall-back day repeats, and with the offset before the change
// in the hour a spring-forward day skips, so 02:30 there is 03:30 (RFC 5545, 3.3.5).
template <typename OffsetAt>
std::int64_t momentOfWallTime(std::int64_t wallSeconds, OffsetAt offset) {
    const int before = offset(wallSeconds - 86400);
    const int after = offset(wallSeconds + 86400);
    for (const int candidate : {before, after})
        if (offset(wallSeconds - candidate) == candidate)
            return wallSeconds - candidate;
    return wallSeconds - before;
}

std::int64_t wallSecondsOf(const icaltimetype& t) {
    icaltimetype wall = t;
    wall.zone = nullptr;
    return static_cast<std::int64_t>(
        icaltime_as_timet_with_zone(wall, icaltimezone_get_utc_timezone()));
}

} // namespace

std::int64_t utcSecondsOf(const icaltimetype& t) {
    if (icaltime_is_utc(t) || !t.zone)
        return wallSecondsOf(t);
    icaltimezone* zone = const_cast<icaltimezone*>(t.zone);
    return momentOfWallTime(wallSecondsOf(t),
                            [zone](std::int64_t utc) { return offsetAt(zone, utc); });
}

std::int64_t utcOfLocal(int date, int minuteOfDay, const UtcToLocal& toLocal) {
    const std::int64_t wall =
        (static_cast<std::int64_t>(date) - 25569) * 86400 + std::int64_t{minuteOfDay} * 60;
    return momentOfWallTime(wall, [&toLocal](std::int64_t utc) {
        return static_cast<int>(std::llround((toLocal(utc) - 25569.0) * 86400.0) - utc);
    });
}

bool isReadableTime(const icaltimetype& t) {
    if (icaltime_is_null_time(t) || !isValidDate(t.year, t.month, t.day))
        return false;
    return t.is_date || (t.hour >= 0 && t.hour < 24 && t.minute >= 0 && t.minute < 60 &&
                         t.second >= 0 && t.second <= 60);
}

icaltimetype withZone(icaltimetype t, icalproperty* prop, icalcomponent* root) {
    if (!t.is_date && !icaltime_is_utc(t) && !t.zone)
        t.zone = zoneOf(prop, root);
    return t;
}

icaltimetype startOf(icalcomponent* c, icalcomponent* root) {
    icalproperty* p = icalcomponent_get_first_property(c, ICAL_DTSTART_PROPERTY);
    return p ? withZone(icalproperty_get_dtstart(p), p, root) : icaltime_null_time();
}

icaltimetype dueOf(icalcomponent* c, icalcomponent* root) {
    icalproperty* p = icalcomponent_get_first_property(c, ICAL_DUE_PROPERTY);
    return p ? withZone(icalproperty_get_due(p), p, root) : icaltime_null_time();
}

icaltimetype whenOf(icalcomponent* c, icalcomponent* root) {
    return icalcomponent_isa(c) == ICAL_VTODO_COMPONENT ? dueOf(c, root) : startOf(c, root);
}

LocalMoment localMoment(const icaltimetype& t, const UtcToLocal& toLocal) {
    if (t.is_date)
        return {dateSerialOf(t.year, t.month, t.day), std::nullopt};
    if (icaltime_is_utc(t) || t.zone) {
        const DateSerial local = toLocal(utcSecondsOf(t));
        int date = static_cast<int>(std::floor(local));
        int minute = static_cast<int>(std::lround((local - date) * 1440.0));
        if (minute >= 1440) {
            ++date;
            minute -= 1440;
        }
        return {date, minute};
    }
    return {dateSerialOf(t.year, t.month, t.day), t.hour * 60 + t.minute};
}

namespace {

icaldurationtype daysAndSeconds(std::int64_t days, std::int64_t seconds) {
    icaldurationtype d = icaldurationtype_null_duration();
    d.days = static_cast<unsigned int>(days + seconds / 86400);
    seconds %= 86400;
    d.hours = static_cast<unsigned int>(seconds / 3600);
    d.minutes = static_cast<unsigned int>(seconds % 3600 / 60);
    d.seconds = static_cast<unsigned int>(seconds % 60);
    return d;
}

// An event's length: its DURATION, or from DTSTART to DTEND; none when it has neither or
// ends before it starts. Beyond kMaxEventDays it is cut there, before any arithmetic on it
// (the library's own would overflow on a hostile P99999999W).
std::optional<icaldurationtype> lengthOf(icalcomponent* e, icalcomponent* root) {
    constexpr std::int64_t kMaxSeconds = std::int64_t(kMaxEventDays) * 86400;
    if (icalproperty* p = icalcomponent_get_first_property(e, ICAL_DURATION_PROPERTY)) {
        const icaldurationtype d = icalproperty_get_duration(p);
        if (icaldurationtype_is_bad_duration(d) || d.is_neg)
            return std::nullopt;
        const std::int64_t seconds = (std::int64_t(d.weeks) * 7 + d.days) * 86400 +
                                     std::int64_t(d.hours) * 3600 + std::int64_t(d.minutes) * 60 +
                                     d.seconds;
        if (seconds <= 0)
            return std::nullopt;
        return seconds > kMaxSeconds ? daysAndSeconds(kMaxEventDays, 0) : d;
    }
    icalproperty* endProp = icalcomponent_get_first_property(e, ICAL_DTEND_PROPERTY);
    if (!endProp)
        return std::nullopt;
    const icaltimetype start = startOf(e, root);
    const icaltimetype end = withZone(icalproperty_get_dtend(endProp), endProp, root);
    if (!isReadableTime(start) || !isReadableTime(end))
        return std::nullopt;
    if (start.is_date) {
        const std::int64_t days = std::int64_t(dateSerialOf(end.year, end.month, end.day)) -
                                  dateSerialOf(start.year, start.month, start.day);
        if (days <= 0)
            return std::nullopt;
        return daysAndSeconds(std::min<std::int64_t>(days, kMaxEventDays), 0);
    }
    const std::int64_t seconds = utcSecondsOf(end) - utcSecondsOf(start);
    if (seconds <= 0)
        return std::nullopt;
    return daysAndSeconds(0, std::min(seconds, kMaxSeconds));
}

} // namespace

int daysCovered(icalcomponent* e, const icaltimetype& from, const UtcToLocal& toLocal) {
    if (icalcomponent_isa(e) != ICAL_VEVENT_COMPONENT || !isReadableTime(from))
        return 1;
    const auto length = lengthOf(e, icalcomponent_get_parent(e));
    if (!length)
        return 1;
    // A timed event shorter than a day is a task of the day it starts on, even when it
    // ends after midnight: an evening that runs late is not an "all day" on the next.
    const std::int64_t seconds = (std::int64_t(length->weeks) * 7 + length->days) * 86400 +
                                 std::int64_t(length->hours) * 3600 + length->minutes * 60 +
                                 length->seconds;
    if (!from.is_date && seconds < 86400)
        return 1;
    const LocalMoment first = localMoment(from, toLocal);
    const LocalMoment last = localMoment(icaltime_add(from, *length), toLocal);
    const int days = last.date - first.date + (last.minute.value_or(0) > 0 ? 1 : 0);
    return std::clamp(days, 1, kMaxEventDays);
}

bool sameOccurrence(const icaltimetype& occurrence, const icaltimetype& named) {
    if (named.is_date || occurrence.is_date)
        return occurrence.year == named.year && occurrence.month == named.month &&
               occurrence.day == named.day;
    const bool zonedA = icaltime_is_utc(occurrence) || occurrence.zone;
    const bool zonedB = icaltime_is_utc(named) || named.zone;
    if (zonedA && zonedB)
        return utcSecondsOf(occurrence) == utcSecondsOf(named);
    return occurrence.year == named.year && occurrence.month == named.month &&
           occurrence.day == named.day && occurrence.hour == named.hour &&
           occurrence.minute == named.minute && occurrence.second == named.second;
}

std::vector<icalproperty*> propertiesOf(icalcomponent* c, icalproperty_kind kind) {
    std::vector<icalproperty*> out;
    for (icalproperty* p = icalcomponent_get_first_property(c, kind); p;
         p = icalcomponent_get_next_property(c, kind))
        out.push_back(p);
    return out;
}

Occurrences occurrencesOf(icalcomponent* e, const icaltimetype& start, icalcomponent* root,
                          const ImportRange& range, const UtcToLocal& toLocal,
                          const std::vector<icaltimetype>& replaced, std::size_t& steps) {
    Occurrences out;
    const auto inRange = [&](const icaltimetype& t) {
        const int date = localMoment(t, toLocal).date;
        return date >= range.from && date <= range.to;
    };
    // Taken as lists first: the component has one property cursor, which any other lookup
    // moves.
    const std::vector<icalproperty*> rules = propertiesOf(e, ICAL_RRULE_PROPERTY);
    const std::vector<icalproperty*> rdates = propertiesOf(e, ICAL_RDATE_PROPERTY);
    const std::vector<icalproperty*> exdates = propertiesOf(e, ICAL_EXDATE_PROPERTY);
    const bool isInstance = icalcomponent_get_first_property(e, ICAL_RECURRENCEID_PROPERTY);
    if ((rules.empty() && rdates.empty()) || isInstance) {
        if (inRange(start))
            out.times.push_back(start);
        return out;
    }

    std::vector<icaltimetype> found{start};
    for (icalproperty* rule : rules) {
        RecurrenceIteratorPtr it(icalrecur_iterator_new(icalproperty_get_rrule(rule), start));
        if (!it) {
            out.ruleUnreadable = true;
            continue;
        }
        while (true) {
            icaltimetype t = icalrecur_iterator_next(it.get());
            if (icaltime_is_null_time(t))
                break;
            if (++steps > kMaxRecurrenceSteps)
                throw IcalFileError("The file's events repeat too often to be read.");
            t.zone = start.zone;
            // Instances come in time order: the first after the range ends the walk.
            if (localMoment(t, toLocal).date > range.to)
                break;
            found.push_back(t);
        }
    }
    for (icalproperty* rdate : rdates) {
        const icaldatetimeperiodtype v = icalproperty_get_rdate(rdate);
        const icaltimetype t = icaltime_is_null_time(v.time) ? v.period.start : v.time;
        if (!icaltime_is_null_time(t) && isReadableTime(t))
            found.push_back(withZone(t, rdate, root));
    }

    std::vector<icaltimetype> excluded = replaced;
    for (icalproperty* x : exdates)
        excluded.push_back(withZone(icalproperty_get_exdate(x), x, root));
    for (const icaltimetype& t : found) {
        const auto same = [&](const icaltimetype& x) { return sameOccurrence(t, x); };
        // The start comes again as the rule's first instance: each moment once.
        if (!inRange(t) || std::any_of(excluded.begin(), excluded.end(), same) ||
            std::any_of(out.times.begin(), out.times.end(), same))
            continue;
        out.times.push_back(t);
    }
    return out;
}

std::string unfoldedBytes(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            std::size_t next = i + 1;
            if (text[i] == '\r' && next < text.size() && text[next] == '\n')
                ++next;
            if (next < text.size() && (text[next] == ' ' || text[next] == '\t')) {
                i = next;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

} // namespace dw::ical
