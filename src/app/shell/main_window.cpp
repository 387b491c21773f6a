#include "app/shell/main_window.h"

#include "app/calendar/calendar_pane.h"
#include "app/calendar/selected_day.h"
#include "app/editing/day_notes.h"
#include "app/settings/font_spec.h"
#include "app/shell/app_prompts.h"
#include "app/shell/app_state.h"
#include "app/shell/help_window.h"
#include "app/shell/layout_memory.h"
#include "app/shell/main_actions.h"
#include "app/shell/pane_layout.h"
#include "app/shell/pane_splitter.h"
#include "app/shell/resources.h"
#include "app/shell/status_clock.h"
#include "app/shell/tray_controller.h"
#include "app/widgets/cell_grid.h"
#include "app/widgets/shadow_label.h"
#include "app/widgets/timer_pool.h"
#include "app/widgets/win_color.h"
#include "core/calendar/captions.h"
#include "core/dates/date_parse.h"
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

namespace {

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

} // namespace

MainWindow::MainWindow(AppState& state, QWidget* parent) : QMainWindow(parent), state_(state) {
    initResources();
    // The name is the remembered layout's key.
    setObjectName("frmMain");
    setWindowIcon(QIcon(":/icons/dayweaver.png"));
    actions_ = new MainActions(this);
    buildWidgets();
    buildMenusAndToolbars();
    layoutMemory_ =
        std::make_unique<LayoutMemory>(*this, split1_, split2_, splitDay_, state_.prompts());
    paneLayout_ =
        new PaneLayout({gridDay_, gridNonday_, split1_, split2_, calendarPane_}, state_.fs(), this);
    tray_ = new TrayController(*this, [this] { saveTaskFiles(); });
    dayNotes_ = new DayNotes(*notesPane_, *gridDay_, state_, this);
    connectActions();
    setUpAtCreation();
    connectNavigation();
}

MainWindow::~MainWindow() {
    qApp->removeEventFilter(this);
    // The focus moves while the widgets go: the window, half destroyed by then, must not
    // hear of it.
    disconnect(qApp, nullptr, this, nullptr);
}

void MainWindow::connectActions() {
    const MainActions& a = *actions_;
    auto on = [this](QAction* action, auto run) {
        connect(action, &QAction::triggered, this, run);
    };
    on(a.options, [this] { showOptions(); });
    on(a.hide, [this] { hideAndSilence(); });
    on(a.exit, [this] { close(); });
    on(a.today, [this] { goToToday(); });
    on(a.calendarsWidth, [this] { paneLayout_->pointAtSplitter(split1_); });
    on(a.dayToTodo, [this] { paneLayout_->pointAtSplitter(split2_); });
    on(a.dayNotes, [this] { paneLayout_->pointAtSplitter(splitDay_); });
    on(a.maximizeDay, [this] { maximizeDayTasks(); });
    on(a.maximizeTodo, [this] { maximizeTodoTasks(); });
    on(a.memorizeLayout, [this] { layoutMemory_->memorize(state_.settings()); });
    on(a.restoreLayout, [this] { layoutMemory_->restore(state_.settings()); });
    on(a.help, [this] { showHelp(); });
    on(a.hideCalendar, [this] { tray_->hideToTray(); });
    on(a.filters, [this] { showFilters(); });
    on(a.filtersButton, [this] { showFilters(); });

    connect(gridDay_, &CellGrid::resized, paneLayout_, &PaneLayout::resizeGridDay);
    connect(gridNonday_, &CellGrid::resized, paneLayout_, &PaneLayout::resizeGridNonday);
    connect(gridDay_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this] { dayNotes_->fill(); });
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (now == gridDay_ || now == gridNonday_)
            onGridFocused(static_cast<CellGrid*>(now));
    });
    connect(split1_, &QSplitter::splitterMoved, paneLayout_, &PaneLayout::onSplit1Moved);
    connect(split2_, &QSplitter::splitterMoved, paneLayout_, &PaneLayout::onSplit2Moved);
    // A new date in the active calendar: the day view has been refilled from the store.
    connect(calendarPane_, &CalendarPane::dayViewRefilled, this, [this] {
        gridDay_->refresh();
        updateCaptions();
        paneLayout_->resizeGridDay();
        dayNotes_->fill();
    });
    connect(calendarPane_, &CalendarPane::foundTaskRow, this, [this](int row) {
        gridDay_->setFocus();
        if (row > 0)
            gridDay_->selectTableRow(row);
    });
    connect(statusClock_, &StatusClock::dateChanged, this, &MainWindow::onDateChangedAtMidnight);
    // A double click on the date caption goes to today.
    dateCaption_->installEventFilter(this);
    // Every key reaches this window's filter before any of its controls.
    qApp->installEventFilter(this);
}

