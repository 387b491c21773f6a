#include "app/shell/main_window.h"

#include "core/dates/date_format.h"

#include "app/calendar/calendar_pane.h"
#include "app/editing/editor_extras.h"
#include "app/editing/task_commands.h"
#include "app/settings/font_spec.h"
#include "app/settings/options_window.h"
#include "app/shell/app_state.h"
#include "app/shell/help_window.h"
#include "app/shell/pane_splitter.h"
#include "app/shell/resources.h"
#include "app/widgets/cell_grid.h"
#include "app/widgets/shadow_label.h"
#include "app/widgets/timer_pool.h"
#include "app/widgets/win_color.h"
#include "core/calendar/captions.h"
#include "core/dates/date_parse.h"
#include "core/holidays/holiday_rules.h"
#include "core/prompts/prompts.h"
#include "core/settings/option_keys.h"
#include "core/store/helpers.h"

#include <QAction>
#include <QFontMetrics>
#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollBar>
#include <QStatusBar>
#include <QStyle>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

namespace dw {

namespace {

// The notes pane's colour under a task not yet done: a pale cream.
constexpr WinColor kNotesCream = 0x00C9FCF8;

QIcon themedIcon(const char* themeName, const char* file) {
    return QIcon::fromTheme(themeName, QIcon(QString(":/icons/") + file));
}

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

} // namespace

TfrmMain::TfrmMain(AppState& state, QWidget* parent)
    : QMainWindow(parent), state_(state), objMgr_(mainWindowObjMgrItems()) {
    initResources();
    setObjectName("frmMain");
    setWindowIcon(QIcon(":/icons/dayweaver.png"));
    buildWidgets();
    buildMenusAndToolbars();
    buildPropertyHost();
    FormCreate();
    taskCommands_ = std::make_unique<TaskCommands>(*this, state_);
    equipTaskEditors(*taskCommands_, state_, this, [this] { return selectedDate(); });
}

TfrmMain::~TfrmMain() {
    qApp->removeEventFilter(this);
}

// ---------------------------------------------------------------------------------------
// Building the window

void TfrmMain::buildWidgets() {
    split2_ = new PaneSplitter(Qt::Vertical, this);
    split2_->setObjectName("split2");
    split2_->setHandleWidth(2);

    split1_ = new PaneSplitter(Qt::Horizontal, split2_);
    split1_->setObjectName("split1");
    split1_->setHandleWidth(2);

    // The four month calendars and the date navigator.
    calendarPane_ = new CalendarPane(state_, split1_);
    auto* calendars = calendarPane_;

    auto* dayPane = new QWidget(split1_);
    dayPane->setObjectName("pnlDay");
    auto* dayLayout = new QVBoxLayout(dayPane);
    dayLayout->setContentsMargins(0, 0, 0, 0);
    dayLayout->setSpacing(0);
    auto* dayHeader = new QHBoxLayout;
    dayHeader->setContentsMargins(4, 0, 0, 0);
    lblDate_ = new ShadowLabel("Tasks for ", dayPane);
    lblDate_->setObjectName("lblDate");
    lblDate_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    lblDate_->setMinimumWidth(1);
    dayHeader->addWidget(lblDate_, 1);
    dayToolBar_ = new QToolBar(dayPane);
    dayToolBar_->setObjectName("tbDay");
    dayToolBar_->setIconSize(QSize(16, 16));
    dayToolBar_->setMovable(false);
    dayHeader->addWidget(dayToolBar_, 0, Qt::AlignRight | Qt::AlignVCenter);
    dayLayout->addLayout(dayHeader);

    splitDay_ = new PaneSplitter(Qt::Vertical, dayPane);
    splitDay_->setObjectName("splitDay");
    gridDay_ = new CellGrid(state_.store().gridDay(), splitDay_);
    gridDay_->setObjectName("gridDay");
    gridDay_->setMinimumHeight(1);
    // The selected task's text, editable in place; it goes back to the task when the pane
    // loses the focus. It holds what the editor's notes hold.
    memWhat_ = makeNotesPane(splitDay_);
    memWhat_->setObjectName("memWhat");
    memWhat_->setFrameStyle(QFrame::NoFrame);
    memWhat_->setMinimumHeight(1);
    memWhat_->hide();
    splitDay_->addWidget(gridDay_);
    splitDay_->addWidget(memWhat_);
    splitDay_->setStretchFactor(0, 0);
    splitDay_->setStretchFactor(1, 1);
    dayLayout->addWidget(splitDay_, 1);

    split1_->addWidget(calendars);
    split1_->addWidget(dayPane);
    split1_->setStretchFactor(0, 0);
    split1_->setStretchFactor(1, 1);

    auto* todoPane = new QWidget(split2_);
    todoPane->setObjectName("pnlTodo");
    auto* todoLayout = new QVBoxLayout(todoPane);
    todoLayout->setContentsMargins(0, 0, 0, 0);
    todoLayout->setSpacing(0);
    EsLabel1_ = new ShadowLabel("To-do Tasks", todoPane);
    EsLabel1_->setObjectName("EsLabel1");
    EsLabel1_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    EsLabel1_->setContentsMargins(4, 0, 0, 0);
    EsLabel1_->setMinimumWidth(1);
    // The to-do commands sit at the right of the caption, as the day's do beside the date:
    // a column of buttons beside the grid would not fit the short pane of the default layout.
    auto* todoHeader = new QHBoxLayout;
    todoHeader->setContentsMargins(0, 0, 4, 0);
    todoHeader->addWidget(EsLabel1_, 1);
    todoToolBar_ = new QToolBar(todoPane);
    todoToolBar_->setObjectName("tbTodo");
    todoToolBar_->setIconSize(QSize(16, 16));
    todoToolBar_->setMovable(false);
    todoHeader->addWidget(todoToolBar_, 0, Qt::AlignRight | Qt::AlignVCenter);
    todoLayout->addLayout(todoHeader);
    gridNonday_ = new CellGrid(state_.store().gridNonday(), todoPane);
    gridNonday_->setObjectName("gridNonday");
    gridNonday_->setMinimumHeight(1);
    todoLayout->addWidget(gridNonday_, 1);

    split2_->addWidget(split1_);
    split2_->addWidget(todoPane);
    split2_->setStretchFactor(0, 0);
    split2_->setStretchFactor(1, 1);
    setCentralWidget(split2_);

    lblStatus_ = new QLabel(this);
    lblStatus_->setObjectName("lblStatus");
    statusBar()->addWidget(lblStatus_, 1);
    statusBar()->setSizeGripEnabled(true);

    connect(gridDay_, &CellGrid::resized, this, &TfrmMain::ResizeGridDay);
    connect(gridNonday_, &CellGrid::resized, this, &TfrmMain::ResizeGridNonDay);
    connect(gridDay_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this] { DrawExtraMemo(); });
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (now == gridDay_ || now == gridNonday_)
            gridDayEnter(static_cast<CellGrid*>(now));
    });
    connect(split1_, &QSplitter::splitterMoved, this, &TfrmMain::split1Resize);
    connect(split2_, &QSplitter::splitterMoved, this, &TfrmMain::split2Resize);
    // A new date in the active calendar: the day view has been refilled from the store.
    connect(calendarPane_, &CalendarPane::dayViewRefilled, this, [this] {
        gridDay_->refresh();
        UpdateLabels();
        ResizeGridDay();
        DrawExtraMemo();
    });
    connect(calendarPane_, &CalendarPane::foundTaskRow, this, [this](int row) {
        gridDay_->setFocus();
        if (row > 0)
            gridDay_->selectTableRow(row);
    });
    // A double click on the date caption goes to today.
    lblDate_->installEventFilter(this);

    TrayIcon_ = new QSystemTrayIcon(windowIcon(), this);
    TrayIcon_->setObjectName("TrayIcon");
    TrayIcon_->setToolTip("Right click to open");
    connect(TrayIcon_, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason) { bringBack(); });
    // Some notification areas answer a right click only with a menu: it opens the
    // window too, and offers the way out without opening it first.
    auto* trayMenu = new QMenu(this);
    trayMenu->setObjectName("TrayMenu");
    QAction* open = trayMenu->addAction("Open Dayweaver", this, [this] { bringBack(); });
    QFont bold = open->font();
    bold.setBold(true);
    open->setFont(bold);
    trayMenu->addSeparator();
    trayMenu->addAction("Exit", this, [this] { close(); });
    TrayIcon_->setContextMenu(trayMenu);
    trayAvailable_ = QSystemTrayIcon::isSystemTrayAvailable();
    if (trayAvailable_)
        TrayIcon_->show();

    // Every key reaches this window's filter before any of its controls.
    qApp->installEventFilter(this);
}

