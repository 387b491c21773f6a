#pragma once

#include "core/store/cell_table.h"

#include <string>
#include <vector>

namespace dw::test {

using Rows = std::vector<std::string>;

// A table's data rows, each as its cells joined by "|", for compact expectations.
inline Rows rowsOf(const CellTable& t) {
    Rows out;
    for (int r = 1; r < t.rowCount(); ++r) {
        std::string line;
        for (int c = 0; c < t.colCount(); ++c)
            line += (c ? "|" : "") + t.cell(c, r);
        out.push_back(line);
    }
    return out;
}

// The data rows of a table file on disk.
inline Rows fileRows(const std::string& path) {
    CellTable t(1, 1);
    t.loadTable(path);
    return rowsOf(t);
}

// Fills a table's data rows from cell texts; the header row stays.
inline void setDataRows(CellTable& t, const std::vector<std::vector<std::string>>& rows) {
    t.setRowCount(static_cast<int>(rows.size()) + 1);
    for (size_t r = 0; r < rows.size(); ++r)
        for (size_t c = 0; c < rows[r].size(); ++c)
            t.setCell(static_cast<int>(c), static_cast<int>(r) + 1, rows[r][c]);
}

// Writes a table file the way the program does: the table as created, with these rows.
inline Status saveDataRows(CellTable t, const std::vector<std::vector<std::string>>& rows,
                           const std::string& path) {
    setDataRows(t, rows);
    return t.saveTable(path);
}

} // namespace dw::test