QAction* MainWindow::action(const QString& objectName) const {
    return findChild<QAction*>(objectName);
}

QLabel* MainWindow::statusLabel() const {
    return statusClock_;
}

// ---------------------------------------------------------------------------------------
// Lifecycle

void MainWindow::setUpAtCreation() {
    minimumWidth_ = dw::minimumWindowWidth(logicalDpiX());
    windowState_.alarmBusy = false;
    layoutMemory_->load(state_.settings());
    loadTables();
    setWindowTitle("Dayweaver");
    gridDay_->setSelectionColors(SysColor::Window, SysColor::WindowText);
    gridNonday_->setSelectionColors(SysColor::Window, SysColor::WindowText);

    timerPool_ = new TimerPool(this);
    alarmTrigger_ = timerPool_->addTrigger(50000);
    panelColorTrigger_ = timerPool_->addTrigger(1000);
    layoutTrigger_ = timerPool_->addTrigger(40);
    hoverTrigger_ = timerPool_->addTrigger(120);
    clockTrigger_ = timerPool_->addTrigger(1000);
    // The alarm panel flashes only while an alarm shows.
    timerPool_->setEnabled(panelColorTrigger_, false);
    connect(timerPool_, &TimerPool::allTriggers, this, &MainWindow::onTimerTrigger);
    paneLayout_->setLayoutTrigger(timerPool_, layoutTrigger_);

    // The grid font and row height come from the options as soon as they are known.
    changeGridFonts();

    // The window opens centred on its screen.
    if (QScreen* scr = screen()) {
        const QRect avail = scr->availableGeometry();
        move(avail.center() - QPoint(width() / 2, height() / 2));
    }
}

void MainWindow::loadTables() {
    TaskStore& store = state_.store();
    // A damaged file has been kept aside by the loader, so the next save cannot lose it.
    try {
        store.loadStoreFile();
    } catch (const TableFileError& e) {
        state_.prompts().error(e.what());
    }
    try {
        store.loadTodoFile();
    } catch (const TableFileError& e) {
        state_.prompts().error(e.what());
    }
    gridNonday_->refresh();
}

void MainWindow::setUpAtFirstShow() {
    calendarPane_->setMondayFirst(!state_.options().sunday);
    fix2000(state_.fs());
    try {
        loadTableIfPresent(state_.gridHoliday(), state_.holidayPath());
    } catch (const TableFileError& e) {
        state_.prompts().error(e.what());
    }
    readSettings();
    // Today in cal2, the months around it, the day view and the captions.
    calendarPane_->startAt(state_.clock().now());
    calendarPane_->calendar(1)->setFocus();
    calendarPane_->resizeCalendars(split1_->position(), split2_->position());
    gridDay_->setFocus();
    paneLayout_->startLayoutPass();
    timerPool_->setEnabled(hoverTrigger_, state_.options().popup);
    updateFilterIndicator();
    updateStatusClock();
    gridDay_->setFocus();
}

void MainWindow::showEvent(QShowEvent* e) {
    QMainWindow::showEvent(e);
    if (windowState_.shown)
        return;
    windowState_.shown = true;
    // The minimum counts the window's frame on one side, as the platform's tracking
    // limits do.
    const int frame = std::max(0, (frameGeometry().width() - geometry().width()) / 2);
    setMinimumWidth(std::max(0, minimumWidth_ - frame));
    setUpAtFirstShow();
}

void MainWindow::saveTaskFiles() {
    // An edit still open in the notes pane is part of what is saved.
    dayNotes_->writeBack();
    // A read-only data folder was reported at start and at every command; hiding and
    // closing (a logout among them) must not stop at an error box.
    if (!readOnlyDataFolder().empty())
        return;
    // Written as they are: sorting waits for the close.
    showErrors(state_.prompts(), state_.store().saveChangedFiles(false));
}

void MainWindow::saveAll() {
    dayNotes_->writeBack();
    layoutMemory_->save(state_.settings());
    if (!readOnlyDataFolder().empty())
        return; // see saveTaskFiles
    showErrors(state_.prompts(), state_.store().saveChangedFiles(true));
}

void MainWindow::saveAtClose() {
    windowState_.alarmBusy = true;
    saveAll();
}

void MainWindow::closeEvent(QCloseEvent* e) {
    e->accept();
    finishClosing();
}

void MainWindow::finishClosing() {
    if (closing_)
        return;
    timerPool_->disableAll();
    closing_ = true;
    tray_->setClosing();
    saveAtClose();
    if (helpWindow())
        helpWindow()->close();
    emit closed();
}