QAction* TfrmMain::addAction(QMenu* menu, const QString& name, const QString& text,
                             const QKeySequence& key, std::function<void()> run) {
    auto* a = new QAction(text, this);
    a->setObjectName(name);
    if (!key.isEmpty())
        a->setShortcut(key);
    connect(a, &QAction::triggered, this, [run = std::move(run)] { run(); });
    if (menu)
        menu->addAction(a);
    QMainWindow::addAction(a); // the shortcut works wherever the focus is in the window
    return a;
}

QAction* TfrmMain::action(const QString& objectName) const {
    return findChild<QAction*>(objectName);
}

void TfrmMain::buildMenusAndToolbars() {
    // "Help" takes no Alt+H mnemonic: that key hides the window.
    QMenu* file = menuBar()->addMenu("&File");
    file->setObjectName("File1");
    QMenu* navigate = menuBar()->addMenu("&Navigate");
    navigate->setObjectName("Navigate1");
    QMenu* resize = menuBar()->addMenu("&Resize");
    resize->setObjectName("Resize1");
    QMenu* help = menuBar()->addMenu("He&lp");
    help->setObjectName("Help1");

    QAction* options = addAction(file, "Options1", "Options", QKeySequence(Qt::CTRL | Qt::Key_O),
                                 [this] { Options1Click(); });
    options->setIcon(themedIcon("preferences-system", "options.png"));
    options->setToolTip("Options");
    QAction* hide = addAction(file, "Hide1", "Hide", QKeySequence(Qt::ALT | Qt::Key_H),
                              [this] { Hide1Click(); });
    hide->setIcon(themedIcon("go-down", "hide.png"));
    file->addSeparator();
    QAction* exit =
        addAction(file, "Exit1", "Exit", QKeySequence(Qt::ALT | Qt::Key_X), [this] { close(); });
    exit->setIcon(themedIcon("application-exit", "exit.png"));

    QAction* today = addAction(navigate, "Today1", "Today", QKeySequence(Qt::CTRL | Qt::Key_Home),
                               [this] { Today1Click(); });
    today->setToolTip("Goto today");

    addAction(resize, "N4monthCalendars1", "4-month Calendars Width", {},
              [this] { pointAtSplitter(split1_); });
    addAction(resize, "DaytoNonDayEvents1", "Day to To-do Tasks", {},
              [this] { pointAtSplitter(split2_); });
    addAction(resize, "DailyEventsNotes1", "Daily Tasks/Notes", {},
              [this] { pointAtSplitter(splitDay_); });
    resize->addSeparator();
    addAction(resize, "Maximizedailyevents1", "Maximize daily tasks",
              QKeySequence(Qt::CTRL | Qt::Key_D), [this] { Maximizedailyevents1Click(); });
    addAction(resize, "Maximizenondaytasks1", "Maximize to-do tasks",
              QKeySequence(Qt::CTRL | Qt::Key_T), [this] { Maximizenondaytasks1Click(); });
    resize->addSeparator();
    addAction(resize, "Memorizescreensizepositions1", "Memorize screen size/positions", {},
              [this] { Memorizescreensizepositions1Click(); });
    addAction(resize, "Recoverscreensizepositions1", "Restore screen size/positions",
              QKeySequence(Qt::CTRL | Qt::Key_R), [this] { Recoverscreensizepositions1Click(); });

    QAction* helpAction =
        addAction(help, "Help2", "Help", QKeySequence(Qt::Key_F1), [this] { Help2Click(); });
    helpAction->setIcon(themedIcon("help-contents", "help.png"));
    helpAction->setToolTip("Help");

    mainToolBar_ = new QToolBar(this);
    mainToolBar_->setObjectName("ToolBar1");
    mainToolBar_->setMovable(false);
    mainToolBar_->setFloatable(false);
    mainToolBar_->setIconSize(QSize(16, 16));
    mainToolBar_->setToolButtonStyle(Qt::ToolButtonIconOnly);
    mainToolBar_->toggleViewAction()->setVisible(false);
    // The top panel is 25 pixels high.
    mainToolBar_->setFixedHeight(25);
    addToolBar(Qt::TopToolBarArea, mainToolBar_);

    QAction* hideCalendar =
        addAction(nullptr, "ToolButton14", "Hide calendar", {}, [this] { hideToTray(); });
    hideCalendar->setIcon(themedIcon("go-bottom", "tray.png"));
    hideCalendar->setToolTip("Hide calendar");
    mainToolBar_->addAction(options);
    mainToolBar_->addAction(hideCalendar);
    mainToolBar_->addSeparator();
    mainToolBar_->addAction(helpAction);

    // The day and to-do toolbars are filled by the task commands; until then they take
    // no room.
    dayToolBar_->hide();
    todoToolBar_->hide();
}

