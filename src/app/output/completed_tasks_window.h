#pragma once

#include "app/output/export_commands.h"

#include <QDialog>

class QAction;
class QMenu;
class QPlainTextEdit;

namespace dw {

class AppState;
class CellGrid;
class ShadowLabel;

// "Completed Tasks": the completed tasks, newest first, with the selected record's text and
// completion notes in two editable panes. Deleting, clearing and pane edits reach
// gridComp.grd when the window closes. "Comp Date" sorts as dates.
class CompletedTasksWindow : public QDialog {
    Q_OBJECT
public:
    CompletedTasksWindow(AppState& state, QWidget* parent = nullptr);

    CellGrid* grid() const { return grid_; }
    QPlainTextEdit* whatPane() const { return whatPane_; }
    QPlainTextEdit* notesPane() const { return notesPane_; }
    ShadowLabel* title() const { return title_; }
    QAction* printAction() const { return print_; }
    QAction* exportHtmlAction() const { return exportHtml_; }
    QAction* exportCsvAction() const { return exportCsv_; }
    QAction* deleteAction() const { return delete_; }
    QAction* clearAction() const { return clear_; }
    QAction* closeAction() const { return close_; }
    // The caption that lends the title its shadow and colour (the day view's date caption).
    void setCaptionStyle(ShadowLabel* source) { captionStyle_ = source; }

    void deleteRecord();
    void clearRecords();
    // The panes show the selected record; what is typed there goes into it at once.
    void reloadPanes();
    void fitColumns();

    void done(int result) override;

protected:
    void showEvent(QShowEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    void refreshGrid();
    void paneEdited(const QPlainTextEdit* pane, int column);

    AppState& state_;
    ShadowLabel* title_ = nullptr;
    ShadowLabel* captionStyle_ = nullptr;
    CellGrid* grid_ = nullptr;
    QPlainTextEdit* whatPane_ = nullptr;
    QPlainTextEdit* notesPane_ = nullptr;
    QMenu* popup_ = nullptr;
    QAction* print_ = nullptr;
    QAction* exportHtml_ = nullptr;
    QAction* exportCsv_ = nullptr;
    QAction* delete_ = nullptr;
    QAction* clear_ = nullptr;
    QAction* close_ = nullptr;
    int paneRow_ = -1;          // the record the panes show
    bool loadingPanes_ = false; // the panes are being filled, not edited
    ExportDialog htmlDialog_;
    ExportDialog csvDialog_;
};

} // namespace dw
