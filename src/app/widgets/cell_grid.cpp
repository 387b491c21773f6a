#include "app/widgets/cell_grid.h"

#include "app/widgets/win_color.h"
#include "core/shell/layout.h"
#include "core/store/helpers.h"

#include <QApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QStyle>

namespace dw {

CellTableModel::CellTableModel(CellTable& table, QObject* parent)
    : QAbstractTableModel(parent), table_(table) {}

int CellTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : std::max(0, table_.rowCount() - 1);
}

int CellTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : table_.colCount();
}

QVariant CellTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() + 1 >= table_.rowCount() ||
        index.column() >= table_.colCount())
        return {};
    const int row = index.row() + 1;
    switch (role) {
    case Qt::DisplayRole: {
        // A task of several lines shows them on one line.
        QString text = QString::fromStdString(table_.cell(index.column(), row));
        text.replace("\r\n", " ");
        return text;
    }
    case Qt::FontRole:
    case Qt::ForegroundRole:
    case Qt::BackgroundRole: {
        if (!styler_)
            return {};
        CellStyle style;
        styler_(row, style);
        if (role == Qt::FontRole) {
            if (!style.strikeOut)
                return {};
            QFont f = font_;
            f.setStrikeOut(true);
            return f;
        }
        const QColor c = role == Qt::ForegroundRole ? style.foreground : style.background;
        return c.isValid() ? QVariant(c) : QVariant();
    }
    default:
        return {};
    }
}

QVariant CellTableModel::headerData(int section, Qt::Orientation o, int role) const {
    if (o != Qt::Horizontal || role != Qt::DisplayRole || section >= table_.colCount() ||
        table_.rowCount() < 1)
        return QAbstractTableModel::headerData(section, o, role);
    return QString::fromStdString(table_.cell(section, 0));
}

void CellTableModel::reload() {
    beginResetModel();
    endResetModel();
}

CellGrid::CellGrid(CellTable& table, QWidget* parent)
    : QTableView(parent), table_(table), model_(new CellTableModel(table, this)) {
    setModel(model_);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(1);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setSortIndicatorShown(true);
    horizontalHeader()->setStretchLastSection(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    for (int c = 0; c < table_.colCount(); ++c)
        setColumnWidth(c, table_.colWidth(c));
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, &CellGrid::headerClicked);
    model_->setBaseFont(font());
    showSortMark();
    selectTableRow(1);
}

void CellGrid::showSortMark() {
    horizontalHeader()->setSortIndicator(table_.sortColumn(),
                                         table_.sortDirection() == SortDirection::Ascending
                                             ? Qt::AscendingOrder
                                             : Qt::DescendingOrder);
}

void CellGrid::headerClicked(int col) {
    const int row = selectedRow();
    const CellTable::Row selected = row < table_.rowCount() ? table_.row(row) : CellTable::Row();
    if (table_.sortByHeaderClick(col)) {
        model_->reload();
        // The selection follows its task to where the sort put it.
        const int at = rowHolding(table_, selected, -1);
        selectTableRow(at > 0 ? at : 1);
        emit sorted();
    }
    // The header flips its own mark on a click; the table says what really happened.
    showSortMark();
}

void CellGrid::refresh() {
    const int row = selectedRow();
    model_->reload();
    showSortMark();
    selectTableRow(row);
}

int CellGrid::selectedRow() const {
    const QModelIndex i = currentIndex();
    return i.isValid() ? i.row() + 1 : 1;
}

void CellGrid::selectTableRow(int row) {
    const int rows = model_->rowCount();
    if (rows == 0)
        return;
    row = std::clamp(row, 1, rows);
    const QModelIndex i = model_->index(row - 1, 0);
    setCurrentIndex(i);
    selectionModel()->select(i, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void CellGrid::setRowHeight(int pixels) {
    requestedRowHeight_ = pixels;
    verticalHeader()->setDefaultSectionSize(std::max(pixels, fontMetrics().height() + 2));
}

int CellGrid::textFitWidth(int col) const {
    if (col < 0 || col >= table_.colCount() || table_.rowCount() < 1)
        return 0;
    const QHeaderView* header = horizontalHeader();
    const QFontMetrics headerFm(header->font());
    const int margin = style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
    const int mark = style()->pixelMetric(QStyle::PM_HeaderMarkSize, nullptr, header);
    int widest = headerFm.horizontalAdvance(QString::fromStdString(table_.cell(col, 0))) +
                 2 * margin + (col == table_.sortColumn() ? mark + margin : 0);
    const QFontMetrics fm(font());
    for (int r = 1; r < table_.rowCount(); ++r) {
        const std::string& text = table_.cell(col, r);
        const std::string first = text.substr(0, text.find_first_of("\r\n"));
        widest = std::max(widest, fm.horizontalAdvance(QString::fromStdString(first)) +
                                      2 * fm.averageCharWidth() + 4);
    }
    return widest;
}

int CellGrid::rowHeight() const {
    return verticalHeader()->defaultSectionSize();
}

void CellGrid::setGridFont(const QFont& f) {
    setFont(f);
    horizontalHeader()->setFont(f);
    model_->setBaseFont(f);
    setRowHeight(requestedRowHeight_);
    viewport()->update();
}

void CellGrid::setSelectionColors(WinColor background, WinColor text) {
    QPalette pal = palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive}) {
        pal.setColor(group, QPalette::Highlight, toQColor(background));
        pal.setColor(group, QPalette::HighlightedText, toQColor(text));
    }
    setPalette(pal);
}