void TfrmMain::buildPropertyHost() {
    properties_ = std::make_unique<TablePropertyHost>(objectName().toStdString());
    properties_->addOwnerProperty(
        "ClientHeight", [this] { return clientHeight(); }, [this](int v) { setClientHeight(v); });
    properties_->addOwnerProperty(
        "ClientWidth", [this] { return clientWidth(); }, [this](int v) { setClientWidth(v); });
    for (PaneSplitter* s : {split2_, split1_, splitDay_}) {
        properties_->addProperty(
            s->objectName().toStdString(), "Position", [s] { return s->position(); },
            [s](int v) { s->setPosition(v); });
    }
}

// ---------------------------------------------------------------------------------------
// Lifecycle

void TfrmMain::FormCreate() {
    minimumWidth_ = dw::minimumWindowWidth(pixelsPerInch());
    layoutPass_ = LayoutPass();
    alarmBusy_ = false;
    // The resize reaction is resizeEvent, attached from here on.
    objMgr_.load(state_.settings(), *properties_);
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
    connect(timerPool_, &TimerPool::allTriggers, this, &TfrmMain::timerPoolAllTriggers);

    // The grid font and row height come from the options as soon as they are known.
    ChangeGridFonts();

    // The window opens centred on its screen.
    if (QScreen* scr = screen()) {
        const QRect avail = scr->availableGeometry();
        move(avail.center() - QPoint(width() / 2, height() / 2));
    }
}

