#pragma once

#include "core/dates/clock.h"
#include "core/dates/format_settings.h"
#include "core/editing/recurrence.h"
#include "core/prompts/prompts.h"
#include "core/store/task_store.h"

#include <QDialog>
#include <array>
#include <string>
#include <vector>

class QCheckBox;
class QDateEdit;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QStackedWidget;

namespace dw {

class DayOfMonthGrid;

// "Repeating event": copies the task being edited onto the dates of a pattern. The user
// picks a range and a pattern, previews the dates, deletes unwanted ones and confirms; OK
// adds one task per listed date to the store and saves it. The rules are in
// core/editing/recurrence.h.
class RecurrenceDialog : public QDialog {
    Q_OBJECT
public:
    RecurrenceDialog(const FormatSettings& fs, const Clock& clock, TaskStore& store,
                     Prompts& prompts, QWidget* parent = nullptr);

    // The task to copy: its time of day, category, text and alarm flag.
    void init(double time, const std::string& category, const std::string& what, bool alarm);
    // The first date of the range; the end is 30 days later.
    void setStartDate(int date);

    // The pattern the controls describe.
    RecurrencePattern pattern() const;
    int startDate() const;
    int endDate() const;
    // The dates of the preview lines, in list order.
    std::vector<int> listedDates() const;

    void preview();
    void deleteSelected();
    void reset();
    // OK: asks, then adds the listed dates' tasks and closes.
    void accept() override;

    // Range.
    QDateEdit* startDateEdit = nullptr;
    QDateEdit* endDateEdit = nullptr;
    QLabel* dayCountLabel = nullptr;
    // Modes, in the order of RecurrenceMode.
    QRadioButton* weekOfMonthRadio = nullptr;
    QRadioButton* daysOfMonthRadio = nullptr;
    QRadioButton* weeklyRadio = nullptr;
    QRadioButton* dailyRadio = nullptr;
    QRadioButton* annualRadio = nullptr;
    QStackedWidget* modePanels = nullptr;
    // Week of Month.
    QSpinBox* weekOfMonthEvery = nullptr;
    std::array<QCheckBox*, 5> ordinalChecks{};        // 1st, 2nd, 3rd, 4th, Last
    std::array<QCheckBox*, 7> weekOfMonthDayChecks{}; // index 0 = Sunday
    // Days of Month.
    QSpinBox* daysOfMonthEvery = nullptr;
    DayOfMonthGrid* dayGrid = nullptr;
    QCheckBox* daysOfMonthAvoidSaturday = nullptr;
    QCheckBox* daysOfMonthAvoidSunday = nullptr;
    // Weekly.
    QSpinBox* weeklyEvery = nullptr;
    std::array<QCheckBox*, 7> weeklyDayChecks{}; // index 0 = Sunday
    // Daily.
    QSpinBox* dailyEvery = nullptr;
    QCheckBox* dailyAvoidSaturday = nullptr;
    QCheckBox* dailyAvoidSunday = nullptr;
    // Preview.
    QListWidget* previewList = nullptr;
    QLabel* countLabel = nullptr;
    QPushButton* previewButton = nullptr;
    QPushButton* resetButton = nullptr;
    QPushButton* deleteButton = nullptr;
    QPushButton* okButton = nullptr;
    QPushButton* cancelButton = nullptr;

protected:
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    QWidget* buildRangeBox();
    QWidget* buildModeBox();
    QWidget* buildWeekOfMonthPanel();
    QWidget* buildDaysOfMonthPanel();
    QWidget* buildWeeklyPanel();
    QWidget* buildDailyPanel();
    QWidget* buildAnnualPanel();
    QWidget* buildPreviewBox();
    void showModePanel();
    void updateDayCount();
    void ordinalToggled(int index, bool checked);
    void updateButtons();
    RecurrenceMode mode() const;

    const FormatSettings& fs_;
    const Clock& clock_;
    TaskStore& store_;
    Prompts& prompts_;
    DatedTask task_;
};

} // namespace dw
