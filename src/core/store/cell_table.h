#pragma once

#include "core/common/status.h"
#include "core/store/large_blocks.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace dw {

class MappedFile;

enum class SortDirection { Ascending, Descending };

// What a table's owner knows of the files it writes, so that a file cut short is told from
// a whole one. The writer ends every line with a line end and writes no line for an empty
// cell, so the rows at a table's end that are blank leave no trace but the dimension line:
// a file may promise rows beyond the last it holds a cell of only as many as its owner ever
// leaves blank there. Whatever the rules, a file whose last line has no line end is cut.
struct TableFileRules {
    static constexpr int kAny = -1;
    // Blank rows at the end, in a file that holds data rows and in one that holds none.
    // Trusted only in a file that holds every width line, as the writer always writes them.
    int blankRowsAtEnd = kAny;
    int blankRowsAtEndWithoutData = kAny;
    // A 0-byte file is damaged unless this is set: then it reads as the table with one blank
    // data row.
    bool emptyFileIsBlank = false;
    // Texts row 0 always holds, whatever the file's header cells say.
    std::vector<std::string> header;
};

// Raised by loadTable; what() is the exact message shown to the user.
class TableFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A grid of text cells, columns by rows; row 0 is the header row. Every task, holiday,
// completed-task and print table is one. Texts are UTF-8 and may hold CR LF line breaks.
//
// A loaded table keeps its cell texts in one block (or, for a mapped file, in the file's own
// bytes) and an offset per cell into them: a store of 100 000 tasks is a handful of
// allocations rather than one per cell. A row gets strings of its own only when it is asked
// for as strings (cell, row) or changed; cellView, sorting and saving read the loaded texts
// directly.
class CellTable {
public:
    using Row = std::vector<std::string>;
    // Custom comparison of two cell texts: negative, zero or positive.
    using CompareFn = std::function<int(const std::string&, const std::string&)>;

    CellTable(int cols = 1, int rows = 1);
    ~CellTable();
    CellTable(const CellTable& other);
    CellTable& operator=(const CellTable& other);
    CellTable(CellTable&&) noexcept;
    CellTable& operator=(CellTable&&) noexcept;

    const std::string& cell(int col, int row) const;
    // The same text without giving its row strings of its own: for walks over many rows.
    // Valid until the table changes.
    std::string_view cellView(int col, int row) const;
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
    // The same for the data rows whose cell in `col` is empty, without reading the rows.
    void removeDataRowsWithEmptyCell(int col);
    // Rows a and b change places.
    void swapRows(int a, int b);

    // Loading never leaves fewer columns than this: a table whose layout needs its columns
    // is widened as it loads, and the load's memory budget counts the widened cells.
    void setMinColCount(int count);

    // How this table's files are told whole (cell_table.h); copies of the table keep them.
    void setFileRules(TableFileRules rules) { rules_ = std::move(rules); }
    const TableFileRules& fileRules() const { return rules_; }

    // Whole rows, for the store's bulk moves.
    const Row& row(int r) const;
    Row& row(int r);

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

    // Writes the table file atomically. On failure the old file stays whole and the answer
    // is "Could not save file PATH: " and the reason.
    Status saveTable(const std::string& path) const;
    // The same for a caller that words the failure itself: `error` gets the bare reason.
    bool trySaveTable(const std::string& path, std::string& error) const;
    // Replaces the table by the file's content. Throws TableFileError with the message
    // for the user when the file is missing, cannot be read (a folder, say), holds no
    // columns or rows, or would need more memory than its size justifies; the table is
    // then unchanged.
    void loadTable(const std::string& path);
    // Whether this process's loads map their files instead of reading them: no copy, but
    // the table then reads the file's pages for as long as it lives, so only for
    // processes that end soon after (the command line), never for the long-lived program.
    static void setMapFilesWhenLoading(bool map);
    // Loads, by loadTable's rules and with its errors, only the header row and the data
    // rows whose cell in `col` the predicate keeps, in file order: for a command that
    // reads a few rows of a large file. Such a table is never saved (saving it would drop
    // the other rows): saveTable and trySaveTable refuse.
    void loadRowsWhere(const std::string& path, int col,
                       const std::function<bool(std::string_view)>& keep);

    // Whether the file at `path` holds exactly this table: it was last loaded from or
    // saved to that path, nothing has changed since, and the file has not been touched
    // since (same size and modification time).
    bool isSavedAs(const std::string& path) const;
    // saveTable, skipped when isSavedAs(path): a close with nothing changed writes nothing.
    Status saveTableIfChanged(const std::string& path) const;

    // The file's bytes for this table, and the table for given file bytes (UTF-8, or
    // Windows-1252 when they are not valid UTF-8). `path` only names the source in errors.
    std::string toFileText() const;
    void fromFileText(const std::string& bytes, const std::string& path);

private:
    struct LoadedCells;
    static constexpr int kDefaultWidth = 64; // a column's width until it is set
    static constexpr std::uint32_t kNoSource = 0xFFFFFFFFu;
    // A row: strings of its own, or (cells null) the loaded row `source`, or (cells null
    // and source kNoSource) a row of empty cells.
    struct RowSlot {
        std::unique_ptr<Row> cells;
        std::uint32_t source = kNoSource;
    };
    using RowSlots = std::vector<RowSlot, LargeBlockAllocator<RowSlot>>;

    int compareColumn(int col, const std::string& a, const std::string& b) const;
    int compareSlots(const RowSlot& a, const RowSlot& b) const;
    std::string_view slotView(const RowSlot& slot, int col) const;
    Row& ownCells(RowSlot& slot) const;
    // The dimensions a file's first line gives, checked against the memory budget, and
    // where its next line starts.
    struct FileShape {
        int cols = 1;
        int rows = 1;
        int tableCols = 1; // widened to the minimum
        std::size_t firstLine = 0;
        bool empty = false; // a 0-byte file the rules allow
    };
    // `fileSize` is the whole file's, when `data` holds only its start.
    FileShape readFileShape(const char* data, std::size_t size, const std::string& path,
                            std::size_t fileSize) const;
    void parseFileText(MappedFile bytes, const std::string& path);
    void readTableFile(const std::string& path);
    void useLoadedCells(std::shared_ptr<LoadedCells> loaded, std::uint32_t rowCount,
                        std::vector<int> widths, const FileShape& shape, bool partial);
    void changed() { ++revision_; }

    int cols_;
    // Mutable: reading a loaded row as strings gives it strings of its own, which changes
    // nothing a reader can see.
    mutable RowSlots rows_;
    std::shared_ptr<const LoadedCells> loaded_;
    int loadedCols_ = 0; // columns of the loaded cells still in the table
    int minCols_ = 1;
    TableFileRules rules_;
    std::uint64_t revision_ = 0;
    bool partial_ = false; // loaded by loadRowsWhere
    // What the table was last loaded from or saved to, at which revision, and the file's
    // size and modification time then.
    mutable std::string savedPath_;
    mutable std::uint64_t savedRevision_ = 0;
    mutable std::int64_t savedSize_ = -1;
    mutable std::int64_t savedTime_ = 0;
    std::vector<int> widths_;
    std::vector<CompareFn> custom_;
    std::function<bool(int)> canSort_;
    int sortColumn_ = 0;
    SortDirection sortDirection_ = SortDirection::Ascending;
};

} // namespace dw
