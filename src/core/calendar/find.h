#pragma once

#include "core/dates/date_serial.h"

#include <optional>
#include <string>
#include <string_view>

namespace dw {

class TaskStore;

// The 35 characters that end a word for a whole-word search: tab, apostrophe, carriage
// return, line feed, space and , . / ? ; : ` " < > [ ] { } - = \ + | ( ) % @ & ^ $ # ! ~ *
bool isWordDelimiter(char c);

// Whether a task text holds the find text. Without match case both are compared case
// folded (full Unicode folding: "strasse" finds "Straße"). A whole-word search never
// matches a blank text or a blank find text; it splits the text at the delimiters and
// matches when one piece equals the find text: "meet" is found in "meet, then lunch" but
// not in "meeting", and a find text that itself holds a delimiter ("meet," or
// "team meeting") is never a piece, so it never matches.
bool textMatches(std::string_view text, bool wholeWord, bool matchCase, std::string_view findText);

// What one Find Next looks for.
struct FindQuery {
    std::string text;
    bool wholeWord = false;
    bool matchCase = false;
    bool down = true;
};

// A task Find stopped at: its row in the dated store and its date.
struct FindHit {
    int row = 0;
    int date = 0;
};

// The position of the find dialog in the dated store, kept for as long as the main window
// lives. Find Next walks the store from the position in the query's direction and stops at
// the next task that passes the filter and whose text matches; both directions share the
// position, so switching direction continues from the last step. A search that finds
// nothing starts over from the first row (down) or from the last (up) next time.
class FindSearch {
public:
    // The dialog is opened: the next search is a fresh one, down from the first row or up
    // from the last.
    void open();
    // One Find Next; nothing when no task matches any more (the position is then reset).
    std::optional<FindHit> findNext(const TaskStore& store, const FindQuery& query);

    int position() const { return findPosition; }
    bool restartsFromLast() const { return restartFromLast; }
    bool restartsFromFirst() const { return restartFromFirst; }

private:
    bool rowMatches(const TaskStore& store, int row, const FindQuery& query) const;

    int findPosition = 0;
    bool restartFromLast = false;
    bool restartFromFirst = false;
    // No Find Next yet since the dialog was opened.
    bool fresh = true;
};

// The error text of a search that found nothing, with the notice of where the next one
// starts: "Could not find "x" in any calendar task. Search reset to first task date" (down)
// or "... last task date" (up).
std::string findFailureMessage(const std::string& findText, bool down);

} // namespace dw