void TfrmMain::loadTables() {
    TaskStore& store = state_.store();
    // A damaged file has been kept aside by the loader, so the next save cannot lose it.
    try {
        store.loadStoreFile();
    } catch (const TableFileError& e) {
        showError(e.what());
    }
    try {
        store.loadTodoFile();
    } catch (const TableFileError& e) {
        showError(e.what());
    }
    gridNonday_->refresh();
}

void TfrmMain::FormShow() {
    calendarPane_->setMondayFirst(!state_.options().sunday);
    fix2000(state_.fs());
    try {
        loadTableIfPresent(state_.gridHoliday(), state_.holidayPath());
    } catch (const TableFileError& e) {
        showError(e.what());
    }
    ReadSettings();
    // Today in cal2, the months around it, the day view and the captions.
    calendarPane_->startAt(state_.clock().now());
    calendarPane_->calendar(1)->setFocus();
    calendarPane_->resizeCalendars(split1_->position(), split2_->position());
    gridDay_->setFocus();
    timerPool_->setEnabled(layoutTrigger_, true);
    timerPool_->setEnabled(hoverTrigger_, state_.options().popup);
    // TODO: the filter indicator ("Filters" / "FILTERS ON") joins with the filter window.
    UpdateStatusClock();
    gridDay_->setFocus();
}

