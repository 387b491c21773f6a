#pragma once

#include "app/shell/window_state.h"

#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <memory>
#include <string>

class QLabel;
class QMenu;
class QPlainTextEdit;
class QToolBar;

namespace dw {

class AppState;
class CalendarPane;
class CellGrid;
class DayNotes;
class LayoutMemory;
class MainActions;
class OptionsDialog;
class PaneLayout;
class PaneSplitter;
class ShadowLabel;
class StatusClock;
class TimerPool;
class TrayController;

// The program's main window. It assembles the calendar pane, the day view with its notes
// pane, the to-do list, the menus and toolbars and the status clock, and runs the window's
// life: loading at creation, setting up at first show, saving at close. The tray, the
// remembered layout, the panes' geometry, the actions and the notes pane's text are its own
// helpers; the commands and the other windows are built beside it and wired to it by the
// composition (window_composition.h); the rules live in the core.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(AppState& state, QWidget* parent = nullptr);
    ~MainWindow() override;

    AppState& state() { return state_; }

    // The panes and controls, for the composition that hands them to the parts beside the
    // window.
    CellGrid* gridDay() const { return gridDay_; }
    CellGrid* gridNonday() const { return gridNonday_; }
    PaneSplitter* split1() const { return split1_; }
    PaneSplitter* split2() const { return split2_; }
    PaneSplitter* splitDay() const { return splitDay_; }
    ShadowLabel* dateCaption() const { return dateCaption_; }
    ShadowLabel* todoCaption() const { return todoCaption_; }
    QPlainTextEdit* notesPane() const { return notesPane_; }
    CalendarPane* calendarPane() const { return calendarPane_; }
    QToolBar* mainToolBar() const { return mainToolBar_; }
    QToolBar* dayToolBar() const { return dayToolBar_; }
    QToolBar* todoToolBar() const { return todoToolBar_; }
    QLabel* statusLabel() const;
    QMenu* fileMenu() const { return fileMenu_; }
    QAction* action(const QString& objectName) const;

    // The window's own helpers, which it uses in its events and commands.
    const MainActions& actions() const { return *actions_; }
    TrayController& tray() const { return *tray_; }
    LayoutMemory& layoutMemory() const { return *layoutMemory_; }
    PaneLayout& paneLayout() const { return *paneLayout_; }
    DayNotes& dayNotes() const { return *dayNotes_; }
    // What its parts read of its state.
    WindowState& windowState() { return windowState_; }

    // State set up at creation.
    int minimumWindowWidth() const { return minimumWidth_; }
    bool alarmBusy() const { return windowState_.alarmBusy; }
    void setAlarmBusy(bool busy) { windowState_.alarmBusy = busy; }
    bool firstShowDone() const { return windowState_.shown; }

    // The selected date (whole days) and its day view: the active calendar's date.
    int selectedDate() const;
    void setSelectedDate(int date);
    // The options the window keeps a copy of (read by readSettings).
    bool shadows() const { return windowState_.shadows; }
    const std::string& defaultCategory() const { return windowState_.defaultCategory; }
    bool confirmDeletes() const { return windowState_.confirmDeletes; }

    // The timer pool and its five triggers, in creation order.
    TimerPool* timerPool() const { return timerPool_; }
    int alarmTrigger() const { return alarmTrigger_; }
    int panelColorTrigger() const { return panelColorTrigger_; }
    int layoutTrigger() const { return layoutTrigger_; }
    int hoverTrigger() const { return hoverTrigger_; }
    int clockTrigger() const { return clockTrigger_; }
    // The handlers that other parts supply: the alarm check, the alarm panel's flashing and
    // the hover summary's countdown on their triggers; Hide's acknowledging of a showing
    // alarm; what follows the window's reading of the options again.
    void setAlarmCheck(std::function<void()> f) { alarmCheck_ = std::move(f); }
    void setPanelFlash(std::function<void()> f) { panelFlash_ = std::move(f); }
    void setHoverTick(std::function<void()> f) { hoverTick_ = std::move(f); }
    void setAlarmClear(std::function<void()> f) { alarmClear_ = std::move(f); }
    void setOptionsFollower(std::function<void()> f) { optionsFollower_ = std::move(f); }
    void onTimerTrigger(int handle);
    void updateStatusClock();

    // Settings.
    void readSettings();
    void applySettings(bool shadows);
    void changeGridFonts();
    void updateCaptions();

    // Commands.
    void goToToday();
    void maximizeDayTasks();
    void maximizeTodoTasks();
    void hideAndSilence();
    void showHelp();
    void showOptions();
    // The Filters command: the filter window, then the calendars, the day view and the
    // indicator follow the filter.
    void showFilters();
    // "FILTERS ON" and the active picture while any filter hides something.
    void updateFilterIndicator();

    // Writes back what is being edited and saves every file the window holds, as closing
    // does; the program goes on. Used by hiding and by the session's end.
    void saveAll();
    // The session ends (logout, shutdown, a termination signal): saves as closing does,
    // then the program ends, whether the window is shown, minimised or in the tray.
    void endSession();

    // The options window, created once at start-up after this window; the "Options"
    // command shows it. Its reactions reach this window from then on.
    void setOptionsWindow(OptionsDialog* options);

signals:
    // The window has closed and saved: the program ends.
    void closed();

protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void changeEvent(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void buildWidgets();
    void buildMenusAndToolbars();
    void connectActions();
    void connectNavigation();
    void setUpAtCreation();
    void setUpAtFirstShow();
    void saveAtClose();
    void finishClosing();
    void loadTables();
    void saveTaskFiles();
    void onGridFocused(CellGrid* focused);
    void onDateChangedAtMidnight();
    void takeBackTheFocus();

    AppState& state_;

    // Widgets.
    QToolBar* mainToolBar_ = nullptr;
    PaneSplitter* split2_ = nullptr;
    PaneSplitter* split1_ = nullptr;
    PaneSplitter* splitDay_ = nullptr;
    CalendarPane* calendarPane_ = nullptr;
    ShadowLabel* dateCaption_ = nullptr;
    QToolBar* dayToolBar_ = nullptr;
    CellGrid* gridDay_ = nullptr;
    QPlainTextEdit* notesPane_ = nullptr;
    ShadowLabel* todoCaption_ = nullptr;
    CellGrid* gridNonday_ = nullptr;
    QToolBar* todoToolBar_ = nullptr;
    QMenu* fileMenu_ = nullptr;
    StatusClock* statusClock_ = nullptr;

    // Its own helpers.
    MainActions* actions_ = nullptr;
    TrayController* tray_ = nullptr;
    PaneLayout* paneLayout_ = nullptr;
    std::unique_ptr<LayoutMemory> layoutMemory_;
    DayNotes* dayNotes_ = nullptr;

    // Timers.
    TimerPool* timerPool_ = nullptr;
    int alarmTrigger_ = 0;
    int panelColorTrigger_ = 0;
    int layoutTrigger_ = 0;
    int hoverTrigger_ = 0;
    int clockTrigger_ = 0;
    std::function<void()> alarmCheck_;
    std::function<void()> panelFlash_;
    std::function<void()> hoverTick_;
    std::function<void()> alarmClear_;
    std::function<void()> optionsFollower_;

    // Window state.
    int minimumWidth_ = 0;
    bool closing_ = false;
    WindowState windowState_;

    QPointer<OptionsDialog> optionsDialog_;
};

} // namespace dw
