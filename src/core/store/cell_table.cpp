#include "core/store/cell_table.h"

#include "core/prompts/prompts.h"
#include "core/store/file_io.h"
#include "core/store/text_codec.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <new>
#include <string_view>
#include <utility>

namespace dw {

namespace {

constexpr int kDefaultWidth = 64;

bool mapFilesWhenLoading = false;

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

std::string cutShortMessage(const std::string& path) {
    return "File " + path + " is cut short: it ends before all of its rows";
}

// What the walk over a file's lines saw of it, to tell whether it was cut short.
struct FileExtent {
    long long lastRow = -1; // the last row inside the table with a cell line
    bool lastWidth = false; // the width line of the table's last column
    bool lineEnded = false; // the file's last byte ends a line
};

// A file cut short is damaged like any other: loading it would show a table with rows
// missing, and the next save would drop them for good.
void checkWhole(const TableFileRules& rules, long long rows, const FileExtent& seen,
                const std::string& path) {
    bool whole = seen.lineEnded;
    // Rows after the last one the file holds a cell of: blank rows, or rows lost.
    const long long blank = rows - 1 - std::max(seen.lastRow, 0LL);
    if (whole && blank > 0) {
        const int allowed =
            seen.lastRow >= 1 ? rules.blankRowsAtEnd : rules.blankRowsAtEndWithoutData;
        if (allowed != TableFileRules::kAny)
            whole = seen.lastWidth && blank <= allowed;
    }
    if (!whole)
        throw TableFileError(cutShortMessage(path));
}

// Why a table's file could not be had: too large to be a table, missing, or there but not
// readable (a folder, or a file we may not read: saying "not found" would hide why).
void throwUnlessRead(ReadResult read, const std::string& path, const std::string& why) {
    switch (read) {
    case ReadResult::Ok:
        return;
    case ReadResult::TooLarge:
        throw TableFileError(corruptMessage(path));
    case ReadResult::Failed:
        if (!pathExists(path))
            throw TableFileError("File " + path + " not found");
        throw TableFileError("File " + path + " cannot be read: " + why);
    }
}

} // namespace

// The loaded cells: where each cell's text lies, either in the file's own bytes (mapped, or
// in memory and decoded in place) when it needed no change there, or in `converted`, which
// holds the rest decoded to UTF-8 (every text, for a file read a stretch at a time).
struct CellTable::LoadedCells {
    struct Ref {
        std::uint32_t offset = 0;
        std::uint32_t length = 0; // the top bit: the text lies in `converted`
    };
    static constexpr std::uint32_t kConverted = 0x80000000u;

    // Room for the refs of `rows` rows of `cols` cells, every text empty.
    LoadedCells(int cols, std::size_t rows)
        : refs(static_cast<std::size_t>(cols) * rows), cols(cols) {}

    // A stored text decoded onto the end of `converted`, and where it lies there.
    Ref addDecoded(std::string_view stored, bool plain);

    MappedFile bytes;
    std::basic_string<char, std::char_traits<char>, LargeBlockAllocator<char>> converted;
    std::vector<Ref, LargeBlockAllocator<Ref>> refs; // cols per row, row after row
    int cols = 0;

    std::string_view text(int col, std::uint32_t row) const {
        const Ref& ref = refs[static_cast<std::size_t>(row) * static_cast<std::size_t>(cols) +
                              static_cast<std::size_t>(col)];
        if (ref.length & kConverted)
            return {converted.data() + ref.offset, ref.length & ~kConverted};
        return {bytes.data() + ref.offset, ref.length};
    }
};

namespace {

// Offsets into a loaded file are 32 bits wide, with room for its converted lines; far
// beyond any table this program writes.
constexpr std::size_t kMaxFileSize = 0x7FFFFFFFu / 3;

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
        const RowSlot& row = rows_[static_cast<size_t>(r)];
        const auto rowDigits = static_cast<std::size_t>(decimalDigits(r));
        for (int c = 0; c < cols_; ++c) {
            const std::size_t n = slotView(row, c).size();
            if (n != 0)
                size += static_cast<std::size_t>(decimalDigits(c)) + rowDigits + n + 4;
        }
    }