void TfrmMain::showEvent(QShowEvent* e) {
    QMainWindow::showEvent(e);
    if (firstShown_)
        return;
    firstShown_ = true;
    // The minimum counts the window's frame on one side, as the platform's tracking
    // limits do.
    const int frame = std::max(0, (frameGeometry().width() - geometry().width()) / 2);
    setMinimumWidth(std::max(0, minimumWidth_ - frame));
    FormShow();
}

bool TfrmMain::FormCloseQuery() {
    timerPool_->disableAll();
    return true;
}

void TfrmMain::FormClose() {
    alarmBusy_ = true;
    TaskStore& store = state_.store();
    store.SortGridStore();
    store.saveTodoFile();
    objMgr_.save(state_.settings(), *properties_);
}

void TfrmMain::closeEvent(QCloseEvent* e) {
    if (closing_) {
        e->accept();
        return;
    }
    if (!FormCloseQuery()) {
        e->ignore();
        return;
    }
    closing_ = true;
    FormClose();
    e->accept();
    if (helpWindow())
        helpWindow()->close();
    emit closed();
}

bool TfrmMain::eventFilter(QObject* watched, QEvent* e) {
    const QEvent::Type t = e->type();
    if (watched == lblDate_ && t == QEvent::MouseButtonDblClick) {
        Today1Click();
        return true;
    }
    if (t == QEvent::KeyPress || t == QEvent::KeyRelease || t == QEvent::ShortcutOverride) {
        auto* w = qobject_cast<QWidget*>(watched);
        // Escape does nothing anywhere in this window; dialogs and menus keep it.
        if (w && w->window() == this && static_cast<QKeyEvent*>(e)->key() == Qt::Key_Escape)
            return true;
    }
    return QMainWindow::eventFilter(watched, e);
}

// ---------------------------------------------------------------------------------------
// Timers

void TfrmMain::timerPoolAllTriggers(int handle) {
    if (handle == alarmTrigger_ && alarmCheck_)
        alarmCheck_(); // the alarm check
    if (handle == panelColorTrigger_ && panelFlash_)
        panelFlash_(); // the alarm panel's flashing
    if (handle == layoutTrigger_)
        Timer2Timer();
    if (handle == hoverTrigger_ && hoverTick_)
        hoverTick_(); // the hover summary's countdown
    if (handle == clockTrigger_)
        UpdateStatusClock();
}

void TfrmMain::Timer2Timer() {
    const LayoutTick tick = layoutTick(layoutPass_);
    if (tick.kind == LayoutTick::RunLayout)
        FormResize();
    else if (tick.kind == LayoutTick::PaintBar)
        paintFlashTarget(tick.color);
    if (tick.stopTrigger())
        timerPool_->setEnabled(layoutTrigger_, false);
}

void TfrmMain::paintFlashTarget(WinColor c) {
    if (flashTarget_)
        flashTarget_->setBarColor(toQColor(c));
}

void TfrmMain::UpdateStatusClock() {
    lblStatus_->setText(q(statusClockText(state_.clock().now(), state_.fs())));
}

// ---------------------------------------------------------------------------------------
// Day view, captions, settings

int TfrmMain::selectedDate() const {
    return calendarPane_->selectedDay();
}

void TfrmMain::setSelectedDate(int date) {
    // A new day starts at midnight; the same day keeps its time.
    if (date == calendarPane_->selectedDay())
        calendarPane_->setSelectedDate(calendarPane_->selectedDate());
    else
        calendarPane_->setSelectedDate(date);
}

void TfrmMain::Today1Click() {
    calendarPane_->today();
}

