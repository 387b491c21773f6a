#include "app/shell/main_window.h"

// The options as the main window follows them: its copies of them, the captions' look,
// the grid fonts, and the options window's reactions.

#include "app/calendar/calendar_pane.h"
#include "app/calendar/hover_summary.h"
#include "app/editing/editor_extras.h"
#include "app/editing/task_commands.h"
#include "app/holidays/holiday_commands.h"
#include "app/output/output_commands.h"
#include "app/output/table_print_command.h"
#include "app/settings/alarm_notifier.h"
#include "app/settings/font_spec.h"
#include "app/settings/options_dialog.h"
#include "app/shell/app_prompts.h"
#include "app/shell/app_state.h"
#include "app/shell/help_window.h"
#include "app/shell/layout_memory.h"
#include "app/shell/main_actions.h"
#include "app/shell/pane_layout.h"
#include "app/shell/pane_splitter.h"
#include "app/shell/resources.h"
#include "app/shell/status_clock.h"
#include "app/shell/store_views.h"
#include "app/shell/tray_controller.h"
#include "app/widgets/cell_grid.h"
#include "app/widgets/shadow_label.h"
#include "app/widgets/timer_pool.h"
#include "app/widgets/win_color.h"
#include "core/calendar/captions.h"
#include "core/dates/date_parse.h"
#include "core/editing/task_commands.h"
#include "core/holidays/holiday_rules.h"
#include "core/settings/option_keys.h"
#include "core/shell/layout.h"
#include "core/store/helpers.h"
#include "core/store/save_guard.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

namespace dw {

void MainWindow::readSettings() {
    const SettingsStore& store = state_.settings();
    shadows_ = readKeyFlag(store, optionKey("Options", "Shadows"));
    category_ = readKeyText(store, optionKey("Options", "Category"));
    confirm_ = readKeyFlag(store, optionKey("Options", "Confirm"));
    applySettings(shadows_);
    timerPool_->setEnabled(hoverTrigger_, state_.options().popup);
    if (hover_)
        hover_->syncMenu();
    // The date caption's colour tells a holiday: put it back after the caption look.
    updateCaptions();
}

void MainWindow::applySettings(bool shadows) {
    const Options& o = state_.options();
    const QFont title = toQFont(o.titleFont);
    const int height = titleCaptionHeight(o.titleFont.size, logicalDpiY(), shadows);
    const CaptionLook look = titleCaptionLook(shadows);
    for (ShadowLabel* caption : {dateCaption_, todoCaption_}) {
        caption->setFont(title);
        caption->setFixedHeight(height);
        caption->setShadowDepth(look.shadowDepth);
        caption->setTextColor(toQColor(look.color));
    }
    // TODO: the filter window's and the completed-tasks window's titles take the same
    // font and look when those windows land.
    paneLayout_->layoutGrids();
    calendarPane_->setMondayFirst(!o.sunday);
}

void MainWindow::changeGridFonts() {
    const Options& o = state_.options();
    const QFont font = toQFont(o.gridFont);
    for (CellGrid* g : {gridDay_, gridNonday_}) {
        g->setGridFont(font);
        g->setRowHeight(o.rowHeight);
    }
    notesPane_->setFont(font);
    paneLayout_->layoutGrids();
}

void MainWindow::setOptionsWindow(OptionsDialog* options) {
    if (optionsDialog_)
        disconnect(optionsDialog_, nullptr, this, nullptr);
    optionsDialog_ = options;
    if (!options)
        return;
    connect(options, &OptionsDialog::shadowsChanged, this, &MainWindow::applySettings);
    connect(options, &OptionsDialog::gridFontChanged, this, &MainWindow::changeGridFonts);
    connect(options, &OptionsDialog::rowHeightChanged, this, [this](int height) {
        gridDay_->setRowHeight(height);
        gridNonday_->setRowHeight(height);
        paneLayout_->layoutGrids();
    });
    connect(options, &OptionsDialog::dayViewNeedsRefresh, this, [this] {
        if (firstShown_)
            calendarPane_->onDateChanged();
    });
    connect(options, &OptionsDialog::helpRequested, this, [](int topic) { showHelpTopic(topic); });
    // The calendars repaint and change font on the options window's word.
    calendarPane_->setOptionsWindow(options);
    // The window has read the options at its creation without telling anyone.
    changeGridFonts();
}

OptionsDialog* MainWindow::optionsWindow() const {
    return optionsDialog_;
}

void MainWindow::showOptions() {
    if (!optionsDialog_)
        return;
    optionsDialog_->exec();
    // Whatever the outcome: the window's copies go back to what the store holds.
    readSettings();
    // The to-do list under the window may have to show done rows struck out or not.
    gridNonday_->viewport()->update();
}

} // namespace dw
