#include "app/editing/date_fields.h"
#include "app/editing/editor_extras.h"
#include "app/editing/recurrence_dialog.h"
#include "app/editing/time_entry_popup.h"
#include "app/modal_helpers.h"
#include "app/task_window_fixture.h"

#include <QDateEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTimeEdit>

namespace dw::test {
namespace {

// The main window's editors with the Repeat menu and the time popup, as the program
// equips them, scripted like the other window tests.
class EditorExtrasTest : public TaskWindowTest {
protected:
    MainWindow& equipped() {
        MainWindow& w = shown();
        auto extras = editorExtras(*state_, &w, [&w] { return w.selectedDate(); });
        commands().setEditorSetup([this, extras](TaskEditor& e) {
            extras(e);
            auto act = std::move(nextEditor_);
            nextEditor_ = nullptr;
            QTimer::singleShot(0, &e, [&e, act] {
                if (act)
                    act(e);
                if (e.isVisible())
                    e.reject();
            });
        });
        return w;
    }

    void editFirstDayTask() {
        window().gridDay()->selectTableRow(1);
        commands().editTask(CommandSource::dayToolbarEdit);
    }
};

const std::string k(int y, int m, int d) {
    return std::to_string(dateSerialOf(y, m, d));
}

TEST_F(EditorExtrasTest, AnExistingDayTaskOffersRepeatAndTheTimeButton) {
    writeStore({{"36526.101", "9:00 AM", "Work", "Standup", "No", "Yes"}});
    equipped();
    bool repeatShown = false, timeShown = false;
    nextEditor([&](TaskEditor& e) {
        repeatShown = e.repeatButton()->isVisible();
        timeShown = e.timePickerButton()->isVisible();
    });
    editFirstDayTask();
    EXPECT_TRUE(repeatShown);
    EXPECT_TRUE(timeShown);
}

TEST_F(EditorExtrasTest, RepeatAnnuallyAddsTenYearsAndTheEditorAppliesItsEdit) {
    // 29 February 2000 is the shown date.
    writeStore({{k(2000, 2, 29) + ".101", "9:00 AM", "Home", "Birthday", "No", "Yes"}});
    MainWindow& w = equipped();
    w.setSelectedDate(dateSerialOf(2000, 2, 29));
    nextEditor([](TaskEditor& e) {
        e.timeEdit()->setTime(QTime(8, 0));
        e.repeatAnnuallyForTenYears();
    });
    editFirstDayTask();
    const Rows rows = fileRows("grid.grd");
    ASSERT_EQ(rows.size(), 11u);
    EXPECT_EQ(rows[0], k(2000, 2, 29) + ".101|8:00 AM|Home|Birthday|No|Yes")
        << "the edit itself is applied";
    EXPECT_EQ(rows[1], k(2001, 2, 28) + ".101|8:00 AM|Home|Birthday|No|Yes");
    EXPECT_EQ(rows[4], k(2004, 2, 29) + ".101|8:00 AM|Home|Birthday|No|Yes");
    EXPECT_EQ(rows[10], k(2010, 2, 28) + ".101|8:00 AM|Home|Birthday|No|Yes");
}

TEST_F(EditorExtrasTest, RepeatOnTheShownDateReachesTheDayViewAndSurvivesAWriteBack) {
    writeStore({{"36526.101", "9:00 AM", "Work", "Standup", "No", "Yes"}});
    equipped();
    whenModal<RecurrenceDialog>([](RecurrenceDialog* r) {
        // Moved back onto the shown date, Saturday 1 January 2000.
        r->startDateEdit->setDate(toQDate(kToday));
        r->endDateEdit->setDate(toQDate(kToday + 2));
        r->dailyRadio->click();
        r->previewButton->click();
        r->okButton->click();
    });
    prompts_.setNextAnswer(FakePrompts::Yes);
    nextEditor([](TaskEditor& e) {
        e.notesEdit()->setPlainText("Stretch");
        e.repeatTask();
    });
    editFirstDayTask();
    EXPECT_EQ(prompts_.questions, Rows{"Really add 3 events to the calendar?"});
    // The editor closed with Cancel: the edited task is as it was, and the day view shows
    // the new task on the shown date, after the task of the same time.
    EXPECT_EQ(dayRows(), Rows({"9:00 AM|Work|Standup|No|Yes", "9:00 AM|Work|Stretch|No|Yes"}));

    // A later write-back of the shown day keeps it.
    window().gridDay()->selectTableRow(2);
    commands().toggleAlarm();
    const Rows rows = fileRows("grid.grd");
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0], "36526.101|9:00 AM|Work|Standup|No|Yes");
    EXPECT_EQ(rows[1], "36526.102|9:00 AM|Work|Stretch|No|No");
    EXPECT_EQ(rows[3], "36528.101|9:00 AM|Work|Stretch|No|Yes");
}

TEST_F(EditorExtrasTest, CancelledRepeatLeavesTheEditorOpen) {
    writeStore({{"36526.101", "9:00 AM", "Work", "Standup", "No", "Yes"}});
    equipped();
    whenModal<RecurrenceDialog>([](RecurrenceDialog* r) {
        EXPECT_EQ(r->startDate(), kToday + 1);
        EXPECT_EQ(r->windowTitle(), "Repeating event for Standup...");
        r->cancelButton->click();
    });
    bool stillOpen = false;
    nextEditor([&](TaskEditor& e) {
        e.repeatTask();
        stillOpen = e.isVisible();
    });
    editFirstDayTask();
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(fileRows("grid.grd").size(), 1u);
}

TEST_F(EditorExtrasTest, TheTimeButtonTakesThePopupsTimeOnlyOnOk) {
    writeStore({{"36526.101", "12:00 AM", "Work", "Midnight", "No", "No"}});
    equipped();
    QTime opened, afterOk, afterCancel;
    whenModal<TimeEntryPopup>([&](TimeEntryPopup* p) {
        opened = p->timeField->time();
        QTest::keyClick(p->timeField, Qt::Key_PageUp);
        p->okButton->click();
    });
    nextEditor([&](TaskEditor& e) {
        e.timePickerButton()->click();
        afterOk = e.timeEdit()->time();
        whenModal<TimeEntryPopup>([](TimeEntryPopup* p) {
            QTest::keyClick(p->timeField, Qt::Key_PageUp);
            p->cancelButton->click();
        });
        e.timePickerButton()->click();
        afterCancel = e.timeEdit()->time();
    });
    editFirstDayTask();
    EXPECT_EQ(opened, QTime(0, 0)) << "a midnight task opens the popup at midnight";
    EXPECT_EQ(afterOk, QTime(1, 0));
    EXPECT_EQ(afterCancel, QTime(1, 0));
}

} // namespace
} // namespace dw::test
