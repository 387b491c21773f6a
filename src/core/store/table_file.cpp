#include "core/store/table_file.h"

#include "core/store/text_codec.h"

#include <charconv>
#include <cstring>
#include <string_view>

namespace dw {

namespace table_file {

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

namespace {

std::string cutShortMessage(const std::string& path) {
    return "File " + path + " is cut short: it ends before all of its rows";
}

} // namespace

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

namespace {

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

} // namespace

std::string decodedCopy(std::string_view stored, bool plain) {
    std::string text;
    appendDecoded(text, stored, plain);
    return text;
}

} // namespace table_file

CellTable::LoadedCells::Ref CellTable::LoadedCells::addDecoded(std::string_view stored,
                                                               bool plain) {
    const std::size_t at = table_file::appendDecoded(converted, stored, plain);
    return {static_cast<std::uint32_t>(at),
            static_cast<std::uint32_t>(converted.size() - at) | kConverted};
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

Status CellTable::saveTable(const std::string& path) const {
    std::string error;
    if (trySaveTable(path, error))
        return {};
    return Status::failure("Could not save file " + path + ": " + error);
}

bool CellTable::isSavedAs(const std::string& path) const {
    if (savedSize_ < 0 || savedRevision_ != revision_ || savedPath_ != path)
        return false;
    // Another program (or the user) may have changed or removed the file since.
    std::int64_t size = 0, time = 0;
    return fileStamp(path, size, time) && size == savedSize_ && time == savedTime_;
}

Status CellTable::saveTableIfChanged(const std::string& path) const {
    if (isSavedAs(path))
        return {};
    return saveTable(path);
}

} // namespace dw
