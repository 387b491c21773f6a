#include "core/store/cell_table.h"
#include "core/store/file_io.h"
#include "core/store/table_file.h"
#include "core/store/text_codec.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <string_view>
#include <utility>
#include <vector>

namespace dw {

using namespace table_file;

namespace {

bool mapFilesWhenLoading = false;

// Offsets into a loaded file are 32 bits wide, with room for its converted lines; far
// beyond any table this program writes.
constexpr std::size_t kMaxFileSize = 0x7FFFFFFFu / 3;

} // namespace

void CellTable::setMapFilesWhenLoading(bool map) {
    mapFilesWhenLoading = map;
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
