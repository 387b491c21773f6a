#pragma once

#include <string>
#include <vector>

namespace dw {

// The time text of an all-day task: no time parser reads it.
inline constexpr const char* kAllDayTimeText = "All day";

// A task as the sync sees it: the store's texts turned into values that a calendar object
// can carry and give back unchanged.
struct SyncTask {
    int date = 0;    // whole-day serial; 0 for a to-do task
    int minute = -1; // minute of the day; -1 for a to-do task and for an all-day one
    std::string category;
    std::string what; // the cell text: lines separated by CR LF
    bool done = false;
    bool alarm = false;

    bool isTodo() const { return date == 0; }
    bool isAllDay() const { return date != 0 && minute < 0; }
    friend bool operator==(const SyncTask&, const SyncTask&) = default;
};

// The kind of calendar object a task becomes: a dated task is an event, a to-do task a to-do.
enum class ObjectKind { Event, Todo };
inline ObjectKind kindOf(const SyncTask& task) {
    return task.isTodo() ? ObjectKind::Todo : ObjectKind::Event;
}

// One task an object shows: the whole object (no recurrence id), or one occurrence of a
// series, named by its recurrence id.
struct ObjectTask {
    std::string recurrenceId;
    SyncTask task;
};

// A server object read into tasks. A series gives its occurrences within the window.
struct ParsedObject {
    bool ok = false;
    std::string error;
    std::string uid;
    bool series = false;
    std::vector<ObjectTask> tasks;
    // Control characters left out of its texts (a task's text holds none).
    int droppedControls = 0;
};

// How tasks become calendar objects and back. The sync rules need only these few verbs,
// so the mapping (and the library behind it) plugs in from outside the core.
class ObjectMapping {
public:
    virtual ~ObjectMapping() = default;
    // The tasks of an object's text; occurrences of a series from windowFrom to windowTo
    // (whole-day serials, both included).
    virtual ParsedObject read(const std::string& text, int windowFrom, int windowTo) const = 0;
    // A new object's text for one task.
    virtual std::string write(const SyncTask& task, const std::string& uid) const = 0;
    // A series' text with one occurrence excluded (an EXDATE).
    virtual std::string withoutOccurrence(const std::string& text,
                                          const std::string& recurrenceId) const = 0;
    // The object's text with the task's values in place of its own, keeping whatever else
    // it holds; with a recurrence id, that occurrence of a series is replaced instead (a
    // RECURRENCE-ID override).
    virtual std::string withOccurrence(const std::string& text, const std::string& recurrenceId,
                                       const SyncTask& task) const = 0;
};

// An object as the server lists it.
struct ServerObject {
    std::string href;
    std::string etag;
    std::string text;
};

} // namespace dw