    std::string out;
    out.reserve(size); // advised before its pages are first touched
    preferLargePages(out.data(), size);
    out.resize(size);
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
        const RowSlot& row = rows_[static_cast<size_t>(r)];
        for (int c = 0; c < cols_; ++c) {
            const std::string_view text = slotView(row, c);
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
    if (partial_) {
        error = "only part of the table was loaded";
        return false;
    }
    if (!writeFileAtomic(path, toFileText(), error))
        return false;
    savedPath_ = path;
    savedRevision_ = revision_;
    if (!fileStamp(path, savedSize_, savedTime_))
        savedSize_ = -1;
    return true;
}

bool CellTable::saveTable(const std::string& path) const {
    std::string error;
    if (trySaveTable(path, error))
        return true;
    showError("Could not save file " + path + ": " + error);
    return false;
}

bool CellTable::isSavedAs(const std::string& path) const {
    if (savedSize_ < 0 || savedRevision_ != revision_ || savedPath_ != path)
        return false;
    // Another program (or the user) may have changed or removed the file since.
    std::int64_t size = 0, time = 0;
    return fileStamp(path, size, time) && size == savedSize_ && time == savedTime_;
}

bool CellTable::saveTableIfChanged(const std::string& path) const {
    return isSavedAs(path) || saveTable(path);
}

void CellTable::loadTable(const std::string& path) {
    // The stamp comes first: a change made while we read shows as a newer file later.
    std::int64_t size = -1, time = 0;
    if (!fileStamp(path, size, time))
        size = -1;
    if (mapFilesWhenLoading) {
        MappedFile file;
        std::string why;
        throwUnlessRead(mapWholeFile(path, kMaxFileSize, file, why), path, why);
        parseFileText(std::move(file), path);
    } else {
        readTableFile(path);
    }
    savedPath_ = path;
    savedRevision_ = revision_;
    savedSize_ = size;
    savedTime_ = time;
}

void CellTable::fromFileText(const std::string& text, const std::string& path) {
    if (text.size() > kMaxFileSize)
        throw TableFileError(corruptMessage(path));
    std::unique_ptr<char[]> bytes(new (std::nothrow) char[text.size() + 1]);
    if (!bytes)
        throw TableFileError(corruptMessage(path));
    std::memcpy(bytes.get(), text.data(), text.size());
    parseFileText(MappedFile(std::move(bytes), text.size()), path);
}

namespace {

// Whether a stored text needs no decoding: no TAB or BS (line breaks) and no byte of a
// non-ASCII character. Eight bytes at a time.
bool isPlainText(const char* p, const char* end) {
    constexpr std::uint64_t ones = 0x0101010101010101ULL;
    constexpr std::uint64_t highs = 0x8080808080808080ULL;
    const auto hasByte = [](std::uint64_t v, std::uint64_t pattern) {
        const std::uint64_t x = v ^ pattern;
        return ((x - ones) & ~x & highs) != 0;
    };
    for (; end - p >= 8; p += 8) {
        std::uint64_t v;
        std::memcpy(&v, p, 8);
        if ((v & highs) != 0 || hasByte(v, ones * '\t') || hasByte(v, ones * '\b'))
            return false;
    }
    for (; p < end; ++p)
        if (*p == '\t' || *p == '\b' || (static_cast<unsigned char>(*p) & 0x80))
            return false;
    return true;
}

// At most nine digits, at least one: a cell line's column or row.
const char* readSmallNumber(const char* p, const char* end, long long& out) {
    const char* first = p;
    long long v = 0;
    while (p < end && *p >= '0' && *p <= '9' && p - first < 9)
        v = v * 10 + (*p++ - '0');
    if (p == first)
        return nullptr;
    out = v;
    return p;
}

// A table file's lines after the dimension line. Each cell line inside the table's
// columns and rows that wanted(col, row, lineStart) picks is handed to onCell(col, row, text,
// plain) with its text as stored (line breaks still TAB and BS); `plain` says it holds neither
// those nor any non-ASCII byte, so it needs no decoding. Column widths go to `widths`, and
// what the lines show of the file's extent to `seen`, when given. The file is not changed.
template <typename Wanted, typename OnCell>
void walkCellLines(const char* data, std::size_t size, std::size_t pos, int fileCols, int fileRows,
                   std::vector<int>* widths, FileExtent* seen, Wanted&& wanted, OnCell&& onCell) {
    const char* const end = data + size;
    // In locals while walking: a count check must not slow the load of a large store.
    long long lastRow = seen ? seen->lastRow : -1;
    bool lastWidth = seen && seen->lastWidth;
    while (pos < size) {
        // The common line, "col,row,text".
        const char* p = data + pos;
        long long col = 0, row = 0;
        const char* q = readSmallNumber(p, end, col);
        if (q && q < end && *q == ',' && (q = readSmallNumber(q + 1, end, row)) && q < end &&
            *q == ',') {
            const char* const text = q + 1;
            const void* lf = std::memchr(text, '\n', static_cast<std::size_t>(end - text));
            const char* t = lf ? static_cast<const char*>(lf) : end;
            pos = static_cast<std::size_t>(t - data) + 1;
            if (col < fileCols && row < fileRows) {
                lastRow = std::max(lastRow, row);
                if (wanted(static_cast<int>(col), static_cast<int>(row),
                           static_cast<std::size_t>(p - data))) {
                    const char* textEnd = t > text && t[-1] == '\r' ? t - 1 : t;
                    onCell(static_cast<int>(col), static_cast<int>(row),
                           std::string_view(text, static_cast<std::size_t>(textEnd - text)),
                           isPlainText(text, textEnd));
                }
            }
            continue;
        }
        // Anything else: column widths and odd or damaged lines, which any line may be.
        const void* lf = std::memchr(p, '\n', size - pos);
        const char* lineEnd = lf ? static_cast<const char*>(lf) : end;
        pos = static_cast<std::size_t>(lineEnd - data) + 1;
        std::string_view line(p, static_cast<std::size_t>(lineEnd - p));
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        const std::size_t comma = line.find(',');
        if (comma == std::string_view::npos)
            continue;
        long long index = 0;
        if (line.size() >= 2 && line[0] == 'c' && line[1] == 'w') {
            long long width = 0;
            if (line.size() > 3 && parseInt(line.substr(3, comma - 3), index) &&
                parseInt(line.substr(comma + 1), width) && index >= 0 && index < fileCols &&
                width >= -2147483647 - 1 && width <= 2147483647) {
                if (widths)
                    (*widths)[static_cast<size_t>(index)] = static_cast<int>(width);
                lastWidth = lastWidth || index == fileCols - 1;
            }
            continue;
        }
        const std::size_t comma2 = line.find(',', comma + 1);
        long long r = 0;
        if (comma2 == std::string_view::npos || !parseInt(line.substr(0, comma), index) ||
            !parseInt(line.substr(comma + 1, comma2 - comma - 1), r))
            continue;
        if (index < 0 || index >= fileCols || r < 0 || r >= fileRows)
            continue;
        lastRow = std::max(lastRow, r);
        if (!wanted(static_cast<int>(index), static_cast<int>(r),
                    static_cast<std::size_t>(p - data)))
            continue;
        onCell(static_cast<int>(index), static_cast<int>(r), line.substr(comma2 + 1), false);
    }
    if (seen) {
        seen->lastRow = lastRow;
        seen->lastWidth = lastWidth;
    }
}

// A stored text's line breaks back (TAB to CR, BS to LF), in place. Answers whether it is
// ASCII.
bool decodeLineBreaks(char* p, std::size_t n) {
    bool ascii = true;
    for (std::size_t i = 0; i < n; ++i) {
        if (p[i] == '\t')
            p[i] = '\r';
        else if (p[i] == '\b')
            p[i] = '\n';
        else if (static_cast<unsigned char>(p[i]) & 0x80)
            ascii = false;
    }
    return ascii;
}

// A stored text decoded onto the end of `out`: line breaks back, and a text that is not
// UTF-8 read as an old Windows-1252 line. `plain` says it needs neither. Answers where it
// starts.
template <typename Text> std::size_t appendDecoded(Text& out, std::string_view stored, bool plain) {
    const std::size_t at = out.size();
    out += stored;
    if (!plain && !decodeLineBreaks(out.data() + at, stored.size()) &&
        !isValidUtf8(std::string_view(out).substr(at))) {
        const std::string converted = cp1252ToUtf8(std::string_view(out).substr(at));
        out.resize(at);
        out += converted;
    }
    return at;
}

std::string decodedCopy(std::string_view stored, bool plain) {
    std::string text;
    appendDecoded(text, stored, plain);
    return text;
}

} // namespace

CellTable::LoadedCells::Ref CellTable::LoadedCells::addDecoded(std::string_view stored,
                                                               bool plain) {
    const std::size_t at = appendDecoded(converted, stored, plain);
    return {static_cast<std::uint32_t>(at),
            static_cast<std::uint32_t>(converted.size() - at) | kConverted};
}

namespace {} // namespace

void CellTable::setMapFilesWhenLoading(bool map) {
    mapFilesWhenLoading = map;
}

CellTable::FileShape CellTable::readFileShape(const char* data, std::size_t size,
                                              const std::string& path,
                                              std::size_t wholeSize) const {
    // A 0-byte file holds no table at all: not even the dimension line the writer always
    // writes. Taken for an empty table it would wipe the tasks of whoever trusts it.
    if (size == 0) {
        if (!rules_.emptyFileIsBlank)
            throw TableFileError(corruptMessage(path));
        FileShape shape;
        shape.cols = cols_;
        shape.rows = 2;
        shape.tableCols = std::max(cols_, minCols_);
        shape.empty = true;
        return shape;
    }
    std::size_t pos = 0;
    // A byte-order mark (a file saved by a text editor) is no part of the first line.
    if (size >= 3 && std::memcmp(data, "\xEF\xBB\xBF", 3) == 0)
        pos = 3;
    long long newCols = cols_;
    long long newRows = rowCount();
    // Lines end with CR LF; a bare LF (a hand-edited file) ends a line too.
    if (pos < size) {
        const void* lf = std::memchr(data + pos, '\n', size - pos);
        const std::size_t end =
            lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - data) : size;
        std::string_view line(data + pos, end - pos);
        pos = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (!line.empty()) {
            const std::size_t comma = line.find(',');
            if (comma == std::string_view::npos || !parseInt(line.substr(0, comma), newCols) ||
                !parseInt(line.substr(comma + 1), newRows))
                throw TableFileError(corruptMessage(path));
        }
    }
    if (newCols < 1 || newRows < 1)
        throw TableFileError(corruptMessage(path));
    // A damaged or hostile dimension line must not make us allocate without bound. Both
    // limits count the table as its owner will hold it, widened to its minimum columns.
    // Cells plus rows: at most 200000 plus four per byte of the file, and at most 10000
    // columns. Bytes: what loading costs (16 a row, 8 a cell of the file) plus what giving
    // every row strings of its own would add (56 a row, 32 a cell), with the file itself
    // and its converted lines, stays under ten times the file's size plus 50 MiB.
    constexpr long long kMaxColumns = 10000;
    const long long widened = std::max<long long>(newCols, minCols_);
    const auto fileSize = static_cast<long long>(std::max(size, wholeSize));
    const long long cellBudget = 200000LL + 4LL * fileSize;
    const long long byteBudget = 48LL * 1024 * 1024 + 6LL * fileSize;
    if (newCols > kMaxColumns || widened > kMaxColumns || newRows > cellBudget / (widened + 1) ||
        newRows > byteBudget / (72 + 8 * newCols + 32 * widened))
        throw TableFileError(corruptMessage(path));
    return {static_cast<int>(newCols), static_cast<int>(newRows), static_cast<int>(widened),
            std::min(pos, size), false};
}

