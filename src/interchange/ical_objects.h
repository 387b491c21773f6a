#pragma once

#include "core/sync/sync_task.h"
#include "interchange/ical_import.h"

namespace dw {

// Tasks as a calendar server's objects, in the same form as in calendar files
// (ical_components.h): a dated task is a VEVENT at its local time (floating) or on its day
// (all day), a to-do task a VTODO. A server's VTODO with DUE is a dated task that goes back
// as a VTODO with DUE; a zoned time keeps its zone through local edits. A server's series is
// expanded over the window, its EXDATEs left out and its RECURRENCE-ID overrides put in
// place; times in a named zone or UTC are shown at the local time they fall on.
// An event over several days is its first day's task, and an all-day task on each later day
// of the window (recurrence ids "+1", "+2", ...). An edit of a later day changes the texts,
// category and done flag of the whole event; deleting one ends the event before it; the
// first day moves the event and keeps its length.
class IcalObjectMapping : public ObjectMapping {
public:
    // An alarm sent to the server sounds alarmLeadMinutes before its task, as the program
    // sounds it (the options' lead) and as the calendar files say.
    explicit IcalObjectMapping(UtcToLocal toLocal = systemLocalTime, int alarmLeadMinutes = 0);

    ParsedObject read(const std::string& text, int windowFrom, int windowTo) const override;
    std::string write(const SyncTask& task, const std::string& uid) const override;
    std::string withoutOccurrence(const std::string& text,
                                  const std::string& recurrenceId) const override;
    std::string withOccurrence(const std::string& text, const std::string& recurrenceId,
                               const SyncTask& task) const override;

private:
    UtcToLocal toLocal_;
    int alarmLeadMinutes_;
};

} // namespace dw
