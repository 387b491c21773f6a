#include "platform/caldav_objects.h"

#include "core/dates/date_serial.h"

#include <QDateTime>
#include <QTimeZone>
#include <libical/ical.h>
#include <memory>

namespace dw {
namespace {

constexpr const char* kDoneProperty = "X-DAYWEAVER-DONE";
// Expanding a series stops here, whatever its rule: a rule that never reaches the window
// must not spin.
constexpr int kMaxOccurrences = 20000;

struct ComponentFree {
    void operator()(icalcomponent* c) const { icalcomponent_free(c); }
};
using Component = std::unique_ptr<icalcomponent, ComponentFree>;

std::string textOf(icalcomponent* c) {
    char* s = icalcomponent_as_ical_string_r(c);
    std::string out = s ? s : "";
    free(s);
    return out;
}

// The cell text keeps CR LF between lines; iCalendar text has LF.
std::string toIcalText(const std::string& what) {
    std::string out;
    for (const char ch : what)
        if (ch != '\r')
            out += ch;
    return out;
}
std::string fromIcalText(const char* text) {
    std::string out;
    for (const char* p = text ? text : ""; *p; ++p) {
        if (*p == '\r')
            continue;
        if (*p == '\n')
            out += '\r';
        out += *p;
    }
    return out;
}

Component parse(const std::string& text) {
    icalcomponent* c = icalparser_parse_string(text.c_str());
    if (c && icalcomponent_isa(c) != ICAL_VCALENDAR_COMPONENT) {
        icalcomponent* cal = icalcomponent_new(ICAL_VCALENDAR_COMPONENT);
        icalcomponent_add_component(cal, c);
        c = cal;
    }
    return Component(c);
}

icalcomponent* firstTask(icalcomponent* cal) {
    icalcomponent* c = icalcomponent_get_first_component(cal, ICAL_VEVENT_COMPONENT);
    return c ? c : icalcomponent_get_first_component(cal, ICAL_VTODO_COMPONENT);
}

// The master of a series, or the object's only component: the one without RECURRENCE-ID.
icalcomponent* masterOf(icalcomponent* cal) {
    for (const icalcomponent_kind kind : {ICAL_VEVENT_COMPONENT, ICAL_VTODO_COMPONENT})
        for (icalcomponent* c = icalcomponent_get_first_component(cal, kind); c;
             c = icalcomponent_get_next_component(cal, kind))
            if (!icalcomponent_get_first_property(c, ICAL_RECURRENCEID_PROPERTY))
                return c;
    return firstTask(cal);
}

// A time as the local date serial and minute it falls on.
void localDateMinute(icaltimetype t, int& date, int& minute) {
    if (t.is_date) {
        date = dateSerialOf(t.year, t.month, t.day);
        minute = 0;
        return;
    }
    QDateTime when(QDate(t.year, t.month, t.day), QTime(t.hour, t.minute, t.second));
    if (icaltime_is_utc(t)) {
        when = QDateTime(when.date(), when.time(), QTimeZone::utc()).toLocalTime();
    } else if (const char* tzid = icaltime_get_tzid(t)) {
        const QTimeZone zone{QByteArray(tzid)};
        if (zone.isValid())
            when = QDateTime(when.date(), when.time(), zone).toLocalTime();
    }
    date = dateSerialOf(when.date().year(), when.date().month(), when.date().day());
    minute = when.time().hour() * 60 + when.time().minute();
}

bool sameTime(icaltimetype a, icaltimetype b) {
    if (a.year != b.year || a.month != b.month || a.day != b.day)
        return false;
    return a.is_date || b.is_date ||
           (a.hour == b.hour && a.minute == b.minute && a.second == b.second);
}

std::string ridText(icaltimetype t) {
    char* s = icaltime_as_ical_string_r(t);
    std::string out = s ? s : "";
    free(s);
    return out;
}

// The task's values that a component holds, at the given start.
SyncTask taskOf(icalcomponent* c, icaltimetype start) {
    SyncTask t;
    t.what = fromIcalText(icalcomponent_get_summary(c));
    if (icalproperty* p = icalcomponent_get_first_property(c, ICAL_CATEGORIES_PROPERTY))
        t.category = icalproperty_get_categories(p) ? icalproperty_get_categories(p) : "";
    if (icalcomponent_isa(c) == ICAL_VTODO_COMPONENT) {
        t.done = icalcomponent_get_status(c) == ICAL_STATUS_COMPLETED;
        return t;
    }
    localDateMinute(start, t.date, t.minute);
    for (icalproperty* p = icalcomponent_get_first_property(c, ICAL_X_PROPERTY); p;
         p = icalcomponent_get_next_property(c, ICAL_X_PROPERTY))
        if (std::string(icalproperty_get_x_name(p)) == kDoneProperty)
            t.done = std::string(icalproperty_get_x(p)) == "TRUE";
    t.alarm = icalcomponent_get_first_component(c, ICAL_VALARM_COMPONENT) != nullptr;
    return t;
}

void removeAll(icalcomponent* c, icalproperty_kind kind) {
    while (icalproperty* p = icalcomponent_get_first_property(c, kind)) {
        icalcomponent_remove_property(c, p);
        icalproperty_free(p);
    }
}

void setDone(icalcomponent* c, bool done) {
    if (icalcomponent_isa(c) == ICAL_VTODO_COMPONENT) {
        icalcomponent_set_status(c, done ? ICAL_STATUS_COMPLETED : ICAL_STATUS_NEEDSACTION);
        return;
    }
    for (icalproperty* p = icalcomponent_get_first_property(c, ICAL_X_PROPERTY); p;) {
        icalproperty* next = icalcomponent_get_next_property(c, ICAL_X_PROPERTY);
        if (std::string(icalproperty_get_x_name(p)) == kDoneProperty) {
            icalcomponent_remove_property(c, p);
            icalproperty_free(p);
        }
        p = next;
    }
    if (done) {
        icalproperty* p = icalproperty_new_x("TRUE");
        icalproperty_set_x_name(p, kDoneProperty);
        icalcomponent_add_property(c, p);
    }
}

void setAlarm(icalcomponent* c, bool alarm, const std::string& what) {
    const bool has = icalcomponent_get_first_component(c, ICAL_VALARM_COMPONENT) != nullptr;
    if (has == alarm)
        return;
    if (!alarm) {
        while (icalcomponent* a = icalcomponent_get_first_component(c, ICAL_VALARM_COMPONENT)) {
            icalcomponent_remove_component(c, a);
            icalcomponent_free(a);
        }
        return;
    }
    icalcomponent* a = icalcomponent_new(ICAL_VALARM_COMPONENT);
    icalcomponent_add_property(a, icalproperty_new_action(ICAL_ACTION_DISPLAY));
    icaltriggertype trigger{};
    trigger.time = icaltime_null_time();
    trigger.duration = icaldurationtype_null_duration();
    icalcomponent_add_property(a, icalproperty_new_trigger(trigger));
    icalcomponent_add_property(a, icalproperty_new_description(toIcalText(what).c_str()));
    icalcomponent_add_component(c, a);
}

icaltimetype floatingStart(const SyncTask& t) {
    const CivilDate d = decodeDate(t.date);
    icaltimetype start = icaltime_null_time();
    start.year = d.year;
    start.month = d.month;
    start.day = d.day;
    start.hour = t.minute / 60;
    start.minute = t.minute % 60;
    return start;
}

// Puts the task's values into a component, keeping whatever else it holds. An event's
// end moves with its start.
void setTask(icalcomponent* c, const SyncTask& t) {
    icalcomponent_set_summary(c, toIcalText(t.what).c_str());
    removeAll(c, ICAL_CATEGORIES_PROPERTY);
    if (!t.category.empty())
        icalcomponent_add_property(c, icalproperty_new_categories(t.category.c_str()));
    setDone(c, t.done);
    if (icalcomponent_isa(c) != ICAL_VEVENT_COMPONENT)
        return;
    const icaltimetype oldStart = icalcomponent_get_dtstart(c);
    int oldDate = 0, oldMinute = 0;
    if (!icaltime_is_null_time(oldStart))
        localDateMinute(oldStart, oldDate, oldMinute);
    if (oldDate != t.date || oldMinute != t.minute) {
        const bool hasEnd = icalcomponent_get_first_property(c, ICAL_DTEND_PROPERTY) != nullptr;
        const icaldurationtype length = icalcomponent_get_duration(c);
        removeAll(c, ICAL_DTSTART_PROPERTY);
        icalcomponent_set_dtstart(c, floatingStart(t));
        if (hasEnd) {
            removeAll(c, ICAL_DTEND_PROPERTY);
            icalcomponent_set_dtend(c, icaltime_add(floatingStart(t), length));
        }
    }
    setAlarm(c, t.alarm, t.what);
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

icalcomponent* overrideOf(icalcomponent* cal, icalcomponent* master, const std::string& rid) {
    const icalcomponent_kind kind = icalcomponent_isa(master);
    for (icalcomponent* c = icalcomponent_get_first_component(cal, kind); c;
         c = icalcomponent_get_next_component(cal, kind))
        if (icalcomponent_get_first_property(c, ICAL_RECURRENCEID_PROPERTY) &&
            ridText(icalcomponent_get_recurrenceid(c)) == rid)
            return c;
    return nullptr;
}

} // namespace

ParsedObject IcalObjectMapping::read(const std::string& text, int windowFrom, int windowTo) const {
    ParsedObject out;
    const Component cal = parse(text);
    icalcomponent* master = cal ? masterOf(cal.get()) : nullptr;
    if (!master) {
        out.error = "no event or to-do in it";
        return out;
    }
    out.uid = icalcomponent_get_uid(master) ? icalcomponent_get_uid(master) : "";
    const icaltimetype start = icalcomponent_get_dtstart(master);
    icalproperty* rule = icalcomponent_get_first_property(master, ICAL_RRULE_PROPERTY);
    if (icalcomponent_isa(master) == ICAL_VTODO_COMPONENT || !rule) {
        if (icalcomponent_isa(master) == ICAL_VEVENT_COMPONENT && icaltime_is_null_time(start)) {
            out.error = "an event without a start";
            return out;
        }
        out.tasks.push_back({{}, taskOf(master, start)});
        out.ok = true;
        return out;
    }
    out.series = true;
    std::vector<icaltimetype> excluded;
    for (icalproperty* p = icalcomponent_get_first_property(master, ICAL_EXDATE_PROPERTY); p;
         p = icalcomponent_get_next_property(master, ICAL_EXDATE_PROPERTY))
        excluded.push_back(icalproperty_get_exdate(p));
    icalrecur_iterator* it = icalrecur_iterator_new(icalproperty_get_rrule(rule), start);
    if (!it) {
        out.error = "a repeat rule that cannot be read";
        return out;
    }
    int count = 0;
    for (icaltimetype t = icalrecur_iterator_next(it);
         !icaltime_is_null_time(t) && count < kMaxOccurrences;
         t = icalrecur_iterator_next(it), ++count) {
        t.zone = start.zone;
        int date = 0, minute = 0;
        localDateMinute(t, date, minute);
        if (date > windowTo)
            break;
        if (date < windowFrom)
            continue;
        bool skip = false;
        for (const icaltimetype& x : excluded)
            skip = skip || sameTime(x, t);
        if (skip)
            continue;
        const std::string rid = ridText(t);
        icalcomponent* changed = overrideOf(cal.get(), master, rid);
        out.tasks.push_back({rid, changed ? taskOf(changed, icalcomponent_get_dtstart(changed))
                                          : taskOf(master, t)});
    }
    icalrecur_iterator_free(it);
    out.ok = true;
    return out;
}

std::string IcalObjectMapping::write(const SyncTask& task, const std::string& uid) const {
    Component cal(icalcomponent_new(ICAL_VCALENDAR_COMPONENT));
    icalcomponent_add_property(cal.get(), icalproperty_new_version("2.0"));
    icalcomponent_add_property(cal.get(), icalproperty_new_prodid("-//Dayweaver//Dayweaver//EN"));
    icalcomponent* c =
        icalcomponent_new(task.isTodo() ? ICAL_VTODO_COMPONENT : ICAL_VEVENT_COMPONENT);
    icalcomponent_set_uid(c, uid.c_str());
    icalcomponent_set_dtstamp(c, icaltime_current_time_with_zone(icaltimezone_get_utc_timezone()));
    if (!task.isTodo())
        icalcomponent_set_dtstart(c, floatingStart(task));
    setTask(c, task);
    icalcomponent_add_component(cal.get(), c);
    return textOf(cal.get());
}

std::string IcalObjectMapping::withoutOccurrence(const std::string& text,
                                                 const std::string& recurrenceId) const {
    const Component cal = parse(text);
    icalcomponent* master = cal ? masterOf(cal.get()) : nullptr;
    if (!master)
        return text;
    if (icalcomponent* changed = overrideOf(cal.get(), master, recurrenceId)) {
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
    const Component cal = parse(text);
    icalcomponent* master = cal ? masterOf(cal.get()) : nullptr;
    if (!master)
        return text;
    if (recurrenceId.empty()) {
        setTask(master, task);
        return textOf(cal.get());
    }
    icalcomponent* changed = overrideOf(cal.get(), master, recurrenceId);
    if (!changed) {
        changed = icalcomponent_new_clone(master);
        for (const icalproperty_kind kind :
             {ICAL_RRULE_PROPERTY, ICAL_RDATE_PROPERTY, ICAL_EXDATE_PROPERTY, ICAL_DTSTART_PROPERTY,
              ICAL_DTEND_PROPERTY, ICAL_DURATION_PROPERTY})
            removeAll(changed, kind);
        icalcomponent_add_property(changed,
                                   occurrenceProperty(master, recurrenceId, [](icaltimetype t) {
                                       return icalproperty_new_recurrenceid(t);
                                   }));
        icalcomponent_add_component(cal.get(), changed);
    }
    setTask(changed, task);
    return textOf(cal.get());
}

} // namespace dw