void TfrmMain::UpdateLabels() {
    TaskStore& store = state_.store();
    EsLabel1_->setText(q(todoCaption(store.gridNonday().rowCount())));
    // The date caption reads "Tasks for " until the calendars have a date.
    if (!firstShown_ || calendarPane_->activeIndex() < 0)
        return;
    const int date = calendarPane_->selectedDay();
    const std::string holiday = holidayForDate(state_.gridHoliday(), date, state_.fs());
    const DateCaption c = dateCaption(date, holiday, store.gridDay().rowCount(), shadows_,
                                      state_.fs(), state_.clock());
    lblDate_->setText(q(c.text));
    lblDate_->setTextColor(toQColor(c.color));
}

void TfrmMain::ReadSettings() {
    const SettingsStore& store = state_.settings();
    shadows_ = readKeyFlag(store, optionKey("Options", "Shadows"));
    category_ = readKeyText(store, optionKey("Options", "Category"));
    confirm_ = readKeyFlag(store, optionKey("Options", "Confirm"));
    ApplySettings(shadows_);
    timerPool_->setEnabled(hoverTrigger_, state_.options().popup);
    // TODO: tick "Enable popup summary" / "Disable popup summary" with the hover summary.
    // The date caption's colour tells a holiday: put it back after the caption look.
    UpdateLabels();
}

void TfrmMain::ApplySettings(bool shadows) {
    const Options& o = state_.options();
    const QFont title = toQFont(o.titleFont);
    const int height = titleCaptionHeight(o.titleFont.size, logicalDpiY(), shadows);
    const CaptionLook look = titleCaptionLook(shadows);
    for (ShadowLabel* caption : {lblDate_, EsLabel1_}) {
        caption->setFont(title);
        caption->setFixedHeight(height);
        caption->setShadowDepth(look.shadowDepth);
        caption->setTextColor(toQColor(look.color));
    }
    // TODO: the filter window's and the completed-tasks window's titles take the same
    // font and look when those windows land.
    ResizeGridDay();
    ResizeGridNonDay();
    calendarPane_->setMondayFirst(!o.sunday);
}

void TfrmMain::ChangeGridFonts() {
    const Options& o = state_.options();
    const QFont font = toQFont(o.gridFont);
    for (CellGrid* g : {gridDay_, gridNonday_}) {
        g->setGridFont(font);
        g->setRowHeight(o.rowHeight);
    }
    memWhat_->setFont(font);
    ResizeGridDay();
    ResizeGridNonDay();
}

void TfrmMain::gridDayEnter(CellGrid* focused) {
    CellGrid* other = focused == gridDay_ ? gridNonday_ : gridDay_;
    focused->setSelectionColors(SysColor::Highlight, SysColor::HighlightText);
    other->setSelectionColors(SysColor::Window, SysColor::WindowText);
}

void TfrmMain::DrawExtraMemo() {
    const CellTable& day = state_.store().gridDay();
    const int row = gridDay_->selectedRow();
    if (row < 1 || row >= day.rowCount()) {
        memWhat_->hide();
        return;
    }
    const std::string& what = day.cell(DayCol::What, row);
    std::vector<std::string> lines;
    textToSingleLine(what, lines);
    memWhat_->setPlainText(lines.empty() ? QString() : q(lines.front()));
    QPalette pal = memWhat_->palette();
    pal.setColor(QPalette::Base,
                 toQColor(isYes(day.cell(DayCol::Done, row)) ? SysColor::ButtonFace : kNotesCream));
    memWhat_->setPalette(pal);
    memWhat_->setVisible(!what.empty());
}

// ---------------------------------------------------------------------------------------
// Layout

int TfrmMain::pixelsPerInch() const {
    return logicalDpiX();
}

int TfrmMain::clientWidth() const {
    return width();
}

int TfrmMain::clientHeight() const {
    const int menu = menuBar()->isNativeMenuBar() ? 0 : menuBar()->sizeHint().height();
    return height() - menu;
}

void TfrmMain::setClientWidth(int w) {
    resize(w, height());
}

