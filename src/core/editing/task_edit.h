#pragma once

#include "core/dates/date_serial.h"
#include "core/store/task_limits.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace dw {

// The task editor's rules that need no window.

inline constexpr const char* kNotesBlankMessage = "The Notes are blank!";
inline constexpr const char* kDefaultEditorTitle = "To-do Tasks";
inline constexpr const char* kDefaultEditorCaption = "Edit Task";
inline constexpr const char* kStatusDone = "Completed Task";
inline constexpr const char* kStatusNotDone = "Task is not yet completed";

// A notes field's text (line breaks as LF, CR or CR LF) as the field's lines: TABs become
// spaces, backspaces go, and an empty last line (the text ends with a line break) is no
// line, as a memo counts its lines. Nothing is cut: the limits stop typing and pasting,
// and a longer text that came from a table stays whole.
std::vector<std::string> memoLines(std::string_view text);
// The cell text of those lines (linesToText).
std::string memoText(std::string_view text);

// What fits of a text typed or pasted into a field that holds `fieldChars` characters, of
// which `replacedChars` (the selection) give way, when the field takes `maxChars`: the
// text cut to the room left, never inside a character. Every character counts one, a
// line break too.
std::string fitInsertion(std::size_t fieldChars, std::size_t replacedChars,
                         std::string_view incoming, std::size_t maxChars);

// The notes are blank when linesToText of their lines is empty: no lines, or one empty
// line. Two empty lines are not blank.
bool notesAreBlank(const std::vector<std::string>& lines);

// A typed or pasted text made one line for a table cell or a list file: line breaks and
// TABs become spaces, backspaces go.
std::string singleLineText(std::string_view typed);

// Which of the editor's buttons show, and where its status label goes, for a task that
// is done or not, an existing task of the day view or not, with the time control hidden
// (a to-do or done task) or not.
struct EditorFace {
    bool complete = false;     // "Mark as Complete"
    bool repeat = false;       // the Repeat menu
    bool reschedule = false;   // offered exactly when Repeat is
    bool statusAtLeft = false; // the status label takes the time control's place
    const char* status = kStatusNotDone;
};
EditorFace editorFace(bool done, bool datedExisting, bool timeHidden);

// After the reschedule dialog: the editor closes at once when the task's date is no
// longer the selected date (whole days compared).
bool rescheduleCloses(DateSerial taskDate, DateSerial selectedDate);

// The window caption for an existing task: "Task: ", the first 50 characters of its
// text (line breaks shown as spaces) and " ...".
std::string existingTaskCaption(std::string_view what);

} // namespace dw
