#pragma once

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace dw {

enum class SortDirection { Ascending, Descending };

// Raised by loadTable; what() is the exact message shown to the user.
class TableFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A grid of text cells, columns by rows; row 0 is the header row. Every task, holiday,
// completed-task and print table is one. Texts are UTF-8 and may hold CR LF line breaks.
class CellTable {
public:
    using Row = std::vector<std::string>;
    // Custom comparison of two cell texts: negative, zero or positive.
    using CompareFn = std::function<int(const std::string&, const std::string&)>;

    CellTable(int cols = 1, int rows = 1);

    const std::string& cell(int col, int row) const;
    void setCell(int col, int row, std::string text);

    int rowCount() const { return static_cast<int>(rows_.size()); }
    void setRowCount(int count);
    int colCount() const { return cols_; }
    void setColCount(int count);

    int colWidth(int col) const;
    void setColWidth(int col, int pixels);

    // Rows p..R-1 move down by n; the n new rows are empty. p may equal R (append).
    void insertRows(int p, int n);
    // Rows p..p+n-1 are dropped and the rows below move up.
    void removeRows(int p, int n);

    // Removes every data row the predicate picks, keeping the order of the others.
    void removeDataRowsIf(const std::function<bool(const Row&)>& pick);

    // Whole rows, for the store's bulk moves.
    const Row& row(int r) const { return rows_[static_cast<size_t>(r)]; }
    Row& row(int r) { return rows_[static_cast<size_t>(r)]; }

    // Sort settings. Columns without a custom comparison compare as text, byte by byte.
    int sortColumn() const { return sortColumn_; }
    void setSortColumn(int col) { sortColumn_ = col; }
    SortDirection sortDirection() const { return sortDirection_; }
    void setSortDirection(SortDirection d) { sortDirection_ = d; }
    void setCustomCompare(int col, CompareFn fn);
    // Whether the user may sort by a column (default: every column).
    void setCanSort(std::function<bool(int col)> fn) { canSort_ = std::move(fn); }
    bool canSort(int col) const { return col >= 0 && col < cols_ && (!canSort_ || canSort_(col)); }

    // Compares two data rows by the sort settings: the sort column, then each column to
    // its right up to C-2 (the last column never breaks a tie); descending reverses all.
    int compareRows(const Row& a, const Row& b) const;
    // Orders the data rows by the sort settings; row 0 stays. Stable, and cheap for a table
    // that is already sorted but for a few rows: it merges the sorted runs it finds.
    void sortRows();
    // A click on a header cell: sorts by that column when allowed and there are at least
    // two data rows. The sort column's own header reverses the direction; another column
    // becomes the sort column, ascending. Answers whether the table was sorted.
    bool sortByHeaderClick(int col);

    // Writes the table file atomically. On failure the old file stays whole, the error is
    // shown with showError and false is answered.
    bool saveTable(const std::string& path) const;
    // The same without showing anything; `error` gets the reason.
    bool trySaveTable(const std::string& path, std::string& error) const;
    // Replaces the table by the file's content. Throws TableFileError with the message
    // for the user when the file is missing, cannot be read (a folder, say) or holds no
    // columns or rows; the table is then unchanged.
    void loadTable(const std::string& path);

    // The file's bytes for this table, and the table for given file bytes (UTF-8, or
    // Windows-1252 when they are not valid UTF-8). `path` only names the source in errors.
    std::string toFileText() const;
    void fromFileText(const std::string& bytes, const std::string& path);

private:
    int compareColumn(int col, const std::string& a, const std::string& b) const;

    int cols_;
    std::vector<Row> rows_;
    std::vector<int> widths_;
    std::vector<CompareFn> custom_;
    std::function<bool(int)> canSort_;
    int sortColumn_ = 0;
    SortDirection sortDirection_ = SortDirection::Ascending;
};

} // namespace dw
