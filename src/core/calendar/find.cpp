#include "core/calendar/find.h"

#include "core/store/task_store.h"
#include "core/text/lower_text.h"

#include <algorithm>

namespace dw {

namespace {

constexpr std::string_view kDelimiters = "\t'\r\n ,./?;:`\"<>[]{}-=\\+|()%@&^$#!~*";
static_assert(kDelimiters.size() == 35);

bool isBlankFindText(std::string_view s) {
    return s.find_first_not_of(" \r\n\b") == std::string_view::npos;
}

// The text split at its delimiters: true when one piece is the find text. A find text that
// holds a delimiter is never a piece, so it never matches.
bool wholeWordMatch(std::string_view text, std::string_view find) {
    if (find.empty() || std::any_of(find.begin(), find.end(), isWordDelimiter))
        return false;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i < text.size() && !isWordDelimiter(text[i]))
            continue;
        if (text.substr(start, i - start) == find)
            return true;
        start = i + 1;
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
    // Folded whole, so that "strasse" finds "Straße" and "ÉCOLE" finds "école". The
    // delimiters are ASCII and folding keeps ASCII punctuation, so the pieces stay the same.
    const std::string t = foldCase(text);
    const std::string f = foldCase(findText);
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
