#include "app/output/completed_tasks_window.h"

#include "app/output/table_print_command.h"
#include "app/shell/app_prompts.h"
#include "app/shell/app_state.h"
#include "app/widgets/cell_grid.h"
#include "app/widgets/shadow_label.h"
#include "core/output/completed_tasks.h"
#include "core/output/print_layout.h"
#include "core/store/helpers.h"

#include <QAction>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStyle>
#include <QVBoxLayout>

namespace dw {

namespace {

std::vector<std::string> paneLines(const QPlainTextEdit* pane) {
    std::vector<std::string> lines;
    const QString text = pane->toPlainText();
    if (text.isEmpty())
        return lines;
    for (const QString& line : text.split('\n'))
        lines.push_back(line.toStdString());
    return lines;
}

QString paneText(const std::string& cell) {
    std::vector<std::string> lines;
    textToLines(cell, lines);
    QStringList out;
    for (const std::string& l : lines)
        out << QString::fromStdString(l);
    return out.join('\n');
}

QPlainTextEdit* makePane(const QString& label, QWidget* parent, QHBoxLayout* row) {
    auto* column = new QVBoxLayout;
    column->addWidget(new QLabel(label, parent));
    auto* pane = new QPlainTextEdit(parent);
    pane->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    column->addWidget(pane);
    row->addLayout(column);
    return pane;
}

} // namespace

CompletedTasksWindow::CompletedTasksWindow(AppState& state, QWidget* parent)
    : QDialog(parent), state_(state),
      htmlDialog_(state.prompts(), ExportDialog::Html, "output.htm"),
      csvDialog_(state.prompts(), ExportDialog::CommaDelimited, "output.txt") {
    setWindowTitle("Completed Tasks");
    setSizeGripEnabled(true);
    resize(760, 480);

    title_ = new ShadowLabel("Completed Tasks", this);
    grid_ = new CellGrid(state_.completedTasks().table(), this);
    grid_->setObjectName("completedGrid");
    sortCompletionDatesAsDates(state_.completedTasks().table(), state_.fs(), state_.clock());
    grid_->setRowHeight(28);
    grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    grid_->verticalHeader()->setSectionResizeMode(QHeaderView::Interactive);

    auto* panes = new QHBoxLayout;
    whatPane_ = makePane("WHAT", this, panes);
    notesPane_ = makePane("COMPLETION NOTES", this, panes);
    // An edit goes into the record the panes show at once, so nothing waits to be written
    // back when rows move (a sort, a new completion, a delete).
    connect(whatPane_, &QPlainTextEdit::textChanged, this,
            [this] { paneEdited(whatPane_, CompCol::What); });
    connect(notesPane_, &QPlainTextEdit::textChanged, this,
            [this] { paneEdited(notesPane_, CompCol::CompNotes); });

    auto* menuBar = new QMenuBar(this);
    QMenu* file = menuBar->addMenu("&File");
    print_ = new QAction("Print", this);
    exportHtml_ = new QAction("HTML Format", this);
    exportCsv_ = new QAction("Comma-Delimited", this);
    delete_ = new QAction("Delete", this);
    delete_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Delete));
    clear_ = new QAction("Clear", this);
    clear_->setShortcut(QKeySequence(Qt::SHIFT | Qt::CTRL | Qt::Key_Delete));
    close_ = new QAction("Close", this);
    auto* deleteRow = new QAction("Delete row", this);
    for (QAction* a : {delete_, clear_})
        addAction(a);
    file->addAction(print_);
    QMenu* exportMenu = file->addMenu("Export");
    exportMenu->addActions({exportHtml_, exportCsv_});
    file->addActions({delete_, clear_});
    file->addSeparator();
    file->addAction(close_);
    popup_ = new QMenu(this);
    popup_->addAction(print_);
    popup_->addMenu(exportMenu);
    popup_->addActions({deleteRow, clear_});

    connect(print_, &QAction::triggered, this, [this] {
        printTableWithDialog(this, state_.completedTasks().table(), completedPrintLayout(),
                             state_.fs(), state_.clock(), state_.prompts());
    });
    connect(exportHtml_, &QAction::triggered, this,
            [this] { htmlDialog_.exportTable(state_.completedTasks().table()); });
    connect(exportCsv_, &QAction::triggered, this,
            [this] { csvDialog_.exportTable(state_.completedTasks().table()); });
    connect(delete_, &QAction::triggered, this, &CompletedTasksWindow::deleteRecord);
    connect(deleteRow, &QAction::triggered, this, &CompletedTasksWindow::deleteRecord);
    connect(clear_, &QAction::triggered, this, &CompletedTasksWindow::clearRecords);
    connect(close_, &QAction::triggered, this, &QDialog::accept);
    grid_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(grid_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { popup_->popup(grid_->viewport()->mapToGlobal(pos)); });
    // The panes follow the selection, and a sort, which moves the records under it.
    connect(grid_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &CompletedTasksWindow::reloadPanes);
    connect(grid_, &CellGrid::sorted, this, &CompletedTasksWindow::reloadPanes);

    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(menuBar);
    layout->addWidget(title_);
    layout->addWidget(grid_, 3);
    layout->addLayout(panes, 2);
}

