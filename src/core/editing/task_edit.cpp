#include "core/editing/task_edit.h"

#include "core/store/helpers.h"
#include "core/store/text_codec.h"

#include <algorithm>

namespace dw {

std::vector<std::string> memoLines(std::string_view text) {
    std::vector<std::string> lines;
    textToLines(normalizeTypedText(text), lines);
    return lines;
}

std::string memoText(std::string_view text) {
    return linesToText(memoLines(text));
}

std::string fitInsertion(std::size_t fieldChars, std::size_t replacedChars,
                         std::string_view incoming, std::size_t maxChars) {
    const std::size_t kept = fieldChars - std::min(replacedChars, fieldChars);
    const std::size_t room = kept < maxChars ? maxChars - kept : 0;
    return truncateChars(incoming, room);
}

bool notesAreBlank(const std::vector<std::string>& lines) {
    return linesToText(lines).empty();
}

std::string singleLineText(std::string_view typed) {
    std::string one = normalizeTypedText(typed);
    std::string out;
    out.reserve(one.size());
    for (std::size_t i = 0; i < one.size(); ++i) {
        if (one[i] == '\r' && i + 1 < one.size() && one[i + 1] == '\n') {
            out += ' ';
            ++i;
        } else {
            out += one[i];
        }
    }
    return out;
}

EditorFace editorFace(bool done, bool datedExisting, bool timeHidden) {
    EditorFace f;
    if (done) {
        f.status = kStatusDone;
    } else {
        f.status = kStatusNotDone;
        f.complete = true;
        // Repeat and Reschedule act on a stored dated task, so only an existing one.
        f.repeat = datedExisting;
        f.reschedule = datedExisting;
    }
    f.statusAtLeft = timeHidden;
    return f;
}

bool rescheduleCloses(DateSerial taskDate, DateSerial selectedDate) {
    return wholeDays(taskDate) != wholeDays(selectedDate);
}

std::string existingTaskCaption(std::string_view what) {
    std::string head = truncateChars(what, 50);
    for (char& c : head)
        if (c == '\r' || c == '\n')
            c = ' ';
    return "Task: " + head + " ...";
}

} // namespace dw
