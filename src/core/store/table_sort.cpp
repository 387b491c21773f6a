#include "core/store/cell_table.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace dw {

void CellTable::setCustomCompare(int col, CompareFn fn) {
    if (col >= 0 && col < cols_)
        custom_[static_cast<size_t>(col)] = std::move(fn);
}

int CellTable::compareColumn(int col, const std::string& a, const std::string& b) const {
    const auto& custom = custom_[static_cast<size_t>(col)];
    if (custom)
        return custom(a, b);
    // Byte order: std::string compares as unsigned chars.
    return a.compare(b);
}

int CellTable::compareRows(const Row& a, const Row& b) const {
    const int k = std::clamp(sortColumn_, 0, cols_ - 1);
    const int lastTieBreak = std::max(k, cols_ - 2);
    int result = 0;
    for (int c = k; c <= lastTieBreak && result == 0; ++c)
        result = compareColumn(c, a[static_cast<size_t>(c)], b[static_cast<size_t>(c)]);
    return sortDirection_ == SortDirection::Descending ? -result : result;
}

int CellTable::compareSlots(const RowSlot& a, const RowSlot& b) const {
    const int k = std::clamp(sortColumn_, 0, cols_ - 1);
    const int lastTieBreak = std::max(k, cols_ - 2);
    int result = 0;
    for (int c = k; c <= lastTieBreak && result == 0; ++c) {
        const auto& custom = custom_[static_cast<size_t>(c)];
        if (!custom) {
            // Byte order: char_traits<char> compares as unsigned chars.
            const int order = slotView(a, c).compare(slotView(b, c));
            result = order < 0 ? -1 : order > 0 ? 1 : 0;
        } else if (a.cells && b.cells) {
            result = custom((*a.cells)[static_cast<size_t>(c)], (*b.cells)[static_cast<size_t>(c)]);
        } else {
            // Keys and times are short: these copies stay inside the strings themselves.
            result = custom(std::string(slotView(a, c)), std::string(slotView(b, c)));
        }
    }
    return sortDirection_ == SortDirection::Descending ? -result : result;
}

void CellTable::sortRows() {
    if (rowCount() < 3)
        return;
    const auto less = [this](const RowSlot& a, const RowSlot& b) { return compareSlots(a, b) < 0; };
    // A natural merge sort: find the ascending runs, then merge neighbours until one run
    // is left. Stable like any stable sort, so the result is the same; a store that only
    // had a few rows inserted or changed costs one pass and a merge or two.
    std::vector<size_t> bounds{1};
    for (size_t i = 2; i < rows_.size(); ++i)
        if (less(rows_[i], rows_[i - 1]))
            bounds.push_back(i);
    bounds.push_back(rows_.size());
    if (bounds.size() > 2)
        changed();
    while (bounds.size() > 2) {
        std::vector<size_t> merged{bounds.front()};
        for (size_t i = 0; i + 2 < bounds.size(); i += 2) {
            std::inplace_merge(rows_.begin() + static_cast<std::ptrdiff_t>(bounds[i]),
                               rows_.begin() + static_cast<std::ptrdiff_t>(bounds[i + 1]),
                               rows_.begin() + static_cast<std::ptrdiff_t>(bounds[i + 2]), less);
            merged.push_back(bounds[i + 2]);
        }
        if (bounds.size() % 2 == 0) // an odd run out: carried to the next round
            merged.push_back(bounds.back());
        bounds = std::move(merged);
    }
}

bool CellTable::sortByHeaderClick(int col) {
    if (!canSort(col) || rowCount() < 3)
        return false;
    if (col == sortColumn_) {
        sortDirection_ = sortDirection_ == SortDirection::Ascending ? SortDirection::Descending
                                                                    : SortDirection::Ascending;
    } else {
        sortColumn_ = col;
        sortDirection_ = SortDirection::Ascending;
    }
    sortRows();
    return true;
}

} // namespace dw
