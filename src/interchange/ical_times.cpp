#include "interchange/ical_components.h"

// When a component's task falls: its times with their zones, as local dates and minutes,
// its length in days, and the instances of a repeating event.

#include "core/dates/date_serial.h"

#include <algorithm>
#include <cmath>
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

} // namespace

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

// A duration's length in seconds, without the library's int arithmetic, which overflows.
std::int64_t secondsOf(const icaldurationtype& d) {
    return (std::int64_t(d.weeks) * 7 + d.days) * 86400 + std::int64_t(d.hours) * 3600 +
           std::int64_t(d.minutes) * 60 + d.seconds;
}

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
        const std::int64_t seconds = secondsOf(d);
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
    const std::int64_t seconds = secondsOf(*length);
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

} // namespace dw::ical
