#include "app/editing/reschedule_dialog.h"
#include "app/modal_helpers.h"
#include "app/store/category_list_dialog.h"
#include "app/widgets/shadow_label.h"
#include "app/widgets/win_color.h"
#include "core/store/save_guard.h"
#include "task_window_fixture.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFocusEvent>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimeEdit>
#include <QTimer>
#include <QToolBar>
#include <filesystem>
#include <fstream>

namespace dw {
namespace {

using test::kToday;
using test::whenModal;
using Rows = std::vector<std::string>;

class TaskCommandsTest : public test::TaskWindowTest {
protected:
    // What an editor showed when it opened.
    struct Seen {
        std::string title, caption, category, notes;
        QColor titleColor;
        bool timeShown = false, completionPage = false;
        QTime time;
        bool alarm = false;
    };
    Seen seen;

    // The next editor: remember what it shows, then run `act`.
    void editorDoes(std::function<void(TaskEditor&)> act) {
        nextEditor([this, act](TaskEditor& e) {
            seen.title = e.titleCaption()->text().toStdString();
            seen.titleColor = e.titleCaption()->textColor();
            seen.caption = e.windowTitle().toStdString();
            seen.category = e.categoryCombo()->currentText().toStdString();
            seen.notes = e.notesEdit()->toPlainText().toStdString();
            seen.timeShown = e.timeEdit()->isVisibleTo(&e);
            seen.time = e.timeEdit()->time();
            seen.alarm = e.alarmCheck()->isChecked();
            seen.completionPage = e.completionPage()->isVisible();
            if (act)
                act(e);
        });
    }
    // A new task: its time, category and notes, then OK.
    void addWith(QTime time, const QString& category, const QString& notes, bool alarm = false) {
        editorDoes([=](TaskEditor& e) {
            e.timeEdit()->setTime(time);
            e.categoryCombo()->setEditText(category);
            e.alarmCheck()->setChecked(alarm);
            typeNotes(e, notes);
            e.okButton()->click();
        });
    }
    // The completion page: notes, then its OK.
    void completeWith(const QString& notes) {
        editorDoes([=](TaskEditor& e) {
            e.completionNotesEdit()->setPlainText(notes);
            e.completionOkButton()->click();
        });
    }
    QAction* action(const char* name) { return window().action(name); }
};

// ---------------------------------------------------------------------------------------
// Add

TEST_F(TaskCommandsTest, AddFillsTheEmptyRowThenAppendsSortsByTimeAndWritesTheStore) {
    setOption("Category", "Errands");
    MainWindow& w = shown();

    addWith(QTime(14, 0), "Home", "Dentist", true);
    commands().addTask(CommandSource::dayToolbarAdd);
    EXPECT_EQ(seen.title, "Sat 1/1/2000 Today");
    EXPECT_EQ(seen.titleColor, toQColor(0x00FF0000)); // the caption colour, not red
    EXPECT_EQ(seen.caption, "Edit Task");
    EXPECT_EQ(seen.category, "Errands"); // the Category option
    EXPECT_TRUE(seen.timeShown);
    EXPECT_EQ(dayRows(), Rows({"2:00 PM|Home|Dentist|No|Yes"}));

    // A second task goes into a new row and the view is sorted by time.
    addWith(QTime(9, 30), "Work", "Standup");
    commands().addTask(CommandSource::dayMenuAdd);
    EXPECT_EQ(dayRows(), Rows({"9:30 AM|Work|Standup|No|No", "2:00 PM|Home|Dentist|No|Yes"}));
    EXPECT_EQ(fileRows("grid.grd"), Rows({"36526.101|9:30 AM|Work|Standup|No|No",
                                          "36526.102|2:00 PM|Home|Dentist|No|Yes"}));
    // The new task is the selected one, and the pane has the focus.
    EXPECT_EQ(w.gridDay()->selectedRow(), 1);
    EXPECT_EQ(w.focusWidget(), w.gridDay());
    EXPECT_EQ(w.dateCaption()->text().left(8), "2 tasks ");

    // Cancel changes nothing.
    editorDoes([](TaskEditor& e) { e.cancelButton()->click(); });
    commands().addTask(CommandSource::dayToolbarAdd);
    EXPECT_EQ(dayRows().size(), 2u);
    EXPECT_EQ(w.focusWidget(), w.gridDay());
}

TEST_F(TaskCommandsTest, OnlyANewTaskOnAPastDateShowsPastInRed) {
    writeStore({{"36525.101", "8:00 AM", "", "Old", "No", "No"}});
    MainWindow& w = shown();
    w.setSelectedDate(kToday - 1);

    editorDoes({});
    commands().addTask(CommandSource::dayToolbarAdd);
    EXPECT_EQ(seen.title, "PAST Fri 12/31/1999 Yesterday");
    EXPECT_EQ(seen.titleColor, QColor(255, 0, 0));

    editorDoes({});
    commands().editTask(CommandSource::dayToolbarEdit);
    EXPECT_EQ(seen.title, "Fri 12/31/1999 Yesterday");
    EXPECT_NE(seen.titleColor, QColor(255, 0, 0));
}

TEST_F(TaskCommandsTest, AddToDoKeepsTheTaskWithoutCategoryAndSavesAtOnce) {
    writeTodo({{"", "Call Ann", "No"}});
    MainWindow& w = shown();
    std::filesystem::remove(dir_.file("gridNon.grd"));

    addWith(QTime(9, 0), "Home", "Paint the fence");
    commands().addTask(CommandSource::todoToolbarAdd);
    EXPECT_EQ(seen.title, "To-do task");
    EXPECT_FALSE(seen.timeShown);
    // The task without a category was not overwritten; the list is sorted by category.
    EXPECT_EQ(todoRows(), Rows({"|Call Ann|No", "Home|Paint the fence|No"}));
    EXPECT_EQ(w.focusWidget(), w.gridNonday());
    // A crash from here on loses nothing: the to-do list is on disk already.
    EXPECT_EQ(fileRows("gridNon.grd"), Rows({"|Call Ann|No", "Home|Paint the fence|No"}));
    EXPECT_FALSE(std::filesystem::exists(dir_.file("grid.grd")));
}

TEST_F(TaskCommandsTest, EveryToDoChangeReachesItsFileAtOnce) {
    writeTodo({{"Home", "Paint", "No"}, {"Work", "File", "No"}});
    MainWindow& w = shown();
    w.gridNonday()->setFocus();
    w.gridNonday()->selectTableRow(1);
    editorDoes([](TaskEditor& e) {
        e.categoryCombo()->setEditText("Garden");
        e.okButton()->click();
    });
    commands().editTask(CommandSource::todoToolbarEdit);
    EXPECT_EQ(fileRows("gridNon.grd"), Rows({"Garden|Paint|No", "Work|File|No"}));
}

// ---------------------------------------------------------------------------------------
// Edit and Mark as completed

TEST_F(TaskCommandsTest, EditWritesTheRowBackWithoutSortingIt) {
    writeStore({{"36526.101", "9:00 AM", "Work", "Standup", "No", "Yes"},
                {"36526.102", "10:00 AM", "Home", "Laundry", "No", "No"}});
    MainWindow& w = shown();
    w.gridDay()->selectTableRow(1);

    editorDoes([](TaskEditor& e) {
        e.timeEdit()->setTime(QTime(11, 15));
        e.alarmCheck()->setChecked(false);
        e.notesEdit()->setPlainText("Standup\nand retro");
        e.okButton()->click();
    });
    commands().editTask(CommandSource::dayToolbarEdit);
    EXPECT_EQ(seen.caption, "Task: Standup ...");
    EXPECT_EQ(seen.title, "Sat 1/1/2000 Today");
    EXPECT_EQ(seen.time, QTime(9, 0));
    EXPECT_TRUE(seen.alarm);
    EXPECT_EQ(seen.category, "Work");
    EXPECT_EQ(seen.notes, "Standup");
    // The later time stays in the first row until the next sort.
    EXPECT_EQ(dayRows(), Rows({"11:15 AM|Work|Standup\r\nand retro\r\n|No|No",
                               "10:00 AM|Home|Laundry|No|No"}));
    EXPECT_EQ(fileRows("grid.grd"), Rows({"36526.101|11:15 AM|Work|Standup\r\nand retro\r\n|No|No",
                                          "36526.102|10:00 AM|Home|Laundry|No|No"}));
    EXPECT_EQ(w.notesPane()->toPlainText(), "Standup\nand retro\n");
}

TEST_F(TaskCommandsTest, ATimeThatDoesNotParseStartsTheEditorAtNow) {
    writeStore({{"36526.101", "teatime", "", "Tea", "No", "No"}});
    shown();
    editorDoes({});
    commands().editTask(CommandSource::dayDoubleClick);
    EXPECT_EQ(seen.time, QTime(9, 0));
}

TEST_F(TaskCommandsTest, EmptyRowsAndDoneTasksAreRefusedWithTheirMessages) {
    writeTodo({{"Home", "Finished", "Yes"}});
    MainWindow& w = shown();
    struct Case {
        std::function<void()> run;
        const char* error;
    } cases[] = {
        {[&] { commands().editTask(CommandSource::dayToolbarEdit); }, "There is nothing to edit"},
        {[&] { commands().markAsCompleted(CommandSource::dayToolbarDone); },
         "There is nothing to edit"},
        {[&] { commands().deleteTask(CommandSource::dayToolbarDelete); },
         "There is nothing selected to delete"},
        {[&] { commands().markAsCompleted(CommandSource::todoMenuDone); },
         "Task already marked as complete"},
    };
    for (const auto& c : cases) {
        prompts_.errors.clear();
        c.run();
        EXPECT_EQ(prompts_.errors, Rows({c.error}));
    }
    EXPECT_EQ(editorsOpened_, 0);
    EXPECT_TRUE(prompts_.questions.empty());
    // Edit opens the done task, with no time or alarm.
    editorDoes({});
    commands().editTask(CommandSource::todoToolbarEdit);
    EXPECT_EQ(editorsOpened_, 1);
    EXPECT_EQ(seen.title, "To-do Tasks");
    EXPECT_FALSE(seen.timeShown);
    EXPECT_EQ(w.focusWidget(), w.gridNonday());
}

TEST_F(TaskCommandsTest, AToDoTaskWithoutCategoryCanBeEditedCompletedAndDeleted) {
    writeTodo({{"", "Call Ann", "No"}, {"", "Call Bob", "No"}});
    MainWindow& w = shown();
    w.gridNonday()->selectTableRow(1);
    editorDoes([](TaskEditor& e) {
        e.notesEdit()->setPlainText("Call Ann back");
        e.okButton()->click();
    });
    commands().editTask(CommandSource::todoToolbarEdit);
    EXPECT_EQ(todoRows(), Rows({"|Call Ann back|No", "|Call Bob|No"}));

    prompts_.setNextAnswer(test::FakePrompts::Yes);
    commands().deleteTask(CommandSource::todoToolbarDelete);
    EXPECT_EQ(prompts_.questions, Rows({"Really delete \"Call Ann back ... \"?"}));
    EXPECT_EQ(todoRows(), Rows({"|Call Bob|No"}));
    EXPECT_TRUE(prompts_.errors.empty());
}

TEST_F(TaskCommandsTest, CompletionRecordsEachOriginAndClearsTheAlarm) {
    writeStore({{"36526.101", "9:00 AM", "Work", "Report", "No", "Yes"}});
    writeTodo({{"Home", "Paint", "No"}});
    MainWindow& w = shown();

    completeWith("sent");
    commands().markAsCompleted(CommandSource::dayToolbarDone);
    EXPECT_TRUE(seen.completionPage);
    EXPECT_EQ(dayRows(), Rows({"9:00 AM|Work|Report|Yes|No"}));
    EXPECT_EQ(fileRows("grid.grd"), Rows({"36526.101|9:00 AM|Work|Report|Yes|No"}));

    completeWith("done");
    commands().markAsCompleted(CommandSource::todoMenuDone);
    EXPECT_EQ(todoRows(), Rows({"Home|Paint|Yes"}));
    EXPECT_EQ(w.focusWidget(), w.gridNonday());

    // Completed while being added.
    editorDoes([](TaskEditor& e) {
        typeNotes(e, "Fix the tap");
        e.markCompleteButton()->click();
        e.completionOkButton()->click();
    });
    commands().addTask(CommandSource::todoToolbarAdd);
    EXPECT_EQ(todoRows(), Rows({"|Fix the tap|Yes", "Home|Paint|Yes"})); // sorted by category

    const Rows file = fileRows("gridComp.grd");
    ASSERT_EQ(file.size(), 3u);
    auto origin = [&](int i) { return file[static_cast<size_t>(i)].substr(0, 60); };
    EXPECT_NE(origin(0).find("|To-do task|Fix the tap|"), std::string::npos) << file[0];
    EXPECT_NE(origin(1).find("|Home|Non date task|Paint|done"), std::string::npos) << file[1];
    EXPECT_NE(origin(2).find("|Work|Sat 1/1/2000|Report|sent"), std::string::npos) << file[2];
}

TEST_F(TaskCommandsTest, RescheduleMovesTheTaskToItsNewDate) {
    writeStore({{"36526.101", "9:00 AM", "Work", "Report", "No", "Yes"},
                {"36526.102", "10:00 AM", "", "Stay", "No", "No"}});
    MainWindow& w = shown();
    w.gridDay()->selectTableRow(1);
    editorDoes([](TaskEditor& e) {
        whenModal<RescheduleDialog>([](RescheduleDialog* d) {
            d->setDate(kToday + 2);
            d->okButton()->click();
        });
        e.rescheduleButton()->click();
    });
    commands().editTask(CommandSource::dayMenuEdit);
    EXPECT_EQ(w.selectedDate(), kToday); // the view keeps its date
    EXPECT_EQ(dayRows(), Rows({"10:00 AM||Stay|No|No"}));
    EXPECT_EQ(fileRows("grid.grd"),
              Rows({"36526.101|10:00 AM||Stay|No|No", "36528.101|9:00 AM|Work|Report|No|Yes"}));
}

TEST_F(TaskCommandsTest, RescheduleRefusesATimeThatIsNoTimeAndTheTaskStays) {
    writeStore({{"36526.101", "9:00 AM", "Work", "Report", "No", "Yes"}});
    MainWindow& w = shown();
    w.gridDay()->selectTableRow(1);
    // Were the date asked for, it would be answered with a move.
    bool dialogOpened = false;
    QTimer answer;
    answer.setInterval(20);
    QObject::connect(&answer, &QTimer::timeout, [&] {
        if (auto* d = qobject_cast<RescheduleDialog*>(QApplication::activeModalWidget())) {
            dialogOpened = true;
            d->setDate(kToday + 2);
            d->okButton()->click();
        }
    });
    answer.start();
    editorDoes([&](TaskEditor& e) {
        e.timeEdit()->setText("25:99");
        e.rescheduleButton()->click();
        EXPECT_TRUE(e.isVisible()) << "the editor stays open on the time field";
        EXPECT_EQ(e.focusWidget(), e.timeEdit());
    });
    commands().editTask(CommandSource::dayMenuEdit);
    EXPECT_FALSE(dialogOpened);
    EXPECT_EQ(prompts_.errors, Rows{"\"25:99\" is not a time. Type a time such as 9:30, 9:30 PM, "
                                    "21:30 or 930."});
    EXPECT_EQ(fileRows("grid.grd"), Rows{"36526.101|9:00 AM|Work|Report|No|Yes"});
}

// ---------------------------------------------------------------------------------------
// Delete, toggle alarm

TEST_F(TaskCommandsTest, DeleteAsksWhenConfirmIsOnAndLeavesOneEmptyRow) {
    const std::string longText(70, 'x');
    writeStore({{"36526.101", "9:00 AM", "", longText, "No", "No"},
                {"36526.102", "10:00 AM", "", "Second", "No", "No"}});
    MainWindow& w = shown();
    w.gridDay()->selectTableRow(1);

    prompts_.setNextAnswer(test::FakePrompts::No);
    commands().deleteTask(CommandSource::dayToolbarDelete);
    EXPECT_EQ(prompts_.questions, Rows({"Really delete \"" + std::string(50, 'x') + " ... \"?"}));
    EXPECT_EQ(dayRows().size(), 2u);

    prompts_.setNextAnswer(test::FakePrompts::Yes);
    commands().deleteTask(CommandSource::dayMenuDelete);
    EXPECT_EQ(dayRows(), Rows({"10:00 AM||Second|No|No"}));
    EXPECT_EQ(fileRows("grid.grd"), Rows({"36526.101|10:00 AM||Second|No|No"}));

    prompts_.setNextAnswer(test::FakePrompts::Yes);
    commands().deleteTask(CommandSource::dayToolbarDelete);
    EXPECT_EQ(dayRows(), Rows({"||||"}));
    EXPECT_TRUE(fileRows("grid.grd").empty());
    EXPECT_FALSE(w.notesPane()->isVisible());
}

TEST_F(TaskCommandsTest, DeleteAsksNothingWhenConfirmIsOff) {
    setOption("Confirm", "0");
    writeTodo({{"Home", "Paint", "No"}, {"Work", "File", "No"}});
    shown();
    std::filesystem::remove(dir_.file("gridNon.grd"));
    commands().deleteTask(CommandSource::todoToolbarDelete);
    EXPECT_TRUE(prompts_.questions.empty());
    EXPECT_EQ(todoRows(), Rows({"Work|File|No"}));
    EXPECT_EQ(fileRows("gridNon.grd"), Rows({"Work|File|No"}));
}

TEST_F(TaskCommandsTest, ToggleAlarmTwiceRestoresTheRowAndTheStore) {
    writeStore({{"36526.101", "9:00 AM", "", "Call", "No", "No"}});
    shown();
    commands().toggleAlarm();
    EXPECT_EQ(fileRows("grid.grd"), Rows({"36526.101|9:00 AM||Call|No|Yes"}));
    commands().toggleAlarm();
    EXPECT_EQ(dayRows(), Rows({"9:00 AM||Call|No|No"}));
    EXPECT_EQ(fileRows("grid.grd"), Rows({"36526.101|9:00 AM||Call|No|No"}));

    // An empty day: nothing happens, and nothing is written.
    window().setSelectedDate(kToday + 1);
    std::filesystem::remove(dir_.file("grid.grd"));
    commands().toggleAlarm();
    EXPECT_EQ(dayRows(), Rows({"||||"}));
    EXPECT_FALSE(std::filesystem::exists(dir_.file("grid.grd")));
    EXPECT_TRUE(prompts_.errors.empty());
}

// ---------------------------------------------------------------------------------------
// Controls

TEST_F(TaskCommandsTest, EveryControlReachesItsCommand) {
    writeStore({{"36526.101", "9:00 AM", "", "Day task", "No", "No"}});
    writeTodo({{"", "Todo task", "No"}});
    MainWindow& w = shown();
    struct Case {
        const char* action;
        QKeySequence key;   // empty: no shortcut
        std::string expect; // the editor's caption or title, or the question
    } cases[] = {
        {"insertTaskAction", QKeySequence(Qt::CTRL | Qt::Key_Insert), "Sat 1/1/2000 Today"},
        {"insertTodoAction", QKeySequence(Qt::SHIFT | Qt::Key_Insert), "To-do task"},
        {"editTaskAction", QKeySequence(Qt::CTRL | Qt::Key_Return), "Task: Day task ..."},
        {"editTodoAction", QKeySequence(Qt::SHIFT | Qt::Key_Return), "Task: Todo task ..."},
        {"deleteTaskAction", QKeySequence(Qt::CTRL | Qt::Key_Delete),
         "Really delete \"Day task ... \"?"},
        {"deleteTodoAction", QKeySequence(Qt::SHIFT | Qt::Key_Delete),
         "Really delete \"Todo task ... \"?"},
        {"dayToolbarAdd", {}, "Sat 1/1/2000 Today"},
        {"todoToolbarAdd", {}, "To-do task"},
        {"dayToolbarEdit", {}, "Task: Day task ..."},
        {"todoToolbarEdit", {}, "Task: Todo task ..."},
        {"dayToolbarDone", {}, "Task: Day task ..."},
        {"todoToolbarDone", {}, "Task: Todo task ..."},
        {"dayToolbarDelete", {}, "Really delete \"Day task ... \"?"},
        {"todoToolbarDelete", {}, "Really delete \"Todo task ... \"?"},
        {"dayMenuAdd", {}, "Sat 1/1/2000 Today"},
        {"todoMenuAdd", {}, "To-do task"},
        {"dayMenuEdit", {}, "Task: Day task ..."},
        {"todoMenuEdit", {}, "Task: Todo task ..."},
        {"dayMenuDone", {}, "Task: Day task ..."},
        {"todoMenuDone", {}, "Task: Todo task ..."},
        {"dayMenuDelete", {}, "Really delete \"Day task ... \"?"},
        {"todoMenuDelete", {}, "Really delete \"Todo task ... \"?"},
    };
    for (const auto& c : cases) {
        QAction* a = action(c.action);
        ASSERT_NE(a, nullptr) << c.action;
        if (!c.key.isEmpty()) {
            EXPECT_TRUE(a->shortcuts().contains(c.key)) << c.action;
        }
        // A context menu opens over its pane, which has the focus by then.
        const std::string name = c.action;
        if (name == "dayMenuAdd" || name == "dayMenuEdit" || name == "dayMenuDone" ||
            name == "dayMenuDelete")
            w.gridDay()->setFocus();
        if (name == "todoMenuAdd" || name == "todoMenuEdit" || name == "todoMenuDone" ||
            name == "todoMenuDelete")
            w.gridNonday()->setFocus();
        seen = {};
        prompts_.questions.clear();
        editorDoes({});
        prompts_.setNextAnswer(test::FakePrompts::No);
        a->trigger();
        const std::string shown = !prompts_.questions.empty()   ? prompts_.questions.front()
                                  : seen.caption == "Edit Task" ? seen.title
                                                                : seen.caption;
        EXPECT_EQ(shown, c.expect) << c.action;
    }
    EXPECT_TRUE(prompts_.errors.empty());
    EXPECT_EQ(dayRows().size(), 1u);
    EXPECT_EQ(todoRows().size(), 1u);

    // The toolbar hints, and the Edit menu between File and the rest.
    EXPECT_EQ(action("dayToolbarAdd")->toolTip(), "Add new task");
    EXPECT_EQ(action("todoToolbarAdd")->toolTip(), "Add new");
    EXPECT_EQ(action("dayToolbarDelete")->toolTip(), "Delete task");
    EXPECT_EQ(action("todoToolbarDelete")->toolTip(), "Delete");
    EXPECT_EQ(action("toggleAlarmAction")->text(), "Toggle alarm");
    EXPECT_EQ(action("toggleAlarmAction")->toolTip(), "Toggle alarm (yes/no)");
    EXPECT_TRUE(w.dayToolBar()->isVisible());
    EXPECT_TRUE(w.todoToolBar()->isVisible());
    auto* edit = w.findChild<QMenu*>("editMenu");
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->title(), "&Edit");
}

TEST_F(TaskCommandsTest, DoubleClicksEditAndTheFirstCalendarAddsOnAnEmptyDay) {
    writeStore({{"36526.101", "9:00 AM", "", "Day task", "No", "No"}});
    writeTodo({{"", "Todo task", "No"}});
    MainWindow& w = shown();

    editorDoes({});
    const QRect cell = w.gridNonday()->visualRect(w.gridNonday()->model()->index(0, 1));
    QTest::mouseClick(w.gridNonday()->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(w.gridNonday()->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(seen.caption, "Task: Todo task ...");

    editorDoes({});
    commands().addOrEditOnDate(kToday);
    EXPECT_EQ(seen.caption, "Task: Day task ...");

    w.setSelectedDate(kToday + 1);
    editorDoes({});
    commands().addOrEditOnDate(kToday + 1);
    EXPECT_EQ(seen.caption, "Edit Task");
    EXPECT_EQ(seen.title, "Sun 1/2/2000 Tomorrow");
}

// ---------------------------------------------------------------------------------------
// Notes pane, styling, categories

TEST_F(TaskCommandsTest, TheNotesPaneWritesBackWhenItLosesTheFocus) {
    writeStore({{"36526.101", "9:00 AM", "", "Pack\r\nPassport", "No", "No"},
                {"36526.102", "10:00 AM", "", "Call", "No", "No"}});
    MainWindow& w = shown();
    QPlainTextEdit* mem = w.notesPane();
    auto leave = [&] {
        QFocusEvent out(QEvent::FocusOut, Qt::OtherFocusReason);
        QApplication::sendEvent(mem, &out);
    };

    // Entering and leaving without a change keeps the lines of the text.
    ASSERT_EQ(mem->toPlainText(), "Pack\nPassport");
    leave();
    EXPECT_EQ(dayRows()[0], "9:00 AM||Pack\r\nPassport|No|No");

    // A word added to the second line changes that line only.
    mem->moveCursor(QTextCursor::End);
    mem->insertPlainText(" and tickets");
    leave();
    EXPECT_EQ(dayRows()[0], "9:00 AM||Pack\r\nPassport and tickets\r\n|No|No");

    struct Case {
        QString typed;
        std::string stored;
    } cases[] = {
        {"Pack passport", "Pack passport"},
        {"Pack\tpassport\b!", "Pack passport!"}, // pasted TAB and backspace
        {"Pack\npassport", "Pack\r\npassport\r\n"},
    };
    for (const auto& c : cases) {
        w.gridDay()->selectTableRow(1);
        mem->selectAll();
        mem->insertPlainText(c.typed);
        leave();
        EXPECT_EQ(dayRows()[0], "9:00 AM||" + c.stored + "|No|No");
        EXPECT_EQ(fileRows("grid.grd")[0], "36526.101|9:00 AM||" + c.stored + "|No|No");
    }

    // Blank notes are refused: the task keeps its text.
    w.gridDay()->selectTableRow(2);
    mem->selectAll();
    mem->insertPlainText("");
    leave();
    QTest::qWait(20);
    EXPECT_EQ(prompts_.errors, Rows({"The Notes are blank!"}));
    EXPECT_EQ(dayRows()[1], "10:00 AM||Call|No|No");
    EXPECT_EQ(mem->toPlainText(), "Call");
}

TEST_F(TaskCommandsTest, ANotesEditIsSavedToItsOwnDateWhenAKeyMovesTheDate) {
    writeStore({{"36526.101", "9:00 AM", "", "Pack", "No", "No"},
                {"36527.101", "8:00 AM", "", "Sunday task", "No", "No"}});
    MainWindow& w = shown();
    QPlainTextEdit* mem = w.notesPane();
    mem->setFocus();
    mem->selectAll();
    mem->insertPlainText("Pack the passport");
    // The focus stays in the notes while a command moves the date on.
    w.setSelectedDate(kToday + 1);
    EXPECT_EQ(fileRows("grid.grd"), Rows({"36526.101|9:00 AM||Pack the passport|No|No",
                                          "36527.101|8:00 AM||Sunday task|No|No"}));
    EXPECT_EQ(dayRows()[0], "8:00 AM||Sunday task|No|No");
    // Leaving the notes afterwards changes nothing more.
    QFocusEvent out(QEvent::FocusOut, Qt::OtherFocusReason);
    QApplication::sendEvent(mem, &out);
    EXPECT_EQ(fileRows("grid.grd")[1], "36527.101|8:00 AM||Sunday task|No|No");
}

TEST_F(TaskCommandsTest, DoneRowsAreStruckOutInBothPanesWhileTheOptionIsOn) {
    writeStore({{"36526.101", "9:00 AM", "", "Open", "No", "No"},
                {"36526.102", "10:00 AM", "", "Closed", "Yes", "No"}});
    writeTodo({{"", "Open", "No"}, {"", "Closed", "Yes"}});
    MainWindow& w = shown();
    auto struck = [](CellGrid* g, int row) {
        const QVariant f = g->model()->index(row - 1, 1).data(Qt::FontRole);
        return f.isValid() && f.value<QFont>().strikeOut();
    };
    for (CellGrid* g : {w.gridDay(), w.gridNonday()}) {
        EXPECT_FALSE(struck(g, 1));
        EXPECT_TRUE(struck(g, 2));
    }
    state_->options().strikeOut = false;
    for (CellGrid* g : {w.gridDay(), w.gridNonday()})
        EXPECT_FALSE(struck(g, 2));
}

TEST_F(TaskCommandsTest, CategoriesEditsTheCategoryFile) {
    shown();
    whenModal<CategoryListDialog>([](CategoryListDialog* d) {
        EXPECT_EQ(d->windowTitle(), "Edit Category Choices");
        d->setEntries({"Work", "home"});
        d->okButton()->click();
    });
    action("categoriesAction")->trigger();
    std::ifstream in(dir_.file("category.xxx"), std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(text, "home\r\nWork\r\n");
}

} // namespace
} // namespace dw

namespace dw {
namespace {

TEST_F(TaskCommandsTest, InAReadOnlyDataFolderCommandsSayTheyCannotSaveAndTheWindowKeepsTheTask) {
    writeTodo({{"Home", "Paint", "No"}});
    MainWindow& w = shown();
    const std::string before = dir_.read("gridNon.grd");
    setReadOnlyDataFolder(dir_.path());
    // (A new category would be refused first: its list file is in the folder too.)
    addWith(QTime(9, 0), "", "File the report");
    commands().addTask(CommandSource::todoToolbarAdd);
    clearSaveRefusals();
    ASSERT_EQ(prompts_.errors.size(), 1u);
    EXPECT_NE(prompts_.errors[0].find("read-only"), std::string::npos) << prompts_.errors[0];
    EXPECT_NE(prompts_.errors[0].find(dir_.path()), std::string::npos) << prompts_.errors[0];
    EXPECT_EQ(todoRows(), Rows({"|File the report|No", "Home|Paint|No"}));
    EXPECT_EQ(dir_.read("gridNon.grd"), before);
    (void)w;
}

TEST_F(TaskCommandsTest, InAReadOnlyDataFolderClosingAsksNothing) {
    writeTodo({{"Home", "Paint", "No"}});
    MainWindow& w = shown();
    setReadOnlyDataFolder(dir_.path());
    w.close();
    clearSaveRefusals();
    EXPECT_TRUE(prompts_.errors.empty());
}

} // namespace
} // namespace dw
