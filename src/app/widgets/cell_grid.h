#pragma once

#include "core/settings/options.h"
#include "core/store/cell_table.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QFont>
#include <QPoint>
#include <QTableView>
#include <functional>

namespace dw {

// How one data row is drawn, decided by the grid's owner (done rows struck out, ...).
struct CellStyle {
    bool strikeOut = false;
    QColor foreground; // invalid: the grid's own
    QColor background;
};
using RowStyler = std::function<void(int row, CellStyle& style)>;

// The data a dragged row carries: the object name of the grid it comes from.
inline constexpr const char* kRowDragMimeType = "application/x-dayweaver-task-row";

// The data rows of a CellTable (rows 1 and on) as a read-only model; row 0 gives the
// header captions. Row numbers here are model rows; the table's row is one more.
class CellTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    CellTableModel(CellTable& table, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation o, int role) const override;

    void setRowStyler(RowStyler styler) { styler_ = std::move(styler); }
    void setBaseFont(const QFont& f) { font_ = f; }
    // The table was changed behind the model's back.
    void reload();

private:
    CellTable& table_;
    RowStyler styler_;
    QFont font_;
};

// A grid of text cells over a CellTable: header captions from row 0, whole-row selection,
// no editing in place, sorting by a click on a header (when the table allows that column)
// with the sort mark in the header. Row numbers in this interface are the table's (1 is
// the first data row).
class CellGrid : public QTableView {
    Q_OBJECT
public:
    explicit CellGrid(CellTable& table, QWidget* parent = nullptr);

    CellTable& table() { return table_; }
    CellTableModel* cellModel() { return model_; }

    // Shows the table's current content, keeping the selected row where it can.
    void refresh();

    // The selected data row (the first one when nothing was chosen yet).
    int selectedRow() const;
    void selectTableRow(int row);

    // The row height asked for; a taller font makes the rows taller.
    void setRowHeight(int pixels);
    // The width column `col` needs to show its header and its widest cell (first lines)
    // whole in the current fonts.
    int textFitWidth(int col) const;
    int rowHeight() const;
    void setGridFont(const QFont& f);
    // The colours of the selected row.
    void setSelectionColors(WinColor background, WinColor text);
    void setRowStyler(RowStyler styler);

    // The number of data rows shown whole, and whether a vertical scroll bar is needed.
    int fullyVisibleRowCount() const;
    bool needsVerticalScroll() const;

    // A click on a header cell, as the user makes it.
    void headerClicked(int col);

    // Rows can be dragged out (a left press on a data row, then a move of a few pixels, so
    // that a plain click still selects), and dragged rows dropped on a data row.
    void setRowDragDrop(bool on);
    bool rowDragDrop() const { return rowDragDrop_; }
    // The table row under a point of the viewport, or -1 over no data row.
    int tableRowAt(const QPoint& viewportPos) const;
    // Starts the drag of the selected row; the runner is what a test replaces.
    void startRowDrag();
    using DragRunner = std::function<void(QMimeData* data)>;
    void setDragRunner(DragRunner runner) { dragRunner_ = std::move(runner); }

signals:
    void resized();
    void sorted();
    // A dragged row was dropped on table row `row` (-1: on no data row).
    void rowDropped(const QMimeData* data, int row);

protected:
    void resizeEvent(QResizeEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dragMoveEvent(QDragMoveEvent* e) override;
    void dropEvent(QDropEvent* e) override;

private:
    int requestedRowHeight_ = 16;
    void showSortMark();
    bool carriesRow(const QMimeData* data) const;

    CellTable& table_;
    CellTableModel* model_;
    bool rowDragDrop_ = false;
    bool dragPending_ = false;
    QPoint pressPos_;
    DragRunner dragRunner_;
};

} // namespace dw
