#pragma once

#include "core/settings/options.h"
#include "core/store/cell_table.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QFont>
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

    void setRowHeight(int pixels);
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

signals:
    void resized();
    void sorted();

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    void showSortMark();

    CellTable& table_;
    CellTableModel* model_;
};

} // namespace dw
