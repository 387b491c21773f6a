#include "app/calendar/calendar_pane.h"
#include "app/editing/task_drag.h"
#include "app/widgets/month_view.h"
#include "task_window_fixture.h"

#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>

namespace dw {
namespace {

using test::FakePrompts;
using test::kToday;
using Rows = std::vector<std::string>;

class TaskDragTest : public test::TaskWindowTest {
protected:
    TaskDrag& drag() { return commands().drag(); }

    static std::unique_ptr<QMimeData> rowOf(CellGrid* g) {
        auto data = std::make_unique<QMimeData>();
        data->setData(kRowDragMimeType, g->objectName().toUtf8());
        return data;
    }

    // The middle of a table row of a grid, in its viewport.
    static QPoint rowCenter(CellGrid* g, int row) {
        return g->visualRect(g->model()->index(row - 1, 1)).center();
    }

    // Whether the grid takes a drag of `data` hovering at `pos`.
    static bool accepts(CellGrid* g, const QMimeData* data, QPoint pos) {
        QDragEnterEvent enter(pos, Qt::MoveAction, data, Qt::LeftButton, {});
        QApplication::sendEvent(g->viewport(), &enter);
        QDragMoveEvent move(pos, Qt::MoveAction, data, Qt::LeftButton, {});
        QApplication::sendEvent(g->viewport(), &move);
        return move.isAccepted();
    }
};

// ---------------------------------------------------------------------------------------
// The grids' side: starting a drag, where a drop is taken

TEST_F(TaskDragTest, ARowDragStartsOnlyAfterThePointerHasMoved) {
    writeStore({{"36526.101", "9:00 AM", "", "First", "No", "No"},
                {"36526.102", "10:00 AM", "", "Second", "No", "No"}});
    MainWindow& w = shown();
    CellGrid* g = w.gridDay();
    QString carried;
    g->setDragRunner(
        [&](QMimeData* data) { carried = QString::fromUtf8(data->data(kRowDragMimeType)); });

    const QPoint press = rowCenter(g, 2);
    QTest::mousePress(g->viewport(), Qt::LeftButton, {}, press);
    EXPECT_EQ(g->selectedRow(), 2); // a press selects the row
    QMouseEvent nudge(QEvent::MouseMove, press + QPoint(1, 0), g->viewport()->mapToGlobal(press),
                      Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(g->viewport(), &nudge);
    EXPECT_TRUE(carried.isEmpty());
    // Moving over the first row does not select it: the pressed row is what is dragged.
    const QPoint far = rowCenter(g, 1);
    QMouseEvent move(QEvent::MouseMove, far, g->viewport()->mapToGlobal(far), Qt::NoButton,
                     Qt::LeftButton, {});
    QApplication::sendEvent(g->viewport(), &move);
    EXPECT_EQ(carried, "gridDay");
    EXPECT_EQ(g->selectedRow(), 2);
    QTest::mouseRelease(g->viewport(), Qt::LeftButton, {}, far);
}

TEST_F(TaskDragTest, APaneTakesARowDropOnlyOverItsDataRows) {
    writeTodo({{"", "One", "No"}, {"", "Two", "No"}});
    MainWindow& w = shown();
    CellGrid* g = w.gridNonday();
    const auto data = rowOf(w.gridDay());
    EXPECT_TRUE(accepts(g, data.get(), rowCenter(g, 2)));
    EXPECT_FALSE(accepts(g, data.get(), QPoint(5, g->viewport()->height() - 2))); // below
    QMimeData text;
    text.setText("One");
    EXPECT_FALSE(accepts(g, &text, rowCenter(g, 1))); // not a pane

    int droppedOn = 0;
    QObject::connect(g, &CellGrid::rowDropped, g,
                     [&](const QMimeData*, int row) { droppedOn = row; });
    QDropEvent drop(rowCenter(g, 2), Qt::MoveAction, data.get(), Qt::LeftButton, {});
    QApplication::sendEvent(g->viewport(), &drop);
    EXPECT_EQ(droppedOn, 2);
}

// ---------------------------------------------------------------------------------------
// Drops on the panes

TEST_F(TaskDragTest, ReorderingTheDayViewPersistsUntilTheNextSort) {
    writeStore({{"36526.101", "9:00 AM", "", "A", "No", "No"},
                {"36526.102", "10:00 AM", "", "B", "No", "No"},
                {"36526.103", "11:00 AM", "", "C", "No", "No"}});
    MainWindow& w = shown();
    w.gridDay()->selectTableRow(3);
    drag().gridDayDragDrop(TaskPane::Day, TaskPane::Day, 1);
    EXPECT_TRUE(prompts_.questions.empty()); // no question within a pane
    EXPECT_EQ(w.gridDay()->selectedRow(), 1);
    EXPECT_EQ(fileRows("grid.grd"),
              Rows({"36526.101|11:00 AM||C|No|No", "36526.102|9:00 AM||A|No|No",
                    "36526.103|10:00 AM||B|No|No"}));
    // The order survives a reload of the day.
    w.setSelectedDate(kToday + 1);
    w.setSelectedDate(kToday);
    EXPECT_EQ(dayRows()[0], "11:00 AM||C|No|No");

    // Onto the header, below the last row, or onto itself: nothing.
    for (int row : {0, -1, 4, 1})
        drag().gridDayDragDrop(TaskPane::Day, TaskPane::Day, row);
    EXPECT_EQ(dayRows()[0], "11:00 AM||C|No|No");

    // Adding sorts the view again.
    nextEditor([](TaskEditor& e) {
        typeNotes(e, "D");
        e.okButton()->click();
    });
    commands().addTask(CommandSource::dayToolbarAdd);
    EXPECT_EQ(dayRows()[0], "9:00 AM||A|No|No");
}

TEST_F(TaskDragTest, MovingBetweenPanesAsksAndLosesOrGainsTimeAndAlarm) {
    clock_->setNow(encodeDateTime(2000, 1, 1, 15, 15));
    writeStore({{"36526.101", "9:00 AM", "Work", "Standup", "No", "Yes"},
                {"36526.102", "10:00 AM", "", "Stay", "No", "No"}});
    writeTodo({{"Home", "Paint", "No"}});
    MainWindow& w = shown();
    w.gridDay()->selectTableRow(1);

    prompts_.setNextAnswer(FakePrompts::No);
    drag().gridDayDragDrop(TaskPane::Day, TaskPane::Todo, 1);
    EXPECT_EQ(prompts_.questions,
              Rows({"Really move task between grids?  You will lose the Time and Alarm fields."}));
    EXPECT_EQ(todoRows().size(), 1u);

    prompts_.setNextAnswer(FakePrompts::Yes);
    drag().gridDayDragDrop(TaskPane::Day, TaskPane::Todo, 1);
    EXPECT_EQ(todoRows(), Rows({"Work|Standup|No", "Home|Paint|No"}));
    EXPECT_EQ(fileRows("grid.grd"), Rows({"36526.101|10:00 AM||Stay|No|No"}));
    // Both files hold the move at once.
    EXPECT_EQ(fileRows("gridNon.grd"), Rows({"Work|Standup|No", "Home|Paint|No"}));
    EXPECT_EQ(w.gridNonday()->selectedRow(), 1);

    // And back: the current time and no alarm.
    prompts_.questions.clear();
    prompts_.setNextAnswer(FakePrompts::Yes);
    drag().gridDayDragDrop(TaskPane::Todo, TaskPane::Day, 1);
    EXPECT_EQ(prompts_.questions, Rows({"Really move task between grids?"}));
    EXPECT_EQ(dayRows(), Rows({"3:15 PM|Work|Standup|No|No", "10:00 AM||Stay|No|No"}));
    EXPECT_EQ(fileRows("grid.grd"),
              Rows({"36526.101|3:15 PM|Work|Standup|No|No", "36526.102|10:00 AM||Stay|No|No"}));
    EXPECT_EQ(todoRows(), Rows({"Home|Paint|No"}));
    EXPECT_EQ(fileRows("gridNon.grd"), Rows({"Home|Paint|No"}));
}

TEST_F(TaskDragTest, WithoutDragConfirmNothingIsAskedAndAnEmptyPaneGivesNothing) {
    setOption("DragConfirm", "0");
    writeTodo({{"Home", "Paint", "No"}});
    MainWindow& w = shown();
    // The empty day view's blank row moves nowhere.
    drag().gridDayDragDrop(TaskPane::Day, TaskPane::Todo, 1);
    EXPECT_EQ(todoRows(), Rows({"Home|Paint|No"}));
    // Onto the day view's header: nothing.
    drag().gridDayDragDrop(TaskPane::Todo, TaskPane::Day, 0);
    EXPECT_EQ(todoRows(), Rows({"Home|Paint|No"}));

    drag().gridDayDragDrop(TaskPane::Todo, TaskPane::Day, 1);
    EXPECT_TRUE(prompts_.questions.empty());
    // The empty day view's blank row takes the task; the last task leaves one empty row.
    EXPECT_EQ(dayRows(), Rows({"9:00 AM|Home|Paint|No|No"}));
    EXPECT_EQ(todoRows(), Rows({"||"}));
    EXPECT_EQ(w.focusWidget(), w.gridDay());
}

// ---------------------------------------------------------------------------------------
// Drops on a calendar day

TEST_F(TaskDragTest, DroppingOnAnotherDayMovesTheTaskThereAndShowsThatDay) {
    writeStore({{"36526.101", "9:00 AM", "Work", "Report", "No", "Yes"},
                {"36526.102", "10:00 AM", "", "Stay", "No", "No"}});
    MainWindow& w = shown();
    w.gridDay()->selectTableRow(1);
    const auto data = rowOf(w.gridDay());

    prompts_.setNextAnswer(FakePrompts::No);
    drag().onCalendarDrop(2, kToday + 3, data.get());
    EXPECT_EQ(prompts_.questions, Rows({"Really move task?"}));
    EXPECT_EQ(dayRows().size(), 2u);

    prompts_.setNextAnswer(FakePrompts::Yes);
    drag().onCalendarDrop(2, kToday + 3, data.get());
    EXPECT_EQ(fileRows("grid.grd"),
              Rows({"36526.101|10:00 AM||Stay|No|No", "36529.101|9:00 AM|Work|Report|No|Yes"}));
    EXPECT_EQ(w.selectedDate(), kToday + 3);
    EXPECT_EQ(dayRows(), Rows({"9:00 AM|Work|Report|No|Yes"}));
    // The dropped-on calendar is the active one, even for a day outside its month.
    auto* pane = w.findChild<CalendarPane*>();
    ASSERT_NE(pane, nullptr);
    EXPECT_EQ(pane->activeIndex(), 2);
}

TEST_F(TaskDragTest, DroppingOnTheShownDayKeepsTheTaskInView) {
    setOption("DragConfirm", "0");
    writeStore({{"36526.101", "9:00 AM", "", "Day task", "No", "No"}});
    writeTodo({{"Home", "Paint", "No"}});
    clock_->setNow(encodeDateTime(2000, 1, 1, 8, 0));
    MainWindow& w = shown();
    const auto data = rowOf(w.gridNonday());
    const int active =
        w.findChild<CalendarPane*>() ? w.findChild<CalendarPane*>()->activeIndex() : 1;
    drag().onCalendarDrop(active, kToday, data.get());
    EXPECT_EQ(todoRows(), Rows({"||"}));
    EXPECT_EQ(fileRows("gridNon.grd"), Rows({"||"}));
    EXPECT_EQ(dayRows(), Rows({"8:00 AM|Home|Paint|No|No", "9:00 AM||Day task|No|No"}));
    // A later write-back of the day keeps it.
    commands().toggleAlarm();
    EXPECT_EQ(fileRows("grid.grd"),
              Rows({"36526.101|8:00 AM|Home|Paint|No|Yes", "36526.102|9:00 AM||Day task|No|No"}));

    // Something that is no pane, or an empty row, moves nothing.
    QMimeData text;
    text.setText("Paint");
    drag().onCalendarDrop(active, kToday + 1, &text);
    drag().onCalendarDrop(active, kToday + 1, rowOf(w.gridNonday()).get());
    EXPECT_EQ(w.selectedDate(), kToday);
    EXPECT_EQ(fileRows("grid.grd").size(), 2u);
}

TEST_F(TaskDragTest, ADayTaskDroppedOnItsOwnDateTakesItsPlaceByTimeAndStaysInTheStore) {
    setOption("DragConfirm", "0");
    writeStore({{"36526.101", "9:00 AM", "", "First", "No", "No"},
                {"36526.102", "10:00 AM", "", "Second", "No", "No"}});
    MainWindow& w = shown();
    w.gridDay()->selectTableRow(1);
    const int active = w.calendarPane()->activeIndex();
    drag().onCalendarDrop(active, kToday, rowOf(w.gridDay()).get());
    EXPECT_EQ(dayRows(), Rows({"9:00 AM||First|No|No", "10:00 AM||Second|No|No"}));
    EXPECT_EQ(fileRows("grid.grd"),
              Rows({"36526.101|9:00 AM||First|No|No", "36526.102|10:00 AM||Second|No|No"}));
}

} // namespace
} // namespace dw
