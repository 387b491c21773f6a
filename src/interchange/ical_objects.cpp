#include "interchange/ical_objects.h"

#include "interchange/ical_components.h"

#include <ctime>
#include <optional>

namespace dw {
namespace {

using namespace ical;

std::string textOf(icalcomponent* c) {
    return calendarText(c);
}

ComponentPtr parse(const std::string& text) {
    useLibraryQuietly();
    icalcomponent* c = icalparser_parse_string(text.c_str());
    if (c && icalcomponent_isa(c) != ICAL_VCALENDAR_COMPONENT) {
        icalcomponent* cal = icalcomponent_new_vcalendar();
        icalcomponent_add_component(cal, c);
        c = cal;
    }
    return ComponentPtr(c);
}

// The master of a series, or the object's only component: the one without RECURRENCE-ID.
icalcomponent* masterOf(icalcomponent* cal) {
    for (const icalcomponent_kind kind : {ICAL_VEVENT_COMPONENT, ICAL_VTODO_COMPONENT})
        for (icalcomponent* c = icalcomponent_get_first_component(cal, kind); c;
             c = icalcomponent_get_next_component(cal, kind))
            if (!icalcomponent_get_first_property(c, ICAL_RECURRENCEID_PROPERTY))
                return c;
    icalcomponent* c = icalcomponent_get_first_component(cal, ICAL_VEVENT_COMPONENT);
    return c ? c : icalcomponent_get_first_component(cal, ICAL_VTODO_COMPONENT);
}

bool isSeries(icalcomponent* master) {
    return icalcomponent_isa(master) == ICAL_VEVENT_COMPONENT &&
           (icalcomponent_get_first_property(master, ICAL_RRULE_PROPERTY) ||
            icalcomponent_get_first_property(master, ICAL_RDATE_PROPERTY));
}

// An occurrence's name in the records: its time as iCalendar writes it.
std::string ridText(icaltimetype t) {
    char* s = icaltime_as_ical_string_r(t);
    std::string out = s ? s : "";
    std::free(s);
    return out;
}

// The moment a recurrence id names, in the zone of the series' start.
icaltimetype occurrenceTime(icalcomponent* master, icalcomponent* cal, const std::string& rid) {
    icaltimetype t = icaltime_from_string(rid.c_str());
    if (!t.is_date && !icaltime_is_utc(t))
        t.zone = startOf(master, cal).zone;
    return t;
}

icalcomponent* overrideOf(icalcomponent* cal, icalcomponent* master, const icaltimetype& when) {
    const icalcomponent_kind kind = icalcomponent_isa(master);
    for (icalcomponent* c = icalcomponent_get_first_component(cal, kind); c;
         c = icalcomponent_get_next_component(cal, kind))
        if (icalproperty* p = icalcomponent_get_first_property(c, ICAL_RECURRENCEID_PROPERTY))
            if (sameOccurrence(when, withZone(icalproperty_get_recurrenceid(p), p, cal)))
                return c;
    return nullptr;
}

// A RECURRENCE-ID or EXDATE property for an occurrence, in the zone of the series' start.
template <typename Make>
icalproperty* occurrenceProperty(icalcomponent* master, const std::string& rid, Make make) {
    icalproperty* p = make(icaltime_from_string(rid.c_str()));
    if (icalproperty* start = icalcomponent_get_first_property(master, ICAL_DTSTART_PROPERTY))
        if (icalparameter* tz = icalproperty_get_first_parameter(start, ICAL_TZID_PARAMETER))
            icalproperty_add_parameter(p, icalparameter_new_clone(tz));
    return p;
}

// The task's values that a component holds, at the given start. A whole-day event is an
// all-day task.
SyncTask taskOf(icalcomponent* c, const icaltimetype& start, const UtcToLocal& toLocal,
                int* droppedControls = nullptr) {
    SyncTask t;
    const CheckedText what = taskTextOfComponent(c);
    const CheckedText category = checkedCategory(categoriesOf(c));
    t.what = what.text;
    t.category = category.text;
    if (droppedControls)
        *droppedControls += what.droppedControls + category.droppedControls;
    t.done = isDone(c);
    if (icalcomponent_isa(c) == ICAL_VTODO_COMPONENT && icaltime_is_null_time(start))
        return t;
    const LocalMoment m = localMoment(start, toLocal);
    t.date = m.date;
    t.minute = m.minute.value_or(-1);
    t.alarm = hasAlarm(c);
    return t;
}

// The later days of an event over several days are named by how many days they come after
// its first: "+1", "+2" and so on. Never a time, so never taken for an occurrence.
std::string laterDayId(int offset) {
    return '+' + std::to_string(offset);
}
std::optional<int> laterDayOffset(const std::string& id) {
    if (id.size() < 2 || id.size() > 6 || id[0] != '+')
        return std::nullopt;
    int offset = 0;
    for (std::size_t i = 1; i < id.size(); ++i) {
        if (id[i] < '0' || id[i] > '9')
            return std::nullopt;
        offset = offset * 10 + (id[i] - '0');
    }
    return offset > 0 ? std::optional<int>(offset) : std::nullopt;
}

TaskValues valuesOf(const SyncTask& t) {
    TaskValues v{t.isTodo(), t.date, std::nullopt, t.category, t.what, t.done, t.alarm};
    if (!t.isTodo() && !t.isAllDay())
        v.minuteOfDay = t.minute;
    return v;
}

} // namespace

IcalObjectMapping::IcalObjectMapping(UtcToLocal toLocal, int alarmLeadMinutes)
    : toLocal_(std::move(toLocal)), alarmLeadMinutes_(alarmLeadMinutes) {}

ParsedObject IcalObjectMapping::read(const std::string& text, int windowFrom, int windowTo) const {
    ParsedObject out;
    // Read whole by the library, which takes several times a text's size: an object larger
    // than a calendar file may be is left out, as such a file is.
    if (text.size() > kMaxCalendarFileBytes) {
        out.error = "larger than " + std::to_string(kMaxCalendarFileBytes / (1024 * 1024)) + " MiB";
        return out;
    }
    const ComponentPtr cal = parse(text);
    icalcomponent* master = cal ? masterOf(cal.get()) : nullptr;
    if (!master) {
        out.error = "no event or to-do in it";
        return out;
    }
    out.uid = ical::text(icalcomponent_get_uid(master));
    const icaltimetype start = whenOf(master, cal.get());
    if (icalcomponent_isa(master) == ICAL_VEVENT_COMPONENT && !isReadableTime(start)) {
        out.error = "an event without a readable start";
        return out;
    }
    if (!icaltime_is_null_time(start) && !isReadableTime(start)) {
        out.error = "a to-do without a readable due date";
        return out;
    }
    if (!isSeries(master)) {
        const SyncTask first = taskOf(master, start, toLocal_, &out.droppedControls);
        out.tasks.push_back({{}, first});
        // An event over several days shows on each: the later ones as all-day tasks with
        // the event's texts, which an edit there changes for the whole event.
        const int days = daysCovered(master, start, toLocal_);
        for (int offset = 1; offset < days && first.date + offset <= windowTo; ++offset) {
            if (first.date + offset < windowFrom)
                continue;
            SyncTask later = first;
            later.date = first.date + offset;
            later.minute = -1;
            later.alarm = false;
            out.tasks.push_back({laterDayId(offset), later});
        }
        out.ok = true;
        return out;
    }
    out.series = true;
    std::size_t steps = 0;
    Occurrences found;
    try {
        found =
            occurrencesOf(master, start, cal.get(), {windowFrom, windowTo}, toLocal_, {}, steps);
    } catch (const IcalFileError&) {
        out.error = "a repeat rule with too many dates";
        return out;
    }
    if (found.ruleUnreadable) {
        out.error = "a repeat rule that cannot be read";
        return out;
    }
    // The series' own texts count once, however many dates they show on.
    bool masterCounted = false;
    for (const icaltimetype& t : found.times) {
        icalcomponent* changed = overrideOf(cal.get(), master, t);
        if (changed && !isReadableTime(startOf(changed, cal.get()))) {
            out.tasks.clear();
            out.error = "an event without a readable start";
            return out;
        }
        int* count = changed || !masterCounted ? &out.droppedControls : nullptr;
        masterCounted = masterCounted || !changed;
        out.tasks.push_back(
            {ridText(t), changed ? taskOf(changed, startOf(changed, cal.get()), toLocal_, count)
                                 : taskOf(master, t, toLocal_, count)});
    }
    out.ok = true;
    return out;
}

std::string IcalObjectMapping::write(const SyncTask& task, const std::string& uid) const {
    ComponentPtr cal(icalcomponent_new_vcalendar());
    icalcomponent_add_property(cal.get(), icalproperty_new_version("2.0"));
    icalcomponent_add_property(cal.get(), icalproperty_new_prodid("-//Dayweaver//Dayweaver//EN"));
    icalcomponent_add_component(
        cal.get(), newTaskComponent(valuesOf(task), uid, std::time(nullptr), alarmLeadMinutes_));
    return textOf(cal.get());
}

std::string IcalObjectMapping::withoutOccurrence(const std::string& text,
                                                 const std::string& recurrenceId) const {
    const ComponentPtr cal = parse(text);
    icalcomponent* master = cal ? masterOf(cal.get()) : nullptr;
    if (!master)
        return text;
    // A later day of an event over several days: the event now ends before it.
    if (const auto offset = laterDayOffset(recurrenceId)) {
        const LocalMoment first = localMoment(startOf(master, cal.get()), toLocal_);
        endBefore(master, first.date + *offset, toLocal_);
        return textOf(cal.get());
    }
    if (icalcomponent* changed =
            overrideOf(cal.get(), master, occurrenceTime(master, cal.get(), recurrenceId))) {
        icalcomponent_remove_component(cal.get(), changed);
        icalcomponent_free(changed);
    }
    icalcomponent_add_property(master, occurrenceProperty(master, recurrenceId, [](icaltimetype t) {
                                   return icalproperty_new_exdate(t);
                               }));
    return textOf(cal.get());
}

std::string IcalObjectMapping::withOccurrence(const std::string& text,
                                              const std::string& recurrenceId,
                                              const SyncTask& task) const {
    const ComponentPtr cal = parse(text);
    icalcomponent* master = cal ? masterOf(cal.get()) : nullptr;
    if (!master)
        return text;
    if (recurrenceId.empty()) {
        updateTaskComponent(master, valuesOf(task), alarmLeadMinutes_, toLocal_);
        return textOf(cal.get());
    }
    // A later day of an event over several days holds only what all its days share; its
    // date and time are the event's, changed on its first day.
    if (laterDayOffset(recurrenceId)) {
        updateSharedValues(master, task.what, task.category, task.done);
        return textOf(cal.get());
    }
    icalcomponent* changed =
        overrideOf(cal.get(), master, occurrenceTime(master, cal.get(), recurrenceId));
    if (!changed) {
        // A new override starts as the occurrence it replaces.
        changed = icalcomponent_new_clone(master);
        for (const icalproperty_kind kind :
             {ICAL_RRULE_PROPERTY, ICAL_RDATE_PROPERTY, ICAL_EXDATE_PROPERTY, ICAL_DTSTART_PROPERTY,
              ICAL_DTEND_PROPERTY})
            removeAll(changed, kind);
        // Its length travels as a DURATION, which needs no zone of its own.
        if (icalcomponent_get_first_property(master, ICAL_DTEND_PROPERTY))
            icalcomponent_add_property(
                changed, icalproperty_new_duration(icalcomponent_get_duration(master)));
        icalcomponent_add_property(changed,
                                   occurrenceProperty(master, recurrenceId, [](icaltimetype t) {
                                       return icalproperty_new_dtstart(t);
                                   }));
        icalcomponent_add_property(changed,
                                   occurrenceProperty(master, recurrenceId, [](icaltimetype t) {
                                       return icalproperty_new_recurrenceid(t);
                                   }));
        icalcomponent_add_component(cal.get(), changed);
    }
    updateTaskComponent(changed, valuesOf(task), alarmLeadMinutes_, toLocal_);
    return textOf(cal.get());
}

} // namespace dw