void TfrmMain::setClientHeight(int h) {
    const int menu = menuBar()->isNativeMenuBar() ? 0 : menuBar()->sizeHint().height();
    resize(width(), h + menu);
}

void TfrmMain::resizeEvent(QResizeEvent* e) {
    QMainWindow::resizeEvent(e);
    FormResize();
}

void TfrmMain::FormResize() {
    // Qt lays the panes out before this window hears of its new size, so the grids have
    // theirs already: no need to let pending events run first.
    ResizeGridDay();
    ResizeGridNonDay();
}

void TfrmMain::split1Resize() {
    calendarPane_->resizeCalendars(split1_->position(), split2_->position());
    ResizeGridDay();
}

void TfrmMain::split2Resize() {
    // Qt has laid the panes out already: nothing pending to let run first.
    ResizeGridDay();
    calendarPane_->resizeCalendars(split1_->position(), split2_->position());
    ResizeGridNonDay();
}

int TfrmMain::widestTimeText() const {
    // The locale's time texts at a few telling times, in the grid's font, with the cell's
    // padding on both sides.
    const QFontMetrics fm(gridDay_->font());
    int widest = 0;
    for (const DateSerial t : {timeFraction(0, 0), timeFraction(12, 59), timeFraction(23, 59)})
        widest = std::max(widest, fm.horizontalAdvance(QString::fromStdString(
                                      formatDateTime("t", t, state_.fs()))));
    return widest + 2 * fm.averageCharWidth() + 4;
}

void TfrmMain::ResizeGridDay() {
    const GridMeasures m{
        pixelsPerInch(), gridDay_->width(),
        gridDay_->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, gridDay_),
        2 * gridDay_->frameWidth(), gridDay_->needsVerticalScroll(), widestTimeText()};
    const auto widths = dayColumnWidths(m);
    for (int c = 0; c < static_cast<int>(widths.size()); ++c) {
        gridDay_->setColumnWidth(c, widths[c]);
        gridDay_->table().setColWidth(c, widths[c]);
    }
}

void TfrmMain::ResizeGridNonDay() {
    const GridMeasures m{
        pixelsPerInch(), gridNonday_->width(),
        gridNonday_->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, gridNonday_),
        2 * gridNonday_->frameWidth(), gridNonday_->needsVerticalScroll()};
    const auto widths = todoColumnWidths(m);
    for (int c = 0; c < static_cast<int>(widths.size()); ++c) {
        gridNonday_->setColumnWidth(c, widths[c]);
        gridNonday_->table().setColWidth(c, widths[c]);
    }
}

void TfrmMain::pointAtSplitter(PaneSplitter* s) {
    flashTarget_ = s;
    layoutPass_.startFlash();
    timerPool_->setEnabled(layoutTrigger_, true);
    // The pointer goes to the middle of the bar, when that is on the screen.
    const QPoint local = s->orientation() == Qt::Horizontal ? QPoint(s->position(), s->height() / 2)
                                                            : QPoint(s->width() / 2, s->position());
    const QPoint global = s->mapToGlobal(local);
    QScreen* scr = s->screen();
    if (scr && global.x() < scr->geometry().width() && global.y() < scr->geometry().height())
        QCursor::setPos(scr, global);
}

void TfrmMain::Maximizedailyevents1Click() {
    split2_->setPosition(split2_->height());
    gridDay_->setFocus();
}

void TfrmMain::Maximizenondaytasks1Click() {
    split2_->setPosition(0);
    gridNonday_->setFocus();
}

QRect TfrmMain::outerBounds() const {
    return isVisible() ? frameGeometry() : geometry();
}

void TfrmMain::setOuterTop(int top) {
    move(outerBounds().left(), top);
}

void TfrmMain::setOuterLeft(int left) {
    move(left, outerBounds().top());
}

void TfrmMain::setOuterHeight(int h) {
    resize(width(), std::max(1, h - (outerBounds().height() - height())));
}

void TfrmMain::setOuterWidth(int w) {
    resize(std::max(1, w - (outerBounds().width() - width())), height());
}

