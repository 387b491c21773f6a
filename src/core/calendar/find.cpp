#include "core/calendar/find.h"

#include "core/store/task_store.h"

#include <algorithm>

namespace dw {

namespace {

constexpr std::string_view kDelimiters = "\t'\r\n ,./?;:`\"<>[]{}-=\\+|()%@&^$#!~*";
static_assert(kDelimiters.size() == 35);

char upperAscii(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string upperAscii(std::string_view s) {
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(), [](char c) { return upperAscii(c); });
    return out;
}

bool isBlankFindText(std::string_view s) {
    return s.find_first_not_of(" \r\n\b") == std::string_view::npos;
}

bool wholeWordMatch(std::string_view text, std::string_view find) {
    // A find text made only of delimiters is no word at all.
    if (std::all_of(find.begin(), find.end(), isWordDelimiter))
        return false;
    for (std::size_t at = text.find(find); at != std::string_view::npos;
         at = text.find(find, at + 1)) {
        const std::size_t end = at + find.size();
        const bool startBounded = at == 0 || isWordDelimiter(text[at - 1]);
        const bool endBounded = end == text.size() || isWordDelimiter(text[end]);
        if (startBounded && endBounded)
            return true;
    }
    return false;
}

} // namespace

bool isWordDelimiter(char c) {
    return kDelimiters.find(c) != std::string_view::npos;
}

bool textMatches(std::string_view text, bool wholeWord, bool matchCase, std::string_view findText) {
    if (wholeWord && (isBlankFindText(text) || isBlankFindText(findText)))
        return false;
    if (matchCase)
        return wholeWord ? wholeWordMatch(text, findText)
                         : text.find(findText) != std::string_view::npos;
    const std::string t = upperAscii(text);
    const std::string f = upperAscii(findText);
    return wholeWord ? wholeWordMatch(t, f) : t.find(f) != std::string::npos;
}

void FindSearch::open() {
    findPosition = 0;
    fresh = true;
}

bool FindSearch::rowMatches(const TaskStore& store, int row, const FindQuery& query) const {
    return store.passesFilter(row) && textMatches(store.gridStore().cell(StoreCol::What, row),
                                                  query.wholeWord, query.matchCase, query.text);
}

std::optional<FindHit> FindSearch::findNext(const TaskStore& store, const FindQuery& query) {
    const int last = store.gridStore().rowCount() - 1;
    // Nothing to look for: every text would hold it.
    const bool searchable = !query.text.empty();
    if (query.down) {
        if (restartFromFirst)
            findPosition = 0;
        restartFromFirst = false;
        fresh = false;
        // Row 0 is the header, no task.
        findPosition = std::max(findPosition, 1);
        for (; searchable && findPosition <= last; ++findPosition) {
            if (rowMatches(store, findPosition, query)) {
                const FindHit hit{findPosition, store.keyDate(findPosition)};
                ++findPosition;
                return hit;
            }
        }
        findPosition = 0;
        restartFromLast = true;
        return std::nullopt;
    }
    // A first upward search after opening starts from the last task, as after a failure.
    if (restartFromLast || fresh)
        findPosition = last;
    restartFromLast = false;
    fresh = false;
    // Tasks deleted since the last step may have shortened the store.
    findPosition = std::min(findPosition, last);
    for (; searchable && findPosition > 0; --findPosition) {
        if (rowMatches(store, findPosition, query)) {
            const FindHit hit{findPosition, store.keyDate(findPosition)};
            --findPosition;
            return hit;
        }
    }
    findPosition = last;
    restartFromFirst = true;
    return std::nullopt;
}

std::string findFailureMessage(const std::string& findText, bool down) {
    return "Could not find \"" + findText + "\" in any calendar task. Search reset to " +
           (down ? "first" : "last") + " task date";
}

} // namespace dw
