#include "core/store/helpers.h"

#include "core/dates/date_parse.h"
#include "core/store/file_io.h"
#include "core/store/save_guard.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <filesystem>

namespace dw {

std::string joinPath(const std::string& dir, const std::string& name) {
#ifdef _WIN32
    constexpr char sep = '\\';
#else
    constexpr char sep = '/';
#endif
    if (dir.empty())
        return name;
    const char last = dir.back();
    if (last == '/' || last == sep)
        return dir + name;
    return dir + sep + name;
}

double numberOfText(std::string_view text, const FormatSettings& fs) {
    // The stored "." stands for the locale's decimal separator; read it back as a point.
    std::string s(text);
    if (const auto dot = s.find('.'); dot != std::string::npos)
        s[dot] = fs.decimalSeparator;
    std::size_t b = 0, e = s.size();
    while (b < e && s[b] == ' ')
        ++b;
    while (e > b && s[e - 1] == ' ')
        --e;
    s = s.substr(b, e - b);
    if (s.empty())
        return 0.0;
    std::string plain;
    plain.reserve(s.size());
    bool seenPoint = false;
    for (const char c : s) {
        if (c == fs.decimalSeparator && !seenPoint) {
            plain += '.';
            seenPoint = true;
        } else if (std::isdigit(static_cast<unsigned char>(c)) || c == '+' || c == '-' ||
                   c == 'e' || c == 'E') {
            plain += c;
        } else {
            return 0.0;
        }
    }
    char* end = nullptr;
    errno = 0;
    const double v = std::strtod(plain.c_str(), &end);
    if (end != plain.c_str() + plain.size() || errno == ERANGE || !std::isfinite(v))
        return 0.0;
    return v;
}

double timeOfText(std::string_view text, const FormatSettings& fs, const Clock& clock) {
    if (const auto t = parseTimeText(text, fs))
        return *t;
    return clock.now();
}

bool isBlankText(std::string_view text) {
    for (const char c : text)
        if (c != ' ' && c != '\r' && c != '\n' && c != '\b')
            return false;
    return true;
}

std::string firstLine(std::string_view text) {
    const auto p = text.find("\r\n");
    return std::string(p == std::string_view::npos ? text : text.substr(0, p));
}

std::string linesToText(const std::vector<std::string>& lines) {
    if (lines.size() == 1)
        return lines.front();
    std::string out;
    for (const auto& line : lines) {
        out += line;
        out += "\r\n";
    }
    return out;
}

void textToLines(std::string_view text, std::vector<std::string>& lines) {
    lines.clear();
    std::size_t pos = 0;
    for (;;) {
        const auto p = text.find("\r\n", pos);
        if (p == std::string_view::npos)
            break;
        lines.emplace_back(text.substr(pos, p - pos));
        pos = p + 2;
    }
    if (pos < text.size())
        lines.emplace_back(text.substr(pos));
}

void textToSingleLine(std::string_view text, std::vector<std::string>& lines) {
    lines.clear();
    std::string rest;
    rest.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            ++i;
            continue;
        }
        rest += text[i];
    }
    if (!rest.empty())
        lines.push_back(std::move(rest));
}

void clearDataRows(CellTable& table) {
    for (int r = 1; r < table.rowCount(); ++r)
        for (auto& c : table.row(r))
            c.clear();
}

int firstFreeRow(CellTable& table) {
    for (int r = 1; r < table.rowCount(); ++r)
        if (table.cell(0, r).empty())
            return r;
    table.insertRows(table.rowCount(), 1);
    return table.rowCount() - 1;
}

void loadTableIfPresent(CellTable& table, const std::string& path, bool keepDamaged) {
    if (!pathExists(path))
        return;
    try {
        table.loadTable(path);
    } catch (const TableFileError& e) {
        if (!keepDamaged)
            throw;
        std::error_code ec;
        if (std::filesystem::is_directory(path, ec)) {
            // Nothing to keep aside, and nothing may take its place while it is there.
            refuseSavingFile(path, "it is a folder");
            throw TableFileError(std::string(e.what()) +
                                 "\nDayweaver will not save this file until it is started again.");
        }
        const std::string copy = keepDamagedCopy(path);
        if (!copy.empty())
            throw TableFileError(std::string(e.what()) + "\nA copy of it was kept as " + copy +
                                 ".");
        // The file on disk may be the only copy of the user's data: the table stays empty
        // and must never be saved over it.
        refuseSavingFile(path, "it could not be read and no copy of it could be kept aside");
        throw TableFileError(std::string(e.what()) +
                             "\nNo copy of it could be kept aside, so Dayweaver will not save "
                             "this file until it is started again.");
    }
}

int rowHolding(const CellTable& table, const std::vector<std::string>& cells, int preferred) {
    if (preferred >= 1 && preferred < table.rowCount() && table.row(preferred) == cells)
        return preferred;
    for (int r = 1; r < table.rowCount(); ++r)
        if (table.row(r) == cells)
            return r;
    return -1;
}

void takeRowOut(CellTable& table, int row) {
    if (table.rowCount() < 3)
        clearDataRows(table);
    else if (row >= 1 && row < table.rowCount())
        table.removeRows(row, 1);
}

} // namespace dw
