#include "app/shell/main_window.h"

// The options as the main window follows them: its copies of them, the captions' look,
// the grid fonts, and the options window's reactions.

#include "app/calendar/calendar_pane.h"
#include "app/settings/font_spec.h"
#include "app/settings/options_dialog.h"
#include "app/shell/app_state.h"
#include "app/shell/help_window.h"
#include "app/shell/pane_layout.h"
#include "app/widgets/cell_grid.h"
#include "app/widgets/shadow_label.h"
#include "app/widgets/timer_pool.h"
#include "app/widgets/win_color.h"
#include "core/calendar/captions.h"
#include "core/settings/option_keys.h"

#include <QPlainTextEdit>

namespace dw {

void MainWindow::readSettings() {
    const SettingsStore& store = state_.settings();
    windowState_.shadows = readKeyFlag(store, optionKey("Options", "Shadows"));
    windowState_.defaultCategory = readKeyText(store, optionKey("Options", "Category"));
    windowState_.confirmDeletes = readKeyFlag(store, optionKey("Options", "Confirm"));
    applySettings(windowState_.shadows);
    timerPool_->setEnabled(hoverTrigger_, state_.options().popup);
    if (optionsFollower_)
        optionsFollower_();
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
        if (windowState_.shown)
            calendarPane_->onDateChanged();
    });
    connect(options, &OptionsDialog::helpRequested, this, [](int topic) { showHelpTopic(topic); });
    // The calendars repaint and change font on the options window's word.
    calendarPane_->setOptionsWindow(options);
    // The window has read the options at its creation without telling anyone.
    changeGridFonts();
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