void TfrmMain::Memorizescreensizepositions1Click() {
    if (!prompts().askYesNo("Really memorize current screen positions?", ""))
        return;
    const QRect outer = outerBounds();
    writeMemorizedLayout(state_.settings(),
                         {outer.top(), outer.left(), outer.height(), outer.width(),
                          split1_->position(), split2_->position(), splitDay_->position()});
}

void TfrmMain::Recoverscreensizepositions1Click() {
    const std::optional<MemorizedLayout> l = readMemorizedLayout(state_.settings());
    if (!l) {
        showError("Screen has not yet been memorized");
        return;
    }
    setOuterTop(l->top);
    setOuterLeft(l->left);
    setOuterHeight(l->height);
    setOuterWidth(l->width);
    split1_->setPosition(l->split1);
    split2_->setPosition(l->split2);
    splitDay_->setPosition(l->splitDay);
}

// ---------------------------------------------------------------------------------------
// Tray

void TfrmMain::setTrayAvailable(bool available) {
    trayAvailable_ = available;
}

void TfrmMain::TrayIconAppMinimize() {
    // Written as they are: sorting waits for the close.
    state_.store().saveStoreFile();
    state_.store().saveTodoFile();
}

void TfrmMain::hideToTray() {
    TrayIconAppMinimize();
    if (trayAvailable_) {
        hide();
    } else {
        savedByHide_ = true;
        showMinimized();
        savedByHide_ = false;
    }
}

void TfrmMain::Hide1Click() {
    if (frmOptions_)
        frmOptions_->playAlarmSound(false);
    hideToTray();
}

void TfrmMain::changeEvent(QEvent* e) {
    QMainWindow::changeEvent(e);
    if (e->type() != QEvent::WindowStateChange || !isMinimized() || closing_)
        return;
    if (!savedByHide_)
        TrayIconAppMinimize();
    if (trayAvailable_) {
        // Hiding in the middle of the state change confuses some window managers.
        QTimer::singleShot(0, this, [this] {
            if (isMinimized())
                hide();
        });
    }
}

void TfrmMain::bringBack() {
    if (closing_)
        return;
    if (isMinimized())
        showNormal();
    else
        show();
    raise();
    activateWindow();
}

void TfrmMain::startInTray() {
    if (!trayAvailable_)
        showMinimized();
}

// ---------------------------------------------------------------------------------------
// Help

void TfrmMain::Help2Click() {
    showHelpTopic(HelpTopic::Main);
}

// ---------------------------------------------------------------------------------------
// Options

void TfrmMain::setOptionsWindow(TfrmOptions* options) {
    if (frmOptions_)
        disconnect(frmOptions_, nullptr, this, nullptr);
    frmOptions_ = options;
    if (!options)
        return;
    connect(options, &TfrmOptions::shadowsChanged, this, &TfrmMain::ApplySettings);
    connect(options, &TfrmOptions::gridFontChanged, this, &TfrmMain::ChangeGridFonts);
    connect(options, &TfrmOptions::rowHeightChanged, this, [this](int height) {
        gridDay_->setRowHeight(height);
        gridNonday_->setRowHeight(height);
        FormResize();
    });
    connect(options, &TfrmOptions::dayViewNeedsRefresh, this, [this] {
        if (firstShown_)
            calendarPane_->cal1DateChange();
    });
    connect(options, &TfrmOptions::helpRequested, this, [](int topic) { showHelpTopic(topic); });
    // The calendars repaint and change font on the options window's word.
    calendarPane_->setOptionsWindow(options);
    // The window has read the options at its creation without telling anyone.
    ChangeGridFonts();
}

TfrmOptions* TfrmMain::optionsWindow() const {
    return frmOptions_;
}

void TfrmMain::Options1Click() {
    if (!frmOptions_)
        return;
    frmOptions_->exec();
    // Whatever the outcome: the window's copies go back to what the store holds.
    ReadSettings();
    // The to-do list under the window may have to show done rows struck out or not.
    gridNonday_->viewport()->update();
}

} // namespace dw
