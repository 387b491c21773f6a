#include "core/store/cell_table.h"

#include "core/store/table_file.h"

#include <algorithm>
#include <utility>

namespace dw {

namespace {

const std::string& emptyText() {
    static const std::string empty;
    return empty;
}

} // namespace

CellTable::CellTable(int cols, int rows)
    : cols_(std::max(1, cols)), rows_(static_cast<size_t>(std::max(1, rows))),
      widths_(static_cast<size_t>(cols_), kDefaultWidth), custom_(static_cast<size_t>(cols_)) {}

CellTable::~CellTable() = default;
CellTable::CellTable(CellTable&&) noexcept = default;
CellTable& CellTable::operator=(CellTable&&) noexcept = default;

CellTable::CellTable(const CellTable& other)
    : cols_(other.cols_), loaded_(other.loaded_), loadedCols_(other.loadedCols_),
      minCols_(other.minCols_), rules_(other.rules_), revision_(other.revision_),
      partial_(other.partial_), savedPath_(other.savedPath_), savedRevision_(other.savedRevision_),
      savedSize_(other.savedSize_), savedTime_(other.savedTime_), widths_(other.widths_),
      custom_(other.custom_), canSort_(other.canSort_), sortColumn_(other.sortColumn_),
      sortDirection_(other.sortDirection_) {
    rows_.reserve(other.rows_.size());
    for (const RowSlot& slot : other.rows_)
        rows_.push_back(
            RowSlot{slot.cells ? std::make_unique<Row>(*slot.cells) : nullptr, slot.source});
}

CellTable& CellTable::operator=(const CellTable& other) {
    if (this != &other) {
        CellTable copy(other);
        *this = std::move(copy);
    }
    return *this;
}

std::string_view CellTable::slotView(const RowSlot& slot, int col) const {
    if (slot.cells)
        return (*slot.cells)[static_cast<size_t>(col)];
    if (slot.source == kNoSource || col >= loadedCols_)
        return {};
    return loaded_->text(col, slot.source);
}

CellTable::Row& CellTable::ownCells(RowSlot& slot) const {
    if (!slot.cells) {
        auto cells = std::make_unique<Row>(static_cast<size_t>(cols_));
        if (slot.source != kNoSource)
            for (int c = 0; c < std::min(cols_, loadedCols_); ++c)
                (*cells)[static_cast<size_t>(c)] = loaded_->text(c, slot.source);
        slot.cells = std::move(cells);
    }
    return *slot.cells;
}

const std::string& CellTable::cell(int col, int row) const {
    if (col < 0 || col >= cols_ || row < 0 || row >= rowCount())
        return emptyText();
    RowSlot& slot = rows_[static_cast<size_t>(row)];
    if (!slot.cells && slotView(slot, col).empty())
        return emptyText();
    return ownCells(slot)[static_cast<size_t>(col)];
}

std::string_view CellTable::cellView(int col, int row) const {
    if (col < 0 || col >= cols_ || row < 0 || row >= rowCount())
        return {};
    return slotView(rows_[static_cast<size_t>(row)], col);
}

void CellTable::setCell(int col, int row, std::string text) {
    if (col < 0 || col >= cols_ || row < 0 || row >= rowCount())
        return;
    RowSlot& slot = rows_[static_cast<size_t>(row)];
    if (slotView(slot, col) == text)
        return;
    ownCells(slot)[static_cast<size_t>(col)] = std::move(text);
    changed();
}

const CellTable::Row& CellTable::row(int r) const {
    return ownCells(rows_[static_cast<size_t>(r)]);
}

CellTable::Row& CellTable::row(int r) {
    // Whoever takes a row to change may change it.
    changed();
    return ownCells(rows_[static_cast<size_t>(r)]);
}

void CellTable::setRowCount(int count) {
    const auto n = static_cast<size_t>(std::max(1, count));
    if (n == rows_.size())
        return;
    rows_.resize(n);
    changed();
}

void CellTable::setColCount(int count) {
    count = std::max(1, count);
    if (count == cols_)
        return;
    cols_ = count;
    // Loaded cells of columns dropped now stay dropped when the table widens again.
    loadedCols_ = std::min(loadedCols_, cols_);
    for (auto& slot : rows_)
        if (slot.cells)
            slot.cells->resize(static_cast<size_t>(cols_));
    widths_.resize(static_cast<size_t>(cols_), kDefaultWidth);
    custom_.resize(static_cast<size_t>(cols_));
    changed();
}

void CellTable::setMinColCount(int count) {
    minCols_ = std::max(1, count);
}

int CellTable::colWidth(int col) const {
    return col >= 0 && col < cols_ ? widths_[static_cast<size_t>(col)] : 0;
}

void CellTable::setColWidth(int col, int pixels) {
    if (col >= 0 && col < cols_ && widths_[static_cast<size_t>(col)] != pixels) {
        widths_[static_cast<size_t>(col)] = pixels;
        changed();
    }
}

void CellTable::insertRows(int p, int n) {
    if (n <= 0 || p < 0 || p > rowCount())
        return;
    RowSlots fresh(static_cast<size_t>(n));
    rows_.insert(rows_.begin() + p, std::make_move_iterator(fresh.begin()),
                 std::make_move_iterator(fresh.end()));
    changed();
}

void CellTable::removeRows(int p, int n) {
    if (n <= 0 || p < 0 || p >= rowCount())
        return;
    const int last = std::min(rowCount(), p + n);
    rows_.erase(rows_.begin() + p, rows_.begin() + last);
    if (rows_.empty())
        rows_.emplace_back();
    changed();
}

void CellTable::swapRows(int a, int b) {
    if (a == b || a < 0 || b < 0 || a >= rowCount() || b >= rowCount())
        return;
    std::swap(rows_[static_cast<size_t>(a)], rows_[static_cast<size_t>(b)]);
    changed();
}

void CellTable::removeDataRowsIf(const std::function<bool(const Row&)>& pick) {
    const auto end = std::remove_if(rows_.begin() + 1, rows_.end(),
                                    [&](RowSlot& slot) { return pick(ownCells(slot)); });
    if (end != rows_.end()) {
        rows_.erase(end, rows_.end());
        changed();
    }
}

void CellTable::removeDataRowsWithEmptyCell(int col) {
    if (col < 0 || col >= cols_)
        return;
    const auto end = std::remove_if(rows_.begin() + 1, rows_.end(), [&](const RowSlot& slot) {
        return slotView(slot, col).empty();
    });
    if (end != rows_.end()) {
        rows_.erase(end, rows_.end());
        changed();
    }
}

} // namespace dw
