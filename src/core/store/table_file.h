#pragma once

// The lines of a table file, for CellTable's own sources: how they are read and their texts
// decoded, the errors a load raises, and the loaded cells that keep the texts.

#include "core/store/cell_table.h"
#include "core/store/file_io.h"
#include "core/store/large_blocks.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace dw {

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

namespace table_file {

// A plain decimal integer, optionally signed; anything else (spaces, junk, overflow) is
// not a number. Files written by saveTable hold only plain decimal integers.
bool parseInt(std::string_view s, long long& out);

// What a load says of a file that holds no table, or would need more memory than a table
// of its size.
std::string corruptMessage(const std::string& path);

// What the walk over a file's lines saw of it, to tell whether it was cut short.
struct FileExtent {
    long long lastRow = -1; // the last row inside the table with a cell line
    bool lastWidth = false; // the width line of the table's last column
    bool lineEnded = false; // the file's last byte ends a line
};

// A file cut short is damaged like any other: loading it would show a table with rows
// missing, and the next save would drop them for good. Throws TableFileError for one.
void checkWhole(const TableFileRules& rules, long long rows, const FileExtent& seen,
                const std::string& path);

// Why a table's file could not be had: too large to be a table, missing, or there but not
// readable (a folder, or a file we may not read: saying "not found" would hide why). Throws
// TableFileError unless `read` is Ok.
void throwUnlessRead(ReadResult read, const std::string& path, const std::string& why);

// A stored text's line breaks back (TAB to CR, BS to LF), in place. Answers whether it is
// ASCII.
bool decodeLineBreaks(char* p, std::size_t n);

// A stored text decoded (decodeLineBreaks, and Windows-1252 read as such), in a string of its
// own. `plain` says it needs no decoding.
std::string decodedCopy(std::string_view stored, bool plain);

// Inline, with the walk below: it reads every cell of a large store.
// Whether a stored text needs no decoding: no TAB or BS (line breaks) and no byte of a
// non-ASCII character. Eight bytes at a time.
inline bool isPlainText(const char* p, const char* end) {
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
inline const char* readSmallNumber(const char* p, const char* end, long long& out) {
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

} // namespace table_file

} // namespace dw
