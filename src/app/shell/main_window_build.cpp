#include "app/shell/main_window.h"

// How the main window is put together: its panes, menus and toolbars. What they do is
// wired in main_window.cpp.

#include "app/calendar/calendar_pane.h"
#include "app/editing/day_notes.h"
#include "app/editing/notes_field.h"
#include "app/shell/about_box.h"
#include "app/shell/app_state.h"
#include "app/shell/main_actions.h"
#include "app/shell/pane_splitter.h"
#include "app/shell/status_clock.h"
#include "app/widgets/cell_grid.h"
#include "app/widgets/shadow_label.h"

#include <QAction>
#include <QFrame>
#include <QHBoxLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>

namespace dw {

namespace {

QToolBar* makePaneToolBar(const char* name, QWidget* parent) {
    auto* bar = new QToolBar(parent);
    bar->setObjectName(name);
    bar->setIconSize(QSize(16, 16));
    bar->setMovable(false);
    return bar;
}

ShadowLabel* makeCaption(const char* name, const QString& text, QWidget* parent) {
    auto* caption = new ShadowLabel(text, parent);
    caption->setObjectName(name);
    caption->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    caption->setMinimumWidth(1);
    return caption;
}

PaneSplitter* makeSplitter(const char* name, Qt::Orientation o, QWidget* parent) {
    auto* s = new PaneSplitter(o, parent);
    // The names are the remembered layout's keys.
    s->setObjectName(name);
    s->setHandleWidth(2);
    return s;
}

} // namespace

// ---------------------------------------------------------------------------------------
// Building the window

void MainWindow::buildWidgets() {
    split2_ = makeSplitter("split2", Qt::Vertical, this);
    split1_ = makeSplitter("split1", Qt::Horizontal, split2_);

    // The four month calendars and the date navigator.
    calendarPane_ = new CalendarPane(state_, split1_);

    auto* dayPanel = new QWidget(split1_);
    dayPanel->setObjectName("dayPanel");
    auto* dayLayout = new QVBoxLayout(dayPanel);
    dayLayout->setContentsMargins(0, 0, 0, 0);
    dayLayout->setSpacing(0);
    auto* dayHeader = new QHBoxLayout;
    dayHeader->setContentsMargins(4, 0, 0, 0);
    dateCaption_ = makeCaption("dateCaption", "Tasks for ", dayPanel);
    dayHeader->addWidget(dateCaption_, 1);
    dayToolBar_ = makePaneToolBar("dayToolBar", dayPanel);
    dayHeader->addWidget(dayToolBar_, 0, Qt::AlignRight | Qt::AlignVCenter);
    dayLayout->addLayout(dayHeader);

    splitDay_ = makeSplitter("splitDay", Qt::Vertical, dayPanel);
    gridDay_ = new CellGrid(state_.store().gridDay(), splitDay_);
    gridDay_->setObjectName("gridDay");
    gridDay_->setMinimumHeight(1);
    // The selected task's text, editable in place; it goes back to the task when the pane
    // loses the focus. It holds what the editor's notes hold.
    notesPane_ = makeNotesPane(splitDay_);
    notesPane_->setObjectName("notesPane");
    notesPane_->setFrameStyle(QFrame::NoFrame);
    notesPane_->setMinimumHeight(1);
    notesPane_->hide();
    splitDay_->addWidget(gridDay_);
    splitDay_->addWidget(notesPane_);
    splitDay_->setStretchFactor(0, 0);
    splitDay_->setStretchFactor(1, 1);
    dayLayout->addWidget(splitDay_, 1);

    split1_->addWidget(calendarPane_);
    split1_->addWidget(dayPanel);
    split1_->setStretchFactor(0, 0);
    split1_->setStretchFactor(1, 1);

    auto* todoPanel = new QWidget(split2_);
    todoPanel->setObjectName("todoPanel");
    auto* todoLayout = new QVBoxLayout(todoPanel);
    todoLayout->setContentsMargins(0, 0, 0, 0);
    todoLayout->setSpacing(0);
    todoCaption_ = makeCaption("todoCaption", "To-do Tasks", todoPanel);
    todoCaption_->setContentsMargins(4, 0, 0, 0);
    // The to-do commands sit at the right of the caption, as the day's do beside the date:
    // a column of buttons beside the grid would not fit the short pane of the default layout.
    auto* todoHeader = new QHBoxLayout;
    todoHeader->setContentsMargins(0, 0, 4, 0);
    todoHeader->addWidget(todoCaption_, 1);
    todoToolBar_ = makePaneToolBar("todoToolBar", todoPanel);
    todoHeader->addWidget(todoToolBar_, 0, Qt::AlignRight | Qt::AlignVCenter);
    todoLayout->addLayout(todoHeader);
    gridNonday_ = new CellGrid(state_.store().gridNonday(), todoPanel);
    gridNonday_->setObjectName("gridNonday");
    gridNonday_->setMinimumHeight(1);
    todoLayout->addWidget(gridNonday_, 1);

    split2_->addWidget(split1_);
    split2_->addWidget(todoPanel);
    split2_->setStretchFactor(0, 0);
    split2_->setStretchFactor(1, 1);
    setCentralWidget(split2_);

    statusClock_ = new StatusClock(state_.clock(), state_.fs(), this);
    statusBar()->addWidget(statusClock_, 1);
    statusBar()->setSizeGripEnabled(true);
}

void MainWindow::buildMenusAndToolbars() {
    const MainActions& a = *actions_;
    // "Help" takes no Alt+H mnemonic: that key hides the window.
    QMenu* file = menuBar()->addMenu("&File");
    file->setObjectName("fileMenu");
    fileMenu_ = file;
    QMenu* edit = menuBar()->addMenu("&Edit");
    edit->setObjectName("editMenu");
    QMenu* navigate = menuBar()->addMenu("&Navigate");
    navigate->setObjectName("navigateMenu");
    QMenu* resize = menuBar()->addMenu("&Resize");
    resize->setObjectName("resizeMenu");
    QMenu* help = menuBar()->addMenu("He&lp");
    help->setObjectName("helpMenu");

    file->addActions({a.find, a.options, a.categories});
    file->addSeparator();
    file->addActions({a.archive, a.restore, a.clearAll});
    file->addSeparator();
    file->addAction(a.synchronise);
    file->addSeparator();
    file->addAction(a.hide);
    file->addSeparator();
    file->addAction(a.exit);
    edit->addActions(
        {a.insertTask, a.insertTodo, a.editTask, a.editTodo, a.deleteTask, a.deleteTodo});
    navigate->addActions({a.nextTask, a.priorTask});
    navigate->addSeparator();
    navigate->addActions({a.nextMonth, a.priorMonth, a.nextYear, a.priorYear});
    navigate->addSeparator();
    navigate->addAction(a.today);
    resize->addActions({a.calendarsWidth, a.dayToTodo, a.dayNotes});
    resize->addSeparator();
    resize->addActions({a.maximizeDay, a.maximizeTodo});
    resize->addSeparator();
    resize->addActions({a.memorizeLayout, a.restoreLayout});
    // "Filters" is an item of the menu bar itself; its caption tells whether filters are on.
    menuBar()->insertAction(help->menuAction(), a.filters);
    help->addAction(a.help);
    help->addAction(a.about);
    connect(a.about, &QAction::triggered, this, [this] { showAboutBox(this); });

    mainToolBar_ = new QToolBar(this);
    mainToolBar_->setObjectName("mainToolBar");
    mainToolBar_->setMovable(false);
    mainToolBar_->setFloatable(false);
    mainToolBar_->setIconSize(QSize(16, 16));
    mainToolBar_->setToolButtonStyle(Qt::ToolButtonIconOnly);
    mainToolBar_->toggleViewAction()->setVisible(false);
    // The top panel is 25 pixels high.
    mainToolBar_->setFixedHeight(25);
    addToolBar(Qt::TopToolBarArea, mainToolBar_);
    mainToolBar_->addAction(a.options);
    mainToolBar_->addAction(a.hideCalendar);
    mainToolBar_->addAction(a.filtersButton);
    mainToolBar_->addAction(a.today);
    mainToolBar_->addAction(a.find);
    mainToolBar_->addAction(a.archive);
    mainToolBar_->addSeparator();
    mainToolBar_->addAction(a.help);

    dayToolBar_->addActions(
        {a.dayToolbarAdd, a.dayToolbarEdit, a.dayToolbarDone, a.dayToolbarDelete, a.toggleAlarm});
    todoToolBar_->addActions(
        {a.todoToolbarAdd, a.todoToolbarEdit, a.todoToolbarDone, a.todoToolbarDelete});
}

} // namespace dw