void CellTable::parseFileText(MappedFile bytes, const std::string& path) {
    char* const data = bytes.data();
    const FileShape shape = readFileShape(data, bytes.size(), path, bytes.size());
    const bool mapped = bytes.isMapped();
    try {
        auto loaded = std::make_shared<LoadedCells>(shape.cols, shape.rows);
        std::vector<int> widths = widths_;
        widths.resize(static_cast<size_t>(shape.tableCols), kDefaultWidth);
        FileExtent seen;
        seen.lineEnded = bytes.size() > 0 && data[bytes.size() - 1] == '\n';
        walkCellLines(
            data, bytes.size(), shape.firstLine, shape.cols, shape.rows, &widths, &seen,
            [](int, int, std::size_t) { return true; },
            [&](int col, int row, std::string_view stored, bool plain) {
                LoadedCells::Ref& ref = loaded->refs[static_cast<std::size_t>(row) *
                                                         static_cast<std::size_t>(shape.cols) +
                                                     static_cast<std::size_t>(col)];
                const auto offset = static_cast<std::size_t>(stored.data() - data);
                // A text read into memory is decoded where it lies. A mapped file is never
                // written: each page written would cost a copy of it, so a text that needs
                // decoding goes beside the file. Each line is UTF-8 when it is valid UTF-8,
                // else an old Windows-1252 line.
                if (plain || (!mapped && (decodeLineBreaks(data + offset, stored.size()) ||
                                          isValidUtf8(stored)))) {
                    ref = {static_cast<std::uint32_t>(offset),
                           static_cast<std::uint32_t>(stored.size())};
                    return;
                }
                // (A text in memory has its line breaks back already: decoding them again
                // changes nothing.)
                ref = loaded->addDecoded(stored, false);
            });
        if (!shape.empty)
            checkWhole(rules_, shape.rows, seen, path);
        loaded->bytes = std::move(bytes);

        useLoadedCells(std::move(loaded), static_cast<std::uint32_t>(shape.rows), std::move(widths),
                       shape, false);
    } catch (const std::bad_alloc&) {
        // Out of memory is one more way for a file to be too much for us.
        throw TableFileError(corruptMessage(path));
    }
}