void CellGrid::setRowStyler(RowStyler styler) {
    model_->setRowStyler(std::move(styler));
    viewport()->update();
}

int CellGrid::fullyVisibleRowCount() const {
    // Measured from the grid's own height, as if no horizontal scroll bar were there (the
    // columns are fitted so that none is needed), so the answer holds before the grid has
    // been laid out on screen too.
    const QHeaderView* header = horizontalHeader();
    const int headerHeight = header->isHidden() ? 0 : header->sizeHint().height();
    return fullyVisibleRows(height() - 2 * frameWidth() - headerHeight, rowHeight());
}

bool CellGrid::needsVerticalScroll() const {
    return fullyVisibleRowCount() < model_->rowCount();
}

void CellGrid::resizeEvent(QResizeEvent* e) {
    QTableView::resizeEvent(e);
    emit resized();
}

void CellGrid::setRowDragDrop(bool on) {
    rowDragDrop_ = on;
    setAcceptDrops(on);
    viewport()->setAcceptDrops(on);
    dragPending_ = false;
}

int CellGrid::tableRowAt(const QPoint& viewportPos) const {
    const int r = rowAt(viewportPos.y());
    if (r < 0 || viewportPos.x() < 0 || viewportPos.x() >= viewport()->width())
        return -1;
    return r + 1;
}

void CellGrid::mousePressEvent(QMouseEvent* e) {
    QTableView::mousePressEvent(e);
    const QPoint pos = e->position().toPoint();
    dragPending_ = rowDragDrop_ && e->button() == Qt::LeftButton && tableRowAt(pos) > 0;
    pressPos_ = pos;
}

void CellGrid::mouseMoveEvent(QMouseEvent* e) {
    if (!dragPending_) {
        QTableView::mouseMoveEvent(e);
        return;
    }
    // While the button is down over a pressed row the selection stays on it: the row under
    // the pointer is where it may be dropped, not what is being chosen.
    if (!(e->buttons() & Qt::LeftButton)) {
        dragPending_ = false;
        return;
    }
    if ((e->position().toPoint() - pressPos_).manhattanLength() < QApplication::startDragDistance())
        return;
    dragPending_ = false;
    startRowDrag();
}

void CellGrid::mouseReleaseEvent(QMouseEvent* e) {
    dragPending_ = false;
    QTableView::mouseReleaseEvent(e);
}

void CellGrid::mouseDoubleClickEvent(QMouseEvent* e) {
    dragPending_ = false;
    QTableView::mouseDoubleClickEvent(e);
}

void CellGrid::startRowDrag() {
    auto* data = new QMimeData;
    data->setData(kRowDragMimeType, objectName().toUtf8());
    if (dragRunner_) {
        dragRunner_(data);
        delete data;
        return;
    }
    auto* drag = new QDrag(this);
    drag->setMimeData(data);
    // The row itself goes with the pointer, so it is plain what is being moved.
    const QModelIndex first = model_->index(selectedRow() - 1, 0);
    QRect rowRect = visualRect(first);
    rowRect.setLeft(0);
    rowRect.setRight(std::min(viewport()->width(), 320) - 1);
    if (rowRect.isValid() && rowRect.intersects(viewport()->rect())) {
        QPixmap pix = viewport()->grab(rowRect);
        QPainter p(&pix);
        p.setPen(palette().color(QPalette::Highlight));
        p.drawRect(pix.rect().adjusted(0, 0, -1, -1));
        p.end();
        drag->setPixmap(pix);
        drag->setHotSpot(QPoint(std::min(pressPos_.x(), pix.width() - 1), pix.height() / 2));
    }
    drag->exec(Qt::MoveAction);
}

bool CellGrid::carriesRow(const QMimeData* data) const {
    return rowDragDrop_ && data && data->hasFormat(kRowDragMimeType);
}

void CellGrid::dragEnterEvent(QDragEnterEvent* e) {
    if (!carriesRow(e->mimeData())) {
        e->ignore();
        return;
    }
    e->setDropAction(Qt::MoveAction);
    e->accept();
}

void CellGrid::dragMoveEvent(QDragMoveEvent* e) {
    // Only a data row takes a drop; the header and the room below the rows do not.
    if (!carriesRow(e->mimeData()) || tableRowAt(e->position().toPoint()) < 1) {
        e->ignore();
        return;
    }
    e->setDropAction(Qt::MoveAction);
    e->accept();
}

void CellGrid::dropEvent(QDropEvent* e) {
    if (!carriesRow(e->mimeData())) {
        e->ignore();
        return;
    }
    e->setDropAction(Qt::MoveAction);
    e->accept();
    emit rowDropped(e->mimeData(), tableRowAt(e->position().toPoint()));
}

} // namespace dw
