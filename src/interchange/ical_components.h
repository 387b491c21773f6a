#pragma once

// How one task, to-do task or repeating event sits in an iCalendar component: the pieces
// the file writer, the file reader and the calendar server's objects share, so that a task
// has one form whichever way it travels. For the interchange code only.

#include "interchange/ical_import.h"
#include "interchange/ical_library.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dw::ical {

// ---- Writing

// A component as iCalendar text, lines ended by CR LF and folded at 75 octets between
// characters. Every text value (our own X- properties and other programs' included) is
// escaped as RFC 5545 says: the library leaves commas and semicolons of CATEGORIES and of
// X- values as they are, which splits them for the next reader. Its error notes
// (X-LIC-ERROR) stay out.
std::string calendarText(icalcomponent* c);
// A TEXT value escaped: backslash, comma, semicolon and line breaks; other control
// characters, which TEXT may not hold, are left out.
std::string escapedText(std::string_view raw);

icaltimetype dateValue(int date);
icaltimetype floatingDateTime(int date, int minuteOfDay);

// What a task puts into its component.
struct TaskValues {
    bool todo = false;
    int date = 0;                   // dated task: whole-day serial
    std::optional<int> minuteOfDay; // dated task: none for an all-day one
    std::string category;
    std::string what; // lines joined by CR LF
    bool done = false;
    bool alarm = false;
};

// A new VEVENT (dated task) or VTODO with the task's values, its UID and DTSTAMP: a timed
// event lasts kEventMinutes, an all-day one its day; a dated task is CONFIRMED, a to-do
// NEEDS-ACTION or COMPLETED; the alarm sounds alarmLeadMinutes before the start.
icalcomponent* newTaskComponent(const TaskValues& task, const std::string& uid,
                                std::int64_t stampUtcSeconds, int alarmLeadMinutes);
// Puts the task's values in place of a component's own, keeping whatever else it holds
// (another program's properties, an event's length, its alarm when there still is one).
// The start is compared as the local moment it falls on: an unchanged task leaves a zoned
// start as it is.
void updateTaskComponent(icalcomponent* c, const TaskValues& task, int alarmLeadMinutes,
                         const UtcToLocal& toLocal);

// Puts a task's texts, category and done flag in place of a component's own, leaving its
// times and its alarm: what every day of an event over several days shares.
void updateSharedValues(icalcomponent* c, const std::string& what, const std::string& category,
                        bool done);
// Ends an event before the local day `date` begins, when it now ends later (and `date`
// comes after its first day).
void endBefore(icalcomponent* e, int date, const UtcToLocal& toLocal);

// The UID and the DTSTAMP every object of ours starts with.
void addUidAndStamp(icalcomponent* c, const std::string& uid, std::int64_t stampUtcSeconds);
void addX(icalcomponent* c, const char* name, const char* value);
void removeAll(icalcomponent* c, icalproperty_kind kind);

// ---- Reading

std::string text(const char* value);
std::optional<std::string> xValue(icalcomponent* c, const char* name);
// The category as written by us (exact) or by others (CATEGORIES values joined by ", ").
std::string categoriesOf(icalcomponent* c);
// Done: a to-do COMPLETED (or with a COMPLETED time); an event with our done flag or
// COMPLETED.
bool isDone(icalcomponent* c);
bool hasAlarm(icalcomponent* c);
// The task text of a component's SUMMARY and DESCRIPTION, checked as a typed text is.
CheckedText taskTextOfComponent(icalcomponent* c);

// The moment a time names, in seconds since 1970 UTC: a zoned time by its zone's rules (the
// first of a repeated hour; a skipped hour moves forward), a floating time or a date as if
// it were UTC.
std::int64_t utcSecondsOf(const icaltimetype& t);
// The moment a local date and minute name, by the same rules.
std::int64_t utcOfLocal(int date, int minuteOfDay, const UtcToLocal& toLocal);
// A date that exists and a time of day that does (the library takes month 13 or 25:61).
bool isReadableTime(const icaltimetype& t);
// A time with the zone its property's TZID names (the calendar's own VTIMEZONE first).
icaltimetype withZone(icaltimetype t, icalproperty* prop, icalcomponent* root);
// A component's DTSTART with its zone; a null time when it has none.
icaltimetype startOf(icalcomponent* c, icalcomponent* root);

// A to-do's DUE with its zone; a null time when it has none.
icaltimetype dueOf(icalcomponent* c, icalcomponent* root);
// When a component's task falls: an event's start, a to-do's due date (a null time for a
// to-do without one, which is a task of the to-do list).
icaltimetype whenOf(icalcomponent* c, icalcomponent* root);

struct LocalMoment {
    int date = 0;
    std::optional<int> minute; // none: a whole day
};
// A time as the local date and minute it falls on: a zoned or UTC time is converted, a
// floating time or a date taken as it is.
LocalMoment localMoment(const icaltimetype& t, const UtcToLocal& toLocal);
// The most days one event is shown on: an end centuries away is not a task a day.
inline constexpr int kMaxEventDays = 3660;
// How many local days an event starting at `from` (its start, or one of its occurrences)
// covers, its first included, up to its end (DTEND, or the start and DURATION), which is
// not part of it: a timed event that ends at midnight ends with the day before. A timed
// event shorter than 24 hours covers the day it starts on alone, however late it ends. 1
// for an event without an end or with one before its start; at most kMaxEventDays.
int daysCovered(icalcomponent* e, const icaltimetype& from, const UtcToLocal& toLocal);
// Whether an occurrence is the moment an EXDATE or a RECURRENCE-ID names. A date names
// every occurrence on that day.
bool sameOccurrence(const icaltimetype& occurrence, const icaltimetype& named);

// The instances of an event within the dates of a range: its start, or what its RRULEs and
// RDATEs make of it, less its EXDATEs and the moments in `replaced` (instances that other
// objects stand in for). Each moment once. `steps` counts the rule's steps across calls;
// past kMaxRecurrenceSteps an IcalFileError is thrown. A rule the library cannot read
// gives the start alone and sets ruleUnreadable.
struct Occurrences {
    std::vector<icaltimetype> times;
    bool ruleUnreadable = false;
};
Occurrences occurrencesOf(icalcomponent* e, const icaltimetype& start, icalcomponent* root,
                          const ImportRange& range, const UtcToLocal& toLocal,
                          const std::vector<icaltimetype>& replaced, std::size_t& steps);

// Folded lines joined again. This works on the bytes: a fold may fall inside a character
// of several bytes, which only the joined line decodes.
std::string unfoldedBytes(std::string_view text);

} // namespace dw::ical
