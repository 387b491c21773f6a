// A task that a drop on a calendar day or Reschedule puts on a date takes its place among
// the date's tasks by its time, as one added in the editor does.
#include "app/calendar/calendar_pane.h"
#include "app/editing/reschedule_dialog.h"
#include "app/editing/task_drag.h"
#include "app/modal_helpers.h"
#include "task_window_fixture.h"

#include <QMimeData>
#include <QPushButton>

namespace dw {
namespace {

using test::kToday;
using test::whenModal;
using Rows = std::vector<std::string>;

const int kTarget = kToday + 3;

class TimeOrderWindowTest : public test::TaskWindowTest {
protected:
    // The target date's tasks before the move, and the moving task on the shown date.
    void storeWith(const std::string& movingTime) {
        const std::string target = std::to_string(kTarget);
        writeStore({{std::to_string(kToday) + ".101", movingTime, "", "new", "No", "No"},
                    {target + ".101", "All day", "", "party", "No", "No"},
                    {target + ".102", "9:00 AM", "", "nine", "No", "No"},
                    {target + ".103", "1:00 PM", "", "one", "No", "No"},
                    {target + ".104", "5:00 PM", "", "five", "No", "No"}});
    }

    // The texts of the target date's tasks in the order the day view shows them.
    Rows targetTexts() {
        TaskStore& store = state_->store();
        Rows texts;
        store.forEachVisibleRow(kTarget, [&](int row) {
            texts.push_back(store.gridStore().cell(StoreCol::What, row));
        });
        return texts;
    }
};

struct Case {
    const char* time;
    Rows expected;
};

const Case kCases[] = {
    {"12:00 AM", {"party", "new", "nine", "one", "five"}},
    {"9:30 AM", {"party", "nine", "new", "one", "five"}},
    {"12:00 PM", {"party", "nine", "new", "one", "five"}},
    {"2:00 PM", {"party", "nine", "one", "new", "five"}},
    {"11:59 PM", {"party", "nine", "one", "five", "new"}},
    {"All day", {"party", "new", "nine", "one", "five"}},
};

TEST_F(TimeOrderWindowTest, ADropOnACalendarDayPlacesTheTaskByItsTime) {
    setOption("DragConfirm", "0");
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.time);
        storeWith(c.time);
        MainWindow& w = shown();
        w.gridDay()->selectTableRow(1);
        QMimeData data;
        data.setData(kRowDragMimeType, w.gridDay()->objectName().toUtf8());
        commands().drag().onCalendarDrop(w.calendarPane()->activeIndex(), kTarget, &data);
        EXPECT_EQ(targetTexts(), c.expected);
        // The day view, now on the target date, shows the same order.
        ASSERT_EQ(w.selectedDate(), kTarget);
        Rows shown;
        for (int r = 1; r < state_->store().gridDay().rowCount(); ++r)
            shown.push_back(state_->store().gridDay().cell(DayCol::What, r));
        EXPECT_EQ(shown, c.expected);
    }
}

TEST_F(TimeOrderWindowTest, RescheduleMovesTheTaskToItsPlaceByTimeOnTheNewDate) {
    for (const Case& c : kCases) {
        // The editor reads a time that is no time as the current one: not this road's case.
        if (std::string(c.time) == "All day")
            continue;
        SCOPED_TRACE(c.time);
        storeWith(c.time);
        MainWindow& w = shown();
        w.gridDay()->selectTableRow(1);
        nextEditor([](TaskEditor& e) {
            whenModal<RescheduleDialog>([](RescheduleDialog* d) {
                d->setDate(kTarget);
                d->okButton()->click();
            });
            e.rescheduleButton()->click();
        });
        commands().editTask(CommandSource::dayMenuEdit);
        EXPECT_EQ(targetTexts(), c.expected);
    }
}

} // namespace
} // namespace dw
