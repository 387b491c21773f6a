#pragma once

#include "app/editing/notes_field.h"
#include "app/editing/time_field.h"
#include "core/dates/clock.h"
#include "core/dates/date_serial.h"
#include "core/dates/format_settings.h"
#include "core/prompts/prompts.h"

#include <QColor>
#include <QDialog>
#include <QFont>
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

// The task editor: creates, changes and completes one task.
class TaskEditor : public QDialog {
    Q_OBJECT
public:
    TaskEditor(const FormatSettings& fs, const Clock& clock, std::string dataDir,
               CompletedTasks& completed, Prompts& prompts, const EditorLabelStyle& style,
               DateSerial selectedDate, const TaskEditInput& input, QWidget* parent = nullptr);
    ~TaskEditor() override;

    // The editor's values now; after OK, its result.
    TaskEditResult output() const;
    DateSerial taskDate() const { return taskDate_; }
    const std::vector<std::string>& categoryChoices() const { return choices_; }

    void setRepeatHooks(RepeatHooks hooks);
    void setTimePicker(TimePicker picker);

    // Main panel.
    QWidget* mainPage() const { return mainPage_; }
    ShadowLabel* titleCaption() const { return titleCaption_; }
    TimeField* timeEdit() const { return timeEdit_; }
    QPushButton* timePickerButton() const { return timePickerButton_; }
    QComboBox* categoryCombo() const { return categoryCombo_; }
    QPushButton* categoryListButton() const { return categoryListButton_; }
    QCheckBox* alarmCheck() const { return alarmCheck_; }
    NotesField* notesEdit() const { return notesEdit_; }
    QPushButton* spellNotesButton() const { return spellNotesButton_; }
    ShadowLabel* markCompleteCaption() const { return markCompleteCaption_; }
    QCheckBox* doneCheck() const { return doneCheck_; }
    // Completion panel.
    QWidget* completionPage() const { return completionPage_; }
    NotesField* completionNotesEdit() const { return completionNotesEdit_; }
    QPushButton* spellCompletionButton() const { return spellCompletionButton_; }
    QDateEdit* completionDateEdit() const { return completionDateEdit_; }
    QPushButton* originDateButton() const { return originDateButton_; }
    QPushButton* todayButton() const { return todayButton_; }
    QPushButton* completionOkButton() const { return completionOkButton_; }
    QPushButton* completionCancelButton() const { return completionCancelButton_; }
    // Below the panels.
    QPushButton* rescheduleButton() const { return rescheduleButton_; }
    QPushButton* repeatButton() const { return repeatButton_; }
    QMenu* repeatMenu() const { return repeatMenu_; }
    QPushButton* markCompleteButton() const { return markCompleteButton_; }
    QPushButton* okButton() const { return okButton_; }
    QPushButton* cancelButton() const { return cancelButton_; }

    // The Repeat menu's two commands.
    void repeatTask();
    void repeatAnnuallyForTenYears();

protected:
    void showEvent(QShowEvent* e) override;

private:
    void onOkClicked();
    void onMarkCompleteClicked();
    void onCompletionOkClicked();
    void onCompletionCancelClicked();
    void setMainPageButtonsEnabled(bool enabled);
    void useOriginDate();
    void useTodayDate();
    void reschedule();
    void editCategoryList();
    void pickTime();
    void checkNotesSpelling();
    void checkCompletionSpelling();
    void buildMainPanel(const EditorLabelStyle& style);
    void buildCompletePanel(const EditorLabelStyle& style);
    void buildButtons();
    void applyFace();
    void onNotesTyped();
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
    Prompts& prompts_;
    DateSerial selectedDate_;
    DateSerial taskDate_;
    TaskEditInput input_;
    std::vector<std::string> choices_;
    RepeatHooks repeatHooks_;
    TimePicker timePicker_;
    // Main panel.
    QWidget* mainPage_ = nullptr;
    ShadowLabel* titleCaption_ = nullptr;
    QLabel* timeLabel_ = nullptr;
    TimeField* timeEdit_ = nullptr;
    QPushButton* timePickerButton_ = nullptr;
    QLabel* categoryLabel_ = nullptr;
    QComboBox* categoryCombo_ = nullptr;
    QPushButton* categoryListButton_ = nullptr;
    QCheckBox* alarmCheck_ = nullptr;
    QLabel* notesLabel_ = nullptr;
    NotesField* notesEdit_ = nullptr;
    QPushButton* spellNotesButton_ = nullptr;
    ShadowLabel* markCompleteCaption_ = nullptr;
    QCheckBox* doneCheck_ = nullptr;
    // Completion panel.
    QWidget* completionPage_ = nullptr;
    ShadowLabel* completionTitle_ = nullptr;
    QLabel* completionNotesLabel_ = nullptr;
    NotesField* completionNotesEdit_ = nullptr;
    QPushButton* spellCompletionButton_ = nullptr;
    QLabel* completionDateLabel_ = nullptr;
    QDateEdit* completionDateEdit_ = nullptr;
    QPushButton* originDateButton_ = nullptr;
    QPushButton* todayButton_ = nullptr;
    QPushButton* completionOkButton_ = nullptr;
    QPushButton* completionCancelButton_ = nullptr;
    // Below the panels.
    QPushButton* rescheduleButton_ = nullptr;
    QPushButton* repeatButton_ = nullptr;
    QMenu* repeatMenu_ = nullptr;
    QPushButton* markCompleteButton_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QGridLayout* mainGrid_ = nullptr;
    QStackedWidget* panels_ = nullptr;
    QWidget* mainButtons_ = nullptr;
    bool shown_ = false;
};

} // namespace dw
