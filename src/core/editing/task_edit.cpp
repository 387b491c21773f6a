#include "core/editing/task_edit.h"

#include "core/store/helpers.h"
#include "core/store/text_codec.h"

namespace dw {

namespace {

bool isContinuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// The text with every CR LF counted as one character, cut after maxChars characters.
std::string cutCountingBreaksAsOne(const std::string& text, std::size_t maxChars) {
    std::size_t chars = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (isContinuation(text[i]))
            continue;
        if (chars == maxChars)
            return text.substr(0, i);
        ++chars;
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
    }
    return text;
}

} // namespace

std::vector<std::string> memoLines(std::string_view text, std::size_t maxChars) {
    std::vector<std::string> lines;
    textToLines(cutCountingBreaksAsOne(normalizeTypedText(text), maxChars), lines);
    return lines;
}

std::string memoText(std::string_view text, std::size_t maxChars) {
    return linesToText(memoLines(text, maxChars));
}

bool notesAreBlank(const std::vector<std::string>& lines) {
    return linesToText(lines).empty();
}

std::string categoryText(std::string_view typed) {
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
    return truncateChars(out, kCategoryMaxChars);
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
