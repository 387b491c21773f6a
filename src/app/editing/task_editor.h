#pragma once

#include "core/dates/clock.h"
#include "core/dates/date_serial.h"
#include "core/dates/format_settings.h"

#include <QColor>
#include <QDialog>
#include <QFont>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QGridLayout;
class QLabel;
class QMenu;
class QPushButton;
class QStackedWidget;

namespace dw {

class CompletedTasks;
class ShadowLabel;

// The look of the editor's captions, taken from the main window's date caption.
struct EditorLabelStyle {
    int shadowDepth = 1;
    QColor color{0, 0, 128};
    QFont titleFont{"Times New Roman", 20};
};

// What a command gives the editor.
struct TaskEditInput {
    std::string title;                // empty: "To-do Tasks"
    std::optional<QColor> titleColor; // red for a date in the past; else the caption colour
    std::string caption;              // empty: "Edit Task"
    // "ddd ddddd" of the date, "To-do task" or "Non date task"; recorded on completion.
    std::string origin;
    bool existing = false;      // false: OK and Mark as Complete wait for typing
    bool datedExisting = false; // an existing task of the day view
    bool completeNow = false;   // open on the completion page (Mark as completed)
    bool timeHidden = false;    // to-do and done tasks: no time, "..." or alarm
    std::optional<double> time; // time of day; none: the current time
    bool alarm = false;
    std::string category; // a new task: the Category option
    bool done = false;
    std::string notes; // the cell text, lines joined by CR LF
};

// What the editor gives back on OK.
struct TaskEditResult {
    double time = 0; // time of day
    std::string category;
    std::string notes; // the cell text (linesToText of the lines)
    bool done = false;
    bool alarm = false;
    DateSerial taskDate = 0; // the selected date unless rescheduled
};

// The Repeat menu's work, supplied by the recurrence generator. Until it is set the
// Repeat button stays hidden.
struct RepeatHooks {
    // "Repeat": the generator on the editor's values, starting the day after the selected
    // date. True when it closed with OK (its tasks are stored; the editor then cancels).
    std::function<bool(const TaskEditResult& values, DateSerial start)> repeat;
    // "Repeat annually for 10 years": stores the ten yearly copies.
    std::function<void(const TaskEditResult& values)> repeatAnnually;
};

// The time entry popup: given the editor's time of day, the chosen one or nothing. Until
// it is set the time's "..." button stays hidden.
using TimePicker = std::function<std::optional<double>(double time)>;

// A notes field that takes at most a number of characters (not bytes) when typed into or
// pasted into, and says when a character key was typed.
class NotesField : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit NotesField(std::size_t maxChars, QWidget* parent = nullptr);
    std::size_t maxChars() const { return maxChars_; }
    // Inserts as a paste would, within the limit.
    void insertLimited(const QString& text);

signals:
    // A character key (Backspace and Enter too) was typed, or text was pasted or dropped.
    void typed();

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    std::size_t maxChars_;
};

// The editor's time field. A time is typed whole, in the forms people use ("930", "9:30p",
// "9.30 pm", "21:30"); leaving the field shows it in the locale's format, so what the field
// shows is what is stored.
class TimeField : public QLineEdit {
public:
    explicit TimeField(const FormatSettings& fs, QWidget* parent = nullptr);
    void setTime(const QTime& time);
    // The time typed; an invalid QTime when the text is no time.
    QTime time() const;

private:
    const FormatSettings& fs_;
};

// The task editor: creates, changes and completes one task.
class TfrmEdit : public QDialog {
    Q_OBJECT
public:
    TfrmEdit(const FormatSettings& fs, const Clock& clock, std::string dataDir,
             CompletedTasks& completed, const EditorLabelStyle& style, DateSerial selectedDate,
             const TaskEditInput& input, QWidget* parent = nullptr);
    ~TfrmEdit() override;

    // The editor's values now; after OK, its result.
    TaskEditResult output() const;
    DateSerial taskDate() const { return taskDate_; }
    const std::vector<std::string>& categoryChoices() const { return choices_; }

    void setRepeatHooks(RepeatHooks hooks);
    void setTimePicker(TimePicker picker);

    // Main panel.
    QWidget* pnlMain = nullptr;
    ShadowLabel* lblTitle = nullptr;
    QLabel* lblTime = nullptr;
    TimeField* dtTime = nullptr;
    QPushButton* btTime = nullptr;
    QLabel* lblCategory = nullptr;
    QComboBox* cbCategory = nullptr;
    QPushButton* btCategory = nullptr;
    QCheckBox* cbAlarm = nullptr;
    QLabel* Label1 = nullptr;
    NotesField* memMain = nullptr;
    QPushButton* btSpell1 = nullptr;
    ShadowLabel* lblComplete = nullptr;
    QCheckBox* cbDone = nullptr;
    // Completion panel.
    QWidget* pnlComplete = nullptr;
    ShadowLabel* lblCompleteTitle = nullptr;
    QLabel* Label4 = nullptr;
    NotesField* memComplete = nullptr;
    QPushButton* btSpell2 = nullptr;
    QLabel* Label3 = nullptr;
    QDateEdit* dtComplete = nullptr;
    QPushButton* btOrigin = nullptr;
    QPushButton* btToday = nullptr;
    QPushButton* btOK2 = nullptr;
    QPushButton* btCancel2 = nullptr;
    // Below the panels.
    QPushButton* btReschedule = nullptr;
    QPushButton* btRepeat = nullptr;
    QMenu* mnuRepeat = nullptr;
    QPushButton* btComplete = nullptr;
    QPushButton* btOK = nullptr;
    QPushButton* btCancel = nullptr;

    void btOKClick();
    void btCompleteClick();
    void btOK2Click();
    void btCancel2Click();
    void setMainPageButtonsEnabled(bool enabled);
    void btOriginClick();
    void btTodayClick();
    void btRescheduleClick();
    void btCategoryClick();
    void btTimeClick();
    void btSpell1Click();
    void btSpell2Click();
    void Repeat1Click();
    void RepeatAnnually1Click();

protected:
    void showEvent(QShowEvent* e) override;

private:
    void buildMainPanel(const EditorLabelStyle& style);
    void buildCompletePanel(const EditorLabelStyle& style);
    void buildButtons();
    void applyFace();
    void memMainTyped();
    // The blank-notes check of OK, Mark as Complete and Repeat: true (and the error shown,
    // the notes focused) when they are blank.
    bool notesBlank();
    // The same for a time field whose text is no time.
    bool timeNotATime();
    void fillCategoryBox();
    std::string categoryText() const;
    std::string notesText() const;

    const FormatSettings& fs_;
    const Clock& clock_;
    std::string dataDir_;
    CompletedTasks& completed_;
    DateSerial selectedDate_;
    DateSerial taskDate_;
    TaskEditInput input_;
    std::vector<std::string> choices_;
    RepeatHooks repeatHooks_;
    TimePicker timePicker_;
    QGridLayout* mainGrid_ = nullptr;
    QStackedWidget* panels_ = nullptr;
    bool shown_ = false;
};

} // namespace dw