void CellTable::readTableFile(const std::string& path) {
    FileReader file;
    std::string why;
    throwUnlessRead(file.open(path, why), path, why);
    if (file.sizeHint() > kMaxFileSize)
        throwUnlessRead(ReadResult::TooLarge, path, why);
    try {
        // The file goes through one small buffer, a stretch of whole lines at a time, and
        // each cell's text is copied out decoded: memory holds the texts once, never the
        // whole file (fresh memory is what a large load mostly costs).
        std::size_t capacity = std::min<std::size_t>(file.sizeHint() + 1, 256 * 1024);
        std::unique_ptr<char[]> buffer(new char[capacity]);
        std::size_t held = 0;  // bytes in the buffer
        std::size_t total = 0; // bytes read from the file
        bool atEnd = false;
        char lastByte = 0;
        // More of the file behind what the buffer holds, growing it when it is full (a
        // line longer than the buffer).
        const auto readMore = [&] {
            if (held == capacity) {
                const std::size_t bigger = capacity * 2;
                std::unique_ptr<char[]> grown(new char[bigger]);
                std::memcpy(grown.get(), buffer.get(), held);
                buffer = std::move(grown);
                capacity = bigger;
            }
            std::size_t got = 0;
            if (!file.read(buffer.get() + held, capacity - held, got, why))
                throwUnlessRead(ReadResult::Failed, path, why);
            held += got;
            total += got;
            atEnd = got == 0;
            if (got > 0)
                lastByte = buffer[held - 1];
            if (total > kMaxFileSize)
                throwUnlessRead(ReadResult::TooLarge, path, why);
        };
        // The first line, whole, gives the table's shape.
        while (!atEnd && !std::memchr(buffer.get(), '\n', held))
            readMore();
        const FileShape shape = readFileShape(buffer.get(), held, path, file.sizeHint());

        auto loaded = std::make_shared<LoadedCells>(shape.cols, shape.rows);
        // The texts are shorter than the file; only the part filled is ever touched.
        loaded->converted.reserve(file.sizeHint());
        std::vector<int> widths = widths_;
        widths.resize(static_cast<size_t>(shape.tableCols), kDefaultWidth);
        FileExtent seen;

        std::size_t pos = shape.firstLine;
        for (;;) {
            const char* const data = buffer.get();
            // The whole lines held, or at the end whatever is left.
            std::size_t end = held;
            if (!atEnd) {
                const char* p = data + held;
                while (p > data + pos && p[-1] != '\n')
                    --p;
                end = static_cast<std::size_t>(p - data);
            }
            walkCellLines(
                data, end, pos, shape.cols, shape.rows, &widths, &seen,
                [](int, int, std::size_t) { return true; },
                [&](int col, int row, std::string_view stored, bool plain) {
                    loaded->refs[static_cast<std::size_t>(row) *
                                     static_cast<std::size_t>(shape.cols) +
                                 static_cast<std::size_t>(col)] = loaded->addDecoded(stored, plain);
                });
            if (atEnd)
                break;
            // What is left of a line goes to the front, and more is read behind it.
            std::memmove(buffer.get(), data + end, held - end);
            held -= end;
            pos = 0;
            readMore();
        }
        seen.lineEnded = lastByte == '\n';
        if (!shape.empty)
            checkWhole(rules_, shape.rows, seen, path);

        useLoadedCells(std::move(loaded), static_cast<std::uint32_t>(shape.rows), std::move(widths),
                       shape, false);
    } catch (const std::bad_alloc&) {
        throw TableFileError(corruptMessage(path));
    }
}

