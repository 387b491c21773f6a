#pragma once

#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <memory>
#include <string>

class QLabel;
class QPlainTextEdit;
class QToolBar;

namespace dw {

class AlarmNotifier;
class AppState;
class CalendarPane;
class CellGrid;
class FindDialog;
class HoverSummary;
class KeyNavigation;
class LayoutMemory;
class MainActions;
class OptionsDialog;
class PaneLayout;
class PaneSplitter;
class ShadowLabel;
class StatusClock;
class TaskCommands;
class TimerPool;
class TrayController;

// The program's main window. It assembles the calendar pane, the day view with its notes
// pane, the to-do list, the menus and toolbars and the status clock, and runs the window's
// life: loading at creation, setting up at first show, saving at close. The tray, the
// remembered layout, the panes' geometry, the actions and the task commands live in their
// own objects beside it; the rules live in the core.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(AppState& state, QWidget* parent = nullptr);
    ~MainWindow() override;

    AppState& state() { return state_; }

    // The panes and controls, for the parts of the program that plug into the window.
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
    QAction* action(const QString& objectName) const;

    const MainActions& actions() const { return *actions_; }
    TaskCommands* taskCommands() const { return taskCommands_.get(); }
    TrayController& tray() const { return *tray_; }
    LayoutMemory& layoutMemory() const { return *layoutMemory_; }
    PaneLayout& paneLayout() const { return *paneLayout_; }
    AlarmNotifier& alarms() const { return *alarms_; }
    HoverSummary& hoverSummary() const { return *hover_; }

    // State set up at creation.
    int minimumWindowWidth() const { return minimumWidth_; }
    bool alarmBusy() const { return alarmBusy_; }
    void setAlarmBusy(bool busy) { alarmBusy_ = busy; }
    bool firstShowDone() const { return firstShown_; }

    // The selected date (whole days) and its day view: the active calendar's date.
    int selectedDate() const;
    void setSelectedDate(int date);
    // The options the window keeps a copy of (read by readSettings).
    bool shadows() const { return shadows_; }
    const std::string& defaultCategory() const { return category_; }
    bool confirmDeletes() const { return confirm_; }

    // The timer pool and its five triggers, in creation order.
    TimerPool* timerPool() const { return timerPool_; }
    int alarmTrigger() const { return alarmTrigger_; }
    int panelColorTrigger() const { return panelColorTrigger_; }
    int layoutTrigger() const { return layoutTrigger_; }
    int hoverTrigger() const { return hoverTrigger_; }
    int clockTrigger() const { return clockTrigger_; }
    // The handlers that other parts supply (alarm check, alarm panel, hover summary).
    void setAlarmCheck(std::function<void()> f) { alarmCheck_ = std::move(f); }
    void setPanelFlash(std::function<void()> f) { panelFlash_ = std::move(f); }
    void setHoverTick(std::function<void()> f) { hoverTick_ = std::move(f); }
    void onTimerTrigger(int handle);
    void updateStatusClock();

    // Settings.
    void readSettings();
    void applySettings(bool shadows);
    void changeGridFonts();
    void updateCaptions();
    // Refills the notes pane from the selected day row.
    void fillNotesPane();

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
    // The Find command: the non-modal find dialog, made at its first use.
    void showFind();
    FindDialog* findDialog() const;

    // Writes back what is being edited and saves every file the window holds, as closing
    // does; the program goes on. Used by hiding and by the session's end.
    void saveAll();
    // The session ends (logout, shutdown, a termination signal): saves as closing does,
    // then the program ends, whether the window is shown, minimised or in the tray.
    void endSession();

    // The options window, created once at start-up after this window; the "Options"
    // command shows it. Its reactions reach this window from then on.
    void setOptionsWindow(OptionsDialog* options);
    OptionsDialog* optionsWindow() const;

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
    StatusClock* statusClock_ = nullptr;

    // Parts beside the window.
    MainActions* actions_ = nullptr;
    TrayController* tray_ = nullptr;
    PaneLayout* paneLayout_ = nullptr;
    std::unique_ptr<LayoutMemory> layoutMemory_;
    AlarmNotifier* alarms_ = nullptr;
    HoverSummary* hover_ = nullptr;
    KeyNavigation* keyNavigation_ = nullptr;
    QPointer<FindDialog> findDialog_;

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

    // Window state.
    int minimumWidth_ = 0;
    bool alarmBusy_ = false;
    bool firstShown_ = false;
    bool closing_ = false;
    bool shadows_ = true;
    std::string category_;
    bool confirm_ = true;

    QPointer<OptionsDialog> optionsDialog_;
    std::unique_ptr<TaskCommands> taskCommands_;
};

} // namespace dw