void MainWindow::endSession() {
    close();
    // A window that never showed (started in the tray) may not hear of the close.
    finishClosing();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* e) {
    const QEvent::Type t = e->type();
    if (watched == dateCaption_ && t == QEvent::MouseButtonDblClick) {
        goToToday();
        return true;
    }
    if (t == QEvent::Hide) {
        // A modal dialog of this window has closed (a dialog opened from another one may
        // close both at once): the window comes back to the front with the focus where
        // the command left it, or in the day view.
        auto* dialog = qobject_cast<QDialog*>(watched);
        if (dialog && dialog->isModal() && dialog->parentWidget() &&
            dialog->parentWidget()->window() == this)
            QTimer::singleShot(0, this, [this] { takeBackTheFocus(); });
    }
    if (t == QEvent::KeyPress || t == QEvent::KeyRelease || t == QEvent::ShortcutOverride) {
        auto* w = qobject_cast<QWidget*>(watched);
        // Escape does nothing anywhere in this window; dialogs and menus keep it.
        if (w && w->window() == this && static_cast<QKeyEvent*>(e)->key() == Qt::Key_Escape)
            return true;
    }
    return QMainWindow::eventFilter(watched, e);
}

void MainWindow::takeBackTheFocus() {
    if (closing_ || !isVisible() || isMinimized() || QApplication::activeModalWidget())
        return;
    activateWindow();
    QWidget* f = focusWidget();
    if (!f || f->window() != this)
        gridDay_->setFocus();
}

void MainWindow::resizeEvent(QResizeEvent* e) {
    QMainWindow::resizeEvent(e);
    paneLayout_->layoutGrids();
}

void MainWindow::changeEvent(QEvent* e) {
    QMainWindow::changeEvent(e);
    if (e->type() == QEvent::WindowStateChange && tray_)
        tray_->windowStateChanged();
}

// ---------------------------------------------------------------------------------------
// Timers

void MainWindow::onTimerTrigger(int handle) {
    if (handle == alarmTrigger_ && alarmCheck_)
        alarmCheck_(); // the alarm check
    if (handle == panelColorTrigger_ && panelFlash_)
        panelFlash_(); // the alarm panel's flashing
    if (handle == layoutTrigger_)
        paneLayout_->onLayoutTick();
    if (handle == hoverTrigger_ && hoverTick_)
        hoverTick_(); // the hover summary's countdown
    if (handle == clockTrigger_)
        updateStatusClock();
}

void MainWindow::updateStatusClock() {
    statusClock_->tick();
}

void MainWindow::onDateChangedAtMidnight() {
    // "Today" has moved on: the captions and the calendars' today mark follow; the
    // selected date stays where the user left it.
    updateCaptions();
    calendarPane_->colorAllCalendars(true);
}

// ---------------------------------------------------------------------------------------
// Day view, captions, settings

int MainWindow::selectedDate() const {
    return SelectedDay(*calendarPane_).date();
}

void MainWindow::setSelectedDate(int date) {
    SelectedDay(*calendarPane_).show(date);
}

void MainWindow::goToToday() {
    calendarPane_->today();
}

void MainWindow::updateCaptions() {
    TaskStore& store = state_.store();
    todoCaption_->setText(q(todoCaptionText(store.gridNonday().rowCount())));
    // The date caption reads "Tasks for " until the calendars have a date.
    if (!windowState_.shown || calendarPane_->activeIndex() < 0)
        return;
    const int date = calendarPane_->selectedDay();
    const std::string holiday = holidayForDate(state_.gridHoliday(), date, state_.fs());
    const DateCaption c = dateCaptionFor(date, holiday, store.gridDay().rowCount(),
                                         windowState_.shadows, state_.fs(), state_.clock());
    dateCaption_->setText(q(c.text));
    dateCaption_->setTextColor(toQColor(c.color));
}

void MainWindow::onGridFocused(CellGrid* focused) {
    CellGrid* other = focused == gridDay_ ? gridNonday_ : gridDay_;
    focused->setSelectionColors(SysColor::Highlight, SysColor::HighlightText);
    other->setSelectionColors(SysColor::Window, SysColor::WindowText);
}

// ---------------------------------------------------------------------------------------
// Commands

void MainWindow::maximizeDayTasks() {
    split2_->setPosition(split2_->height());
    gridDay_->setFocus();
}

void MainWindow::maximizeTodoTasks() {
    split2_->setPosition(0);
    gridNonday_->setFocus();
}

void MainWindow::hideAndSilence() {
    // Hiding acknowledges a showing alarm as a click on its panel does (and stops a test
    // sound); otherwise no alarm would fire again while the program sits in the tray.
    if (alarmClear_)
        alarmClear_();
    tray_->hideToTray();
}

void MainWindow::showHelp() {
    showHelpTopic(HelpTopic::Main);
}

} // namespace dw