void CellTable::useLoadedCells(std::shared_ptr<LoadedCells> loaded, std::uint32_t rowCount,
                               std::vector<int> widths, const FileShape& shape, bool partial) {
    // Row r is the loaded row r.
    RowSlots rows(rowCount);
    for (std::uint32_t r = 0; r < rowCount; ++r)
        rows[r].source = r;
    cols_ = shape.tableCols;
    rows_ = std::move(rows);
    loaded_ = std::move(loaded);
    loadedCols_ = shape.cols;
    widths_ = std::move(widths);
    custom_.resize(static_cast<size_t>(cols_));
    partial_ = partial;
    // The owner's captions, not whatever the file's row 0 holds (or lacks).
    for (std::size_t c = 0; c < rules_.header.size() && c < static_cast<std::size_t>(cols_); ++c)
        ownCells(rows_[0])[c] = rules_.header[c];
    changed();
}

void CellTable::loadRowsWhere(const std::string& path, int col,
                              const std::function<bool(std::string_view)>& keep) {
    MappedFile file;
    std::string why;
    throwUnlessRead(mapWholeFile(path, kMaxFileSize, file, why, false), path, why);
    const char* const data = file.data();
    const FileShape shape = readFileShape(data, file.size(), path, file.size());
    try {
        std::vector<int> widths = widths_;
        widths.resize(static_cast<size_t>(shape.tableCols), kDefaultWidth);
        // First the verdict on every row's deciding cell (the last line for a cell wins,
        // wherever it lies), then the cells of the rows kept: the kept texts are copied, so
        // that nothing refers to the file afterwards. The file is read a stretch at a time,
        // each dropped from memory once walked: a large file never lies in memory whole.
        // A row without a deciding cell (or without that column) is judged by an empty one.
        std::vector<char> verdict(static_cast<size_t>(shape.rows), keep(std::string_view()));
        // Where each row's lines lie: from the start of its first to that of its last.
        std::vector<std::pair<std::uint32_t, std::uint32_t>> lines(static_cast<size_t>(shape.rows),
                                                                   {0xFFFFFFFFu, 0});
        constexpr std::size_t kStretch = 1 << 20;
        FileExtent extent;
        extent.lineEnded = file.size() > 0 && data[file.size() - 1] == '\n';
        for (std::size_t from = shape.firstLine; from < file.size();) {
            std::size_t to = file.size();
            if (file.size() - from > kStretch) {
                const void* lf =
                    std::memchr(data + from + kStretch, '\n', file.size() - from - kStretch);
                if (lf)
                    to = static_cast<std::size_t>(static_cast<const char*>(lf) - data) + 1;
            }
            file.readIn(from, to);
            walkCellLines(
                data, to, from, shape.cols, shape.rows, &widths, &extent,
                [&](int c, int r, std::size_t lineStart) {
                    auto& span = lines[static_cast<size_t>(r)];
                    span.first = std::min(span.first, static_cast<std::uint32_t>(lineStart));
                    span.second = std::max(span.second, static_cast<std::uint32_t>(lineStart));
                    return c == col;
                },
                [&](int, int r, std::string_view stored, bool plain) {
                    verdict[static_cast<size_t>(r)] = keep(decodedCopy(stored, plain));
                });
            file.dropFromMemory(from, to);
            from = to;
        }
        if (!shape.empty)
            checkWhole(rules_, shape.rows, extent, path);
        // Row 0, the header, always stays; the others keep their file order.
        std::vector<std::uint32_t> newRow(static_cast<size_t>(shape.rows), kNoSource);
        std::vector<std::pair<std::uint32_t, std::uint32_t>> spans;
        std::uint32_t kept = 0;
        for (int r = 0; r < shape.rows; ++r) {
            const auto i = static_cast<size_t>(r);
            const bool seen = lines[i].first <= lines[i].second;
            if (r == 0 || verdict[i]) {
                newRow[i] = kept++;
                if (seen)
                    spans.push_back(lines[i]);
            }
        }
        lines = {};

        auto loaded = std::make_shared<LoadedCells>(shape.cols, kept);
        // Only the stretches of the file that hold the kept rows' lines are read again,
        // each once: a file of our own holds a row's lines together.
        std::sort(spans.begin(), spans.end());
        std::size_t done = 0;
        for (const auto& [first, last] : spans) {
            const std::size_t from = std::max<std::size_t>(first, done);
            const void* lf = std::memchr(data + last, '\n', file.size() - last);
            const std::size_t to =
                lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - data) + 1
                   : file.size();
            if (from >= to)
                continue;
            done = to;
            walkCellLines(
                data, to, from, shape.cols, shape.rows, nullptr, nullptr,
                [&](int, int r, std::size_t) {
                    return newRow[static_cast<size_t>(r)] != kNoSource;
                },
                [&](int c, int r, std::string_view stored, bool plain) {
                    const std::uint32_t at = newRow[static_cast<size_t>(r)];
                    loaded
                        ->refs[static_cast<std::size_t>(at) * static_cast<std::size_t>(shape.cols) +
                               static_cast<std::size_t>(c)] = loaded->addDecoded(stored, plain);
                });
        }

        useLoadedCells(std::move(loaded), kept, std::move(widths), shape, true);
    } catch (const std::bad_alloc&) {
        throw TableFileError(corruptMessage(path));
    }
    savedPath_.clear();
    savedSize_ = -1;
}

} // namespace dw
