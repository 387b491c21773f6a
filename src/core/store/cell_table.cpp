#include "core/store/cell_table.h"

#include "core/prompts/prompts.h"
#include "core/store/file_io.h"
#include "core/store/text_codec.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <string_view>

namespace dw {

namespace {

constexpr int kDefaultWidth = 64;

const std::string& emptyText() {
    static const std::string empty;
    return empty;
}

// A plain decimal integer, optionally signed; anything else (spaces, junk, overflow) is
// not a number. Files written by saveTable hold only plain decimal integers.
bool parseInt(std::string_view s, long long& out) {
    if (s.empty())
        return false;
    const char* first = s.data();
    const char* last = s.data() + s.size();
    if (*first == '+')
        ++first;
    const auto [ptr, ec] = std::from_chars(first, last, out);
    return ec == std::errc() && ptr == last;
}

std::string corruptMessage(const std::string& path) {
    return "File contains no data or corrupt file " + path;
}

} // namespace

CellTable::CellTable(int cols, int rows)
    : cols_(std::max(1, cols)), rows_(static_cast<size_t>(std::max(1, rows)), Row(cols_)),
      widths_(static_cast<size_t>(cols_), kDefaultWidth), custom_(static_cast<size_t>(cols_)) {}

const std::string& CellTable::cell(int col, int row) const {
    if (col < 0 || col >= cols_ || row < 0 || row >= rowCount())
        return emptyText();
    return rows_[static_cast<size_t>(row)][static_cast<size_t>(col)];
}

void CellTable::setCell(int col, int row, std::string text) {
    if (col < 0 || col >= cols_ || row < 0 || row >= rowCount())
        return;
    rows_[static_cast<size_t>(row)][static_cast<size_t>(col)] = std::move(text);
}

void CellTable::setRowCount(int count) {
    rows_.resize(static_cast<size_t>(std::max(1, count)), Row(cols_));
}

void CellTable::setColCount(int count) {
    cols_ = std::max(1, count);
    for (auto& r : rows_)
        r.resize(static_cast<size_t>(cols_));
    widths_.resize(static_cast<size_t>(cols_), kDefaultWidth);
    custom_.resize(static_cast<size_t>(cols_));
}

int CellTable::colWidth(int col) const {
    return col >= 0 && col < cols_ ? widths_[static_cast<size_t>(col)] : 0;
}

void CellTable::setColWidth(int col, int pixels) {
    if (col >= 0 && col < cols_)
        widths_[static_cast<size_t>(col)] = pixels;
}

void CellTable::insertRows(int p, int n) {
    if (n <= 0 || p < 0 || p > rowCount())
        return;
    rows_.insert(rows_.begin() + p, static_cast<size_t>(n), Row(cols_));
}

void CellTable::removeRows(int p, int n) {
    if (n <= 0 || p < 0 || p >= rowCount())
        return;
    const int last = std::min(rowCount(), p + n);
    rows_.erase(rows_.begin() + p, rows_.begin() + last);
    if (rows_.empty())
        rows_.emplace_back(cols_);
}

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

void CellTable::removeDataRowsIf(const std::function<bool(const Row&)>& pick) {
    rows_.erase(std::remove_if(rows_.begin() + 1, rows_.end(), pick), rows_.end());
}

void CellTable::sortRows() {
    if (rowCount() < 3)
        return;
    const auto less = [this](const Row& a, const Row& b) { return compareRows(a, b) < 0; };
    // A natural merge sort: find the ascending runs, then merge neighbours until one run
    // is left. Stable like any stable sort, so the result is the same; a store that only
    // had a few rows inserted or changed costs one pass and a merge or two.
    std::vector<size_t> bounds{1};
    for (size_t i = 2; i < rows_.size(); ++i)
        if (less(rows_[i], rows_[i - 1]))
            bounds.push_back(i);
    bounds.push_back(rows_.size());
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

namespace {

int decimalDigits(long long v) {
    int n = v < 0 ? 2 : 1;
    for (unsigned long long u = v < 0 ? 0ULL - static_cast<unsigned long long>(v)
                                      : static_cast<unsigned long long>(v);
         u >= 10; u /= 10)
        ++n;
    return n;
}

char* putInt(char* p, long long v) {
    return std::to_chars(p, p + 24, v).ptr;
}

} // namespace

std::string CellTable::toFileText() const {
    // Two passes: the exact size first, then every byte written in place. A large store
    // is saved after every change to a dated task, so this is worth the few extra lines.
    std::size_t size =
        static_cast<std::size_t>(decimalDigits(cols_) + decimalDigits(rowCount())) + 3;
    for (int c = 0; c < cols_; ++c)
        size += static_cast<std::size_t>(decimalDigits(c) +
                                         decimalDigits(widths_[static_cast<size_t>(c)])) +
                6;
    for (int r = 0; r < rowCount(); ++r) {
        const Row& row = rows_[static_cast<size_t>(r)];
        const auto rowDigits = static_cast<std::size_t>(decimalDigits(r));
        for (int c = 0; c < cols_; ++c) {
            const std::size_t n = row[static_cast<size_t>(c)].size();
            if (n != 0)
                size += static_cast<std::size_t>(decimalDigits(c)) + rowDigits + n + 4;
        }
    }

    std::string out(size, '\0');
    char* p = out.data();
    const auto put = [&p](const char* text, std::size_t n) {
        std::memcpy(p, text, n);
        p += n;
    };
    p = putInt(p, cols_);
    *p++ = ',';
    p = putInt(p, rowCount());
    put("\r\n", 2);
    for (int c = 0; c < cols_; ++c) {
        put("cw ", 3);
        p = putInt(p, c);
        *p++ = ',';
        p = putInt(p, widths_[static_cast<size_t>(c)]);
        put("\r\n", 2);
    }
    for (int r = 0; r < rowCount(); ++r) {
        const Row& row = rows_[static_cast<size_t>(r)];
        for (int c = 0; c < cols_; ++c) {
            const std::string& text = row[static_cast<size_t>(c)];
            if (text.empty())
                continue;
            p = putInt(p, c);
            *p++ = ',';
            p = putInt(p, r);
            *p++ = ',';
            // Line breaks inside a cell travel as TAB (for CR) and BS (for LF).
            for (const char ch : text)
                *p++ = ch == '\r' ? '\t' : ch == '\n' ? '\b' : ch;
            put("\r\n", 2);
        }
    }
    return out;
}

bool CellTable::trySaveTable(const std::string& path, std::string& error) const {
    return writeFileAtomic(path, toFileText(), error);
}

bool CellTable::saveTable(const std::string& path) const {
    std::string error;
    if (trySaveTable(path, error))
        return true;
    showError("Could not save file " + path + ": " + error);
    return false;
}

void CellTable::loadTable(const std::string& path) {
    std::string bytes;
    std::string why;
    if (!readFileBytes(path, bytes, &why)) {
        if (!pathExists(path))
            throw TableFileError("File " + path + " not found");
        // A folder or a file we may not read is there all the same: saying "not found"
        // would hide why.
        throw TableFileError("File " + path + " cannot be read: " + why);
    }
    fromFileText(decodeFileBytes(std::move(bytes)), path);
}

void CellTable::fromFileText(const std::string& text, const std::string& path) {
    const std::string_view all(text);
    std::size_t pos = 0;
    // Lines end with CR LF; a bare LF (a hand-edited file) ends a line too.
    auto nextLine = [&](std::string_view& line) {
        if (pos >= all.size())
            return false;
        std::size_t end = all.find('\n', pos);
        if (end == std::string_view::npos)
            end = all.size();
        line = all.substr(pos, end - pos);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        pos = end + 1;
        return true;
    };

    std::string_view line;
    long long newCols = cols_;
    long long newRows = rowCount();
    if (nextLine(line) && !line.empty()) {
        const std::size_t comma = line.find(',');
        if (comma == std::string_view::npos || !parseInt(line.substr(0, comma), newCols) ||
            !parseInt(line.substr(comma + 1), newRows))
            throw TableFileError(corruptMessage(path));
    }
    if (newCols < 1 || newRows < 1)
        throw TableFileError(corruptMessage(path));
    // A damaged or hostile dimension line must not make us allocate without bound. Each
    // cell and each row costs a few dozen bytes even when empty, so the table may hold at
    // most 200000 cells and rows plus four per byte of the file, and at most 10000 columns:
    // a few megabytes for a tiny file, and far more than any file we write needs.
    constexpr long long kMaxColumns = 10000;
    const long long budget = 200000LL + 4LL * static_cast<long long>(text.size());
    if (newCols > kMaxColumns || newRows > budget / (newCols + 1))
        throw TableFileError(corruptMessage(path));

    const int c2 = static_cast<int>(newCols);
    const int r2 = static_cast<int>(newRows);
    std::vector<Row> rows(static_cast<size_t>(r2), Row(static_cast<size_t>(c2)));
    std::vector<int> widths = widths_;
    widths.resize(static_cast<size_t>(c2), kDefaultWidth);

    while (nextLine(line)) {
        const std::size_t comma = line.find(',');
        if (comma == std::string_view::npos)
            continue;
        long long index = 0;
        if (line.size() >= 2 && line[0] == 'c' && line[1] == 'w') {
            long long width = 0;
            if (line.size() > 3 && parseInt(line.substr(3, comma - 3), index) &&
                parseInt(line.substr(comma + 1), width) && index >= 0 && index < c2 &&
                width >= -2147483647 - 1 && width <= 2147483647)
                widths[static_cast<size_t>(index)] = static_cast<int>(width);
            continue;
        }
        const std::size_t comma2 = line.find(',', comma + 1);
        long long r = 0;
        if (comma2 == std::string_view::npos || !parseInt(line.substr(0, comma), index) ||
            !parseInt(line.substr(comma + 1, comma2 - comma - 1), r))
            continue;
        if (index < 0 || index >= c2 || r < 0 || r >= r2)
            continue;
        std::string cellText(line.substr(comma2 + 1));
        for (char& ch : cellText)
            ch = ch == '\t' ? '\r' : ch == '\b' ? '\n' : ch;
        rows[static_cast<size_t>(r)][static_cast<size_t>(index)] = std::move(cellText);
    }

    cols_ = c2;
    rows_ = std::move(rows);
    widths_ = std::move(widths);
    custom_.resize(static_cast<size_t>(cols_));
}

} // namespace dw
