#pragma once

#include "core/settings/obj_mgr.h"
#include "core/shell/layout.h"

#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <memory>

class QAction;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QSystemTrayIcon;
class QToolBar;

namespace dw {

class AppState;
class CalendarPane;
class CellGrid;
class PaneSplitter;
class ShadowLabel;
class TaskCommands;
class TfrmOptions;
class TimerPool;

// The program's main window: the calendar pane, the day view with its notes, the to-do
// list, the menus and toolbars, the status clock, the tray icon and the timer pool that
// drives the alarm check, the alarm panel, the deferred layout pass, the hover summary and
// the clock. It shows and edits the application state; the rules live in the core.
class TfrmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit TfrmMain(AppState& state, QWidget* parent = nullptr);
    ~TfrmMain() override;

    AppState& state() { return state_; }

    // Panes and controls, for the parts of the program that plug into the window.
    CellGrid* gridDay() const { return gridDay_; }
    CellGrid* gridNonday() const { return gridNonday_; }
    PaneSplitter* split1() const { return split1_; }
    PaneSplitter* split2() const { return split2_; }
    PaneSplitter* splitDay() const { return splitDay_; }
    ShadowLabel* lblDate() const { return lblDate_; }
    ShadowLabel* EsLabel1() const { return EsLabel1_; }
    QPlainTextEdit* memWhat() const { return memWhat_; }
    CalendarPane* calendarPane() const { return calendarPane_; }
    QToolBar* mainToolBar() const { return mainToolBar_; }
    QToolBar* dayToolBar() const { return dayToolBar_; }
    QToolBar* todoToolBar() const { return todoToolBar_; }
    QLabel* statusLabel() const { return lblStatus_; }
    QSystemTrayIcon* trayIcon() const { return TrayIcon_; }
    QAction* action(const QString& objectName) const;
    // The task commands: add, edit, complete, delete, move, the notes pane.
    TaskCommands* taskCommands() const { return taskCommands_.get(); }

    // The remembered layout values: the client area excludes the menu bar, as the
    // remembered sizes always have.
    int clientWidth() const;
    int clientHeight() const;
    void setClientWidth(int w);
    void setClientHeight(int h);
    const TObjMgr& ObjMgr1() const { return objMgr_; }

    // State set up at creation.
    int minimumWindowWidth() const { return minimumWidth_; }
    bool alarmBusy() const { return alarmBusy_; }
    void setAlarmBusy(bool busy) { alarmBusy_ = busy; }
    bool firstShowDone() const { return firstShown_; }

    // The selected date (whole days) and its day view: the active calendar's date.
    int selectedDate() const;
    void setSelectedDate(int date);
    // The options copied into the window by ReadSettings.
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
    void timerPoolAllTriggers(int handle);
    void Timer2Timer();
    void UpdateStatusClock();
    const LayoutPass& layoutPass() const { return layoutPass_; }
    PaneSplitter* flashTarget() const { return flashTarget_; }

    // Settings.
    void ReadSettings();
    void ApplySettings(bool shadows);
    void ChangeGridFonts();
    void UpdateLabels();
    // Refills the notes pane from the selected day row.
    void DrawExtraMemo();

    // Navigation.
    void Today1Click();

    // Layout.
    void FormResize();
    void split1Resize();
    void split2Resize();
    void ResizeGridDay();
    int widestTimeText() const;
    void ResizeGridNonDay();
    void pointAtSplitter(PaneSplitter* s);
    void Maximizedailyevents1Click();
    void Maximizenondaytasks1Click();
    void Memorizescreensizepositions1Click();
    void Recoverscreensizepositions1Click();

    // Tray. Without a notification area hiding minimises instead, so the window is never
    // out of reach.
    bool trayAvailable() const { return trayAvailable_; }
    void setTrayAvailable(bool available);
    void hideToTray();
    void Hide1Click();
    void bringBack();
    void startInTray();
    void TrayIconAppMinimize();

    void Help2Click();

    // The options window, created once at start-up after this window; the "Options"
    // command shows it. Its reactions reach this window from then on.
    void setOptionsWindow(TfrmOptions* options);
    TfrmOptions* optionsWindow() const;
    void Options1Click();

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
    void buildPropertyHost();
    void FormCreate();
    void FormShow();
    bool FormCloseQuery();
    void FormClose();
    void loadTables();
    void gridDayEnter(CellGrid* focused);
    void paintFlashTarget(WinColor c);
    int pixelsPerInch() const;
    QRect outerBounds() const;
    void setOuterTop(int top);
    void setOuterLeft(int left);
    void setOuterHeight(int height);
    void setOuterWidth(int width);
    QAction* addAction(QMenu* menu, const QString& name, const QString& text,
                       const QKeySequence& key, std::function<void()> run);

    AppState& state_;

    // Widgets.
    QToolBar* mainToolBar_ = nullptr;
    PaneSplitter* split2_ = nullptr;
    PaneSplitter* split1_ = nullptr;
    PaneSplitter* splitDay_ = nullptr;
    CalendarPane* calendarPane_ = nullptr;
    ShadowLabel* lblDate_ = nullptr;
    QToolBar* dayToolBar_ = nullptr;
    CellGrid* gridDay_ = nullptr;
    QPlainTextEdit* memWhat_ = nullptr;
    ShadowLabel* EsLabel1_ = nullptr;
    CellGrid* gridNonday_ = nullptr;
    QToolBar* todoToolBar_ = nullptr;
    QLabel* lblStatus_ = nullptr;
    QSystemTrayIcon* TrayIcon_ = nullptr;
    bool trayAvailable_ = false;

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
    LayoutPass layoutPass_;
    PaneSplitter* flashTarget_ = nullptr;

    // Window state.
    int minimumWidth_ = 0;
    bool alarmBusy_ = false;
    bool firstShown_ = false;
    bool closing_ = false;
    bool savedByHide_ = false;
    bool shadows_ = true;
    std::string category_;
    bool confirm_ = true;

    QPointer<TfrmOptions> frmOptions_;

    TObjMgr objMgr_;
    std::unique_ptr<TablePropertyHost> properties_;
    std::unique_ptr<TaskCommands> taskCommands_;
};

} // namespace dw