void CompletedTasksWindow::refreshGrid() {
    grid_->refresh();
    reloadPanes();
}

void CompletedTasksWindow::reloadPanes() {
    const CellTable& table = state_.completedTasks().table();
    paneRow_ = grid_->selectedRow();
    const bool valid = paneRow_ >= 1 && paneRow_ < table.rowCount();
    loadingPanes_ = true;
    whatPane_->setPlainText(valid ? paneText(table.cell(CompCol::What, paneRow_)) : QString());
    notesPane_->setPlainText(valid ? paneText(table.cell(CompCol::CompNotes, paneRow_))
                                   : QString());
    loadingPanes_ = false;
}

void CompletedTasksWindow::paneEdited(const QPlainTextEdit* pane, int column) {
    if (loadingPanes_)
        return;
    writeBackCompletedText(state_.completedTasks().table(), paneRow_, column, paneLines(pane));
}

void CompletedTasksWindow::deleteRecord() {
    if (state_.options().confirm && !state_.prompts().askYesNo("Really delete?", "Confirm"))
        return;
    const int row = grid_->selectedRow();
    paneRow_ = -1; // the rows move
    deleteCompletedRecord(state_.completedTasks().table(), row);
    refreshGrid();
}

void CompletedTasksWindow::clearRecords() {
    if (!state_.prompts().askYesNo("Really clear out ALL completed tasks?", "Confirm"))
        return;
    paneRow_ = -1;
    clearCompletedRecords(state_.completedTasks().table());
    refreshGrid();
}

void CompletedTasksWindow::fitColumns() {
    const bool scroll = grid_->needsVerticalScroll();
    const int scrollWidth = scroll ? style()->pixelMetric(QStyle::PM_ScrollBarExtent) : 0;
    const int frame = 2 * style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
    const std::vector<int> widths =
        completedColumnWidths(grid_->width(), scrollWidth, frame, logicalDpiX());
    for (int c = 0; c < static_cast<int>(widths.size()); ++c)
        grid_->setColumnWidth(c, widths[static_cast<std::size_t>(c)]);
}

void CompletedTasksWindow::showEvent(QShowEvent* e) {
    if (captionStyle_) {
        title_->setFont(captionStyle_->font());
        title_->setShadowDepth(captionStyle_->shadowDepth());
        title_->setTextColor(captionStyle_->textColor());
    }
    // Opened afresh on the first record (the newest, unless a sort says otherwise): the rows
    // may have moved since the window last showed one.
    grid_->refresh();
    grid_->selectTableRow(1);
    reloadPanes();
    QDialog::showEvent(e);
    fitColumns();
}

void CompletedTasksWindow::resizeEvent(QResizeEvent* e) {
    QDialog::resizeEvent(e);
    fitColumns();
}

void CompletedTasksWindow::done(int result) {
    showErrors(state_.prompts(), state_.completedTasks().save());
    // Records may be added before the window opens again: the panes name none until then.
    paneRow_ = -1;
    QDialog::done(result);
}

} // namespace dw
