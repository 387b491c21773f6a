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

} // namespace dw::ical
