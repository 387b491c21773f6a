#include "app/editing/reschedule_dialog.h"
#include "app/modal_helpers.h"
#include "app/store/list_box_dialog.h"
#include "app/widgets/shadow_label.h"
#include "app/widgets/win_color.h"
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
    void editorDoes(std::function<void(TfrmEdit&)> act) {
        nextEditor([this, act](TfrmEdit& e) {
            seen.title = e.lblTitle->text().toStdString();
            seen.titleColor = e.lblTitle->textColor();
            seen.caption = e.windowTitle().toStdString();
            seen.category = e.cbCategory->currentText().toStdString();
            seen.notes = e.memMain->toPlainText().toStdString();
            seen.timeShown = e.dtTime->isVisibleTo(&e);
            seen.time = e.dtTime->time();
            seen.alarm = e.cbAlarm->isChecked();
            seen.completionPage = e.pnlComplete->isVisible();
            if (act)
                act(e);
        });
    }
    // A new task: its time, category and notes, then OK.
    void addWith(QTime time, const QString& category, const QString& notes, bool alarm = false) {
        editorDoes([=](TfrmEdit& e) {
            e.dtTime->setTime(time);
            e.cbCategory->setEditText(category);
            e.cbAlarm->setChecked(alarm);
            typeNotes(e, notes);
            e.btOK->click();
        });
    }
    // The completion page: notes, then its OK.
    void completeWith(const QString& notes) {
        editorDoes([=](TfrmEdit& e) {
            e.memComplete->setPlainText(notes);
            e.btOK2->click();
        });
    }
    QAction* action(const char* name) { return window().action(name); }
};

// ---------------------------------------------------------------------------------------
// Add

TEST_F(TaskCommandsTest, AddFillsTheEmptyRowThenAppendsSortsByTimeAndWritesTheStore) {
    setOption("Category", "Errands");
    TfrmMain& w = shown();

    addWith(QTime(14, 0), "Home", "Dentist", true);
    commands().btAddClick(CommandSource::tbAdd1);
    EXPECT_EQ(seen.title, "Sat 1/1/2000 Today");
    EXPECT_EQ(seen.titleColor, toQColor(0x00FF0000)); // the caption colour, not red
    EXPECT_EQ(seen.caption, "Edit Task");
    EXPECT_EQ(seen.category, "Errands"); // the Category option
    EXPECT_TRUE(seen.timeShown);
    EXPECT_EQ(dayRows(), Rows({"2:00 PM|Home|Dentist|No|Yes"}));

    // A second task goes into a new row and the view is sorted by time.
    addWith(QTime(9, 30), "Work", "Standup");
    commands().btAddClick(CommandSource::Add1);
    EXPECT_EQ(dayRows(), Rows({"9:30 AM|Work|Standup|No|No", "2:00 PM|Home|Dentist|No|Yes"}));
    EXPECT_EQ(fileRows("grid.grd"), Rows({"36526.101|9:30 AM|Work|Standup|No|No",
                                          "36526.102|2:00 PM|Home|Dentist|No|Yes"}));
    // The new task is the selected one, and the pane has the focus.
    EXPECT_EQ(w.gridDay()->selectedRow(), 1);
    EXPECT_EQ(w.focusWidget(), w.gridDay());
    EXPECT_EQ(w.lblDate()->text().left(8), "2 tasks ");

    // Cancel changes nothing.
    editorDoes([](TfrmEdit& e) { e.btCancel->click(); });
    commands().btAddClick(CommandSource::tbAdd1);
    EXPECT_EQ(dayRows().size(), 2u);
    EXPECT_EQ(w.focusWidget(), w.gridDay());
}

TEST_F(TaskCommandsTest, OnlyANewTaskOnAPastDateShowsPastInRed) {
    writeStore({{"36525.101", "8:00 AM", "", "Old", "No", "No"}});
    TfrmMain& w = shown();
    w.setSelectedDate(kToday - 1);

    editorDoes({});
    commands().btAddClick(CommandSource::tbAdd1);
    EXPECT_EQ(seen.title, "PAST Fri 12/31/1999 Yesterday");
    EXPECT_EQ(seen.titleColor, QColor(255, 0, 0));

    editorDoes({});
    commands().btEditClick(CommandSource::tbEdit1);
    EXPECT_EQ(seen.title, "Fri 12/31/1999 Yesterday");
    EXPECT_NE(seen.titleColor, QColor(255, 0, 0));
}

TEST_F(TaskCommandsTest, AddToDoKeepsTheTaskWithoutCategoryAndWaitsForCloseToSave) {
    writeTodo({{"", "Call Ann", "No"}});
    TfrmMain& w = shown();
    std::filesystem::remove(dir_.file("gridNon.grd"));

    addWith(QTime(9, 0), "Home", "Paint the fence");
    commands().btAddClick(CommandSource::tbAdd2);
    EXPECT_EQ(seen.title, "To-do task");
    EXPECT_FALSE(seen.timeShown);
    // The task without a category was not overwritten; the list is sorted by category.
    EXPECT_EQ(todoRows(), Rows({"|Call Ann|No", "Home|Paint the fence|No"}));
    EXPECT_EQ(w.focusWidget(), w.gridNonday());
    EXPECT_FALSE(std::filesystem::exists(dir_.file("gridNon.grd")));
    EXPECT_FALSE(std::filesystem::exists(dir_.file("grid.grd")));
    w.close();
    EXPECT_EQ(fileRows("gridNon.grd"), Rows({"|Call Ann|No", "Home|Paint the fence|No"}));
}

// ---------------------------------------------------------------------------------------
// Edit and Mark as completed

TEST_F(TaskCommandsTest, EditWritesTheRowBackWithoutSortingIt) {
    writeStore({{"36526.101", "9:00 AM", "Work", "Standup", "No", "Yes"},
                {"36526.102", "10:00 AM", "Home", "Laundry", "No", "No"}});
    TfrmMain& w = shown();
    w.gridDay()->selectTableRow(1);

    editorDoes([](TfrmEdit& e) {
        e.dtTime->setTime(QTime(11, 15));
        e.cbAlarm->setChecked(false);
        e.memMain->setPlainText("Standup\nand retro");
        e.btOK->click();
    });
    commands().btEditClick(CommandSource::tbEdit1);
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
    EXPECT_EQ(w.memWhat()->toPlainText(), "Standupand retro");
}

TEST_F(TaskCommandsTest, ATimeThatDoesNotParseStartsTheEditorAtNow) {
    writeStore({{"36526.101", "teatime", "", "Tea", "No", "No"}});
    shown();
    editorDoes({});
    commands().btEditClick(CommandSource::gridDayDblClick);
    EXPECT_EQ(seen.time, QTime(9, 0));
}

TEST_F(TaskCommandsTest, EmptyRowsAndDoneTasksAreRefusedWithTheirMessages) {
    writeTodo({{"Home", "Finished", "Yes"}});
    TfrmMain& w = shown();
    struct Case {
        std::function<void()> run;
        const char* error;
    } cases[] = {
        {[&] { commands().btEditClick(CommandSource::tbEdit1); }, "There is nothing to edit"},
        {[&] { commands().Markascompleted1Click(CommandSource::tbDone1); },
         "There is nothing to edit"},
        {[&] { commands().btDelClick(CommandSource::tbDel1); },
         "There is nothing selected to delete"},
        {[&] { commands().Markascompleted1Click(CommandSource::Markascompleted1); },
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
    commands().btEditClick(CommandSource::tbEdit2);
    EXPECT_EQ(editorsOpened_, 1);
    EXPECT_EQ(seen.title, "To-do Tasks");
    EXPECT_FALSE(seen.timeShown);
    EXPECT_EQ(w.focusWidget(), w.gridNonday());
}

TEST_F(TaskCommandsTest, AToDoTaskWithoutCategoryCanBeEditedCompletedAndDeleted) {
    writeTodo({{"", "Call Ann", "No"}, {"", "Call Bob", "No"}});
    TfrmMain& w = shown();
    w.gridNonday()->selectTableRow(1);
    editorDoes([](TfrmEdit& e) {
        e.memMain->setPlainText("Call Ann back");
        e.btOK->click();
    });
    commands().btEditClick(CommandSource::tbEdit2);
    EXPECT_EQ(todoRows(), Rows({"|Call Ann back|No", "|Call Bob|No"}));

    prompts_.setNextAnswer(test::FakePrompts::Yes);
    commands().btDelClick(CommandSource::tbDel2);
    EXPECT_EQ(prompts_.questions, Rows({"Really delete \"Call Ann back ... \"?"}));
    EXPECT_EQ(todoRows(), Rows({"|Call Bob|No"}));
    EXPECT_TRUE(prompts_.errors.empty());
}

TEST_F(TaskCommandsTest, CompletionRecordsEachOriginAndClearsTheAlarm) {
    writeStore({{"36526.101", "9:00 AM", "Work", "Report", "No", "Yes"}});
    writeTodo({{"Home", "Paint", "No"}});
    TfrmMain& w = shown();

    completeWith("sent");
    commands().Markascompleted1Click(CommandSource::tbDone1);
    EXPECT_TRUE(seen.completionPage);
    EXPECT_EQ(dayRows(), Rows({"9:00 AM|Work|Report|Yes|No"}));
    EXPECT_EQ(fileRows("grid.grd"), Rows({"36526.101|9:00 AM|Work|Report|Yes|No"}));

    completeWith("done");
    commands().Markascompleted1Click(CommandSource::Markascompleted1);
    EXPECT_EQ(todoRows(), Rows({"Home|Paint|Yes"}));
    EXPECT_EQ(w.focusWidget(), w.gridNonday());

    // Completed while being added.
    editorDoes([](TfrmEdit& e) {
        typeNotes(e, "Fix the tap");
        e.btComplete->click();
        e.btOK2->click();
    });
    commands().btAddClick(CommandSource::tbAdd2);
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
    TfrmMain& w = shown();
    w.gridDay()->selectTableRow(1);
    editorDoes([](TfrmEdit& e) {
        whenModal<TfrmReschedule>([](TfrmReschedule* d) {
            d->setDate(kToday + 2);
            d->btOK->click();
        });
        e.btReschedule->click();
    });
    commands().btEditClick(CommandSource::Edit2);
    EXPECT_EQ(w.selectedDate(), kToday); // the view keeps its date
    EXPECT_EQ(dayRows(), Rows({"10:00 AM||Stay|No|No"}));
    EXPECT_EQ(fileRows("grid.grd"),
              Rows({"36526.101|10:00 AM||Stay|No|No", "36528.100|9:00 AM|Work|Report|No|Yes"}));
}

// ---------------------------------------------------------------------------------------
// Delete, toggle alarm

TEST_F(TaskCommandsTest, DeleteAsksWhenConfirmIsOnAndLeavesOneEmptyRow) {
    const std::string longText(70, 'x');
    writeStore({{"36526.101", "9:00 AM", "", longText, "No", "No"},
                {"36526.102", "10:00 AM", "", "Second", "No", "No"}});
    TfrmMain& w = shown();
    w.gridDay()->selectTableRow(1);

    prompts_.setNextAnswer(test::FakePrompts::No);
    commands().btDelClick(CommandSource::tbDel1);
    EXPECT_EQ(prompts_.questions, Rows({"Really delete \"" + std::string(50, 'x') + " ... \"?"}));
    EXPECT_EQ(dayRows().size(), 2u);

    prompts_.setNextAnswer(test::FakePrompts::Yes);
    commands().btDelClick(CommandSource::Del1);
    EXPECT_EQ(dayRows(), Rows({"10:00 AM||Second|No|No"}));
    EXPECT_EQ(fileRows("grid.grd"), Rows({"36526.101|10:00 AM||Second|No|No"}));

    prompts_.setNextAnswer(test::FakePrompts::Yes);
    commands().btDelClick(CommandSource::tbDel1);
    EXPECT_EQ(dayRows(), Rows({"||||"}));
    EXPECT_TRUE(fileRows("grid.grd").empty());
    EXPECT_FALSE(w.memWhat()->isVisible());
}

TEST_F(TaskCommandsTest, DeleteAsksNothingWhenConfirmIsOff) {
    setOption("Confirm", "0");
    writeTodo({{"Home", "Paint", "No"}, {"Work", "File", "No"}});
    shown();
    std::filesystem::remove(dir_.file("gridNon.grd"));
    commands().btDelClick(CommandSource::tbDel2);
    EXPECT_TRUE(prompts_.questions.empty());
    EXPECT_EQ(todoRows(), Rows({"Work|File|No"}));
    // The to-do list reaches its file only when the window hides or closes.
    EXPECT_FALSE(std::filesystem::exists(dir_.file("gridNon.grd")));
}

TEST_F(TaskCommandsTest, ToggleAlarmTwiceRestoresTheRowAndTheStore) {
    writeStore({{"36526.101", "9:00 AM", "", "Call", "No", "No"}});
    shown();
    commands().ToolButton15Click();
    EXPECT_EQ(fileRows("grid.grd"), Rows({"36526.101|9:00 AM||Call|No|Yes"}));
    commands().ToolButton15Click();
    EXPECT_EQ(dayRows(), Rows({"9:00 AM||Call|No|No"}));
    EXPECT_EQ(fileRows("grid.grd"), Rows({"36526.101|9:00 AM||Call|No|No"}));

    // An empty day: nothing happens, and nothing is written.
    window().setSelectedDate(kToday + 1);
    std::filesystem::remove(dir_.file("grid.grd"));
    commands().ToolButton15Click();
    EXPECT_EQ(dayRows(), Rows({"||||"}));
    EXPECT_FALSE(std::filesystem::exists(dir_.file("grid.grd")));
    EXPECT_TRUE(prompts_.errors.empty());
}

// ---------------------------------------------------------------------------------------
// Controls

TEST_F(TaskCommandsTest, EveryControlReachesItsCommand) {
    writeStore({{"36526.101", "9:00 AM", "", "Day task", "No", "No"}});
    writeTodo({{"", "Todo task", "No"}});
    TfrmMain& w = shown();
    struct Case {
        const char* action;
        QKeySequence key;   // empty: no shortcut
        std::string expect; // the editor's caption or title, or the question
    } cases[] = {
        {"Insertnewtask1", QKeySequence(Qt::CTRL | Qt::Key_Insert), "Sat 1/1/2000 Today"},
        {"Insertnewtodo1", QKeySequence(Qt::SHIFT | Qt::Key_Insert), "To-do task"},
        {"Editexistingtask1", QKeySequence(Qt::CTRL | Qt::Key_Return), "Task: Day task ..."},
        {"Editexistingtodo1", QKeySequence(Qt::SHIFT | Qt::Key_Return), "Task: Todo task ..."},
        {"Deleteexistingtask1", QKeySequence(Qt::CTRL | Qt::Key_Delete),
         "Really delete \"Day task ... \"?"},
        {"Deleteexistingtodo1", QKeySequence(Qt::SHIFT | Qt::Key_Delete),
         "Really delete \"Todo task ... \"?"},
        {"tbAdd1", {}, "Sat 1/1/2000 Today"},
        {"tbAdd2", {}, "To-do task"},
        {"tbEdit1", {}, "Task: Day task ..."},
        {"tbEdit2", {}, "Task: Todo task ..."},
        {"tbDone1", {}, "Task: Day task ..."},
        {"tbDone2", {}, "Task: Todo task ..."},
        {"tbDel1", {}, "Really delete \"Day task ... \"?"},
        {"tbDel2", {}, "Really delete \"Todo task ... \"?"},
        {"Add1", {}, "Sat 1/1/2000 Today"},
        {"AddTodo1", {}, "To-do task"},
        {"Edit2", {}, "Task: Day task ..."},
        {"EditTodo1", {}, "Task: Todo task ..."},
        {"Markascompleted2", {}, "Task: Day task ..."},
        {"Markascompleted1", {}, "Task: Todo task ..."},
        {"Del1", {}, "Really delete \"Day task ... \"?"},
        {"DelTodo1", {}, "Really delete \"Todo task ... \"?"},
    };
    for (const auto& c : cases) {
        QAction* a = action(c.action);
        ASSERT_NE(a, nullptr) << c.action;
        if (!c.key.isEmpty()) {
            EXPECT_TRUE(a->shortcuts().contains(c.key)) << c.action;
        }
        // A context menu opens over its pane, which has the focus by then.
        const std::string name = c.action;
        if (name == "Add1" || name == "Edit2" || name == "Markascompleted2" || name == "Del1")
            w.gridDay()->setFocus();
        if (name == "AddTodo1" || name == "EditTodo1" || name == "Markascompleted1" ||
            name == "DelTodo1")
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
    EXPECT_EQ(action("tbAdd1")->toolTip(), "Add new task");
    EXPECT_EQ(action("tbAdd2")->toolTip(), "Add new");
    EXPECT_EQ(action("tbDel1")->toolTip(), "Delete task");
    EXPECT_EQ(action("tbDel2")->toolTip(), "Delete");
    EXPECT_EQ(action("ToolButton15")->text(), "Toggle alarm");
    EXPECT_EQ(action("ToolButton15")->toolTip(), "Toggle alarm (yes/no)");
    EXPECT_TRUE(w.dayToolBar()->isVisible());
    EXPECT_TRUE(w.todoToolBar()->isVisible());
    auto* edit = w.findChild<QMenu*>("Edit1");
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->title(), "&Edit");
}

TEST_F(TaskCommandsTest, DoubleClicksEditAndTheFirstCalendarAddsOnAnEmptyDay) {
    writeStore({{"36526.101", "9:00 AM", "", "Day task", "No", "No"}});
    writeTodo({{"", "Todo task", "No"}});
    TfrmMain& w = shown();

    editorDoes({});
    const QRect cell = w.gridNonday()->visualRect(w.gridNonday()->model()->index(0, 1));
    QTest::mouseClick(w.gridNonday()->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(w.gridNonday()->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(seen.caption, "Task: Todo task ...");

    editorDoes({});
    commands().cal1CellDblClick(kToday);
    EXPECT_EQ(seen.caption, "Task: Day task ...");

    w.setSelectedDate(kToday + 1);
    editorDoes({});
    commands().cal1CellDblClick(kToday + 1);
    EXPECT_EQ(seen.caption, "Edit Task");
    EXPECT_EQ(seen.title, "Sun 1/2/2000 Tomorrow");
}

// ---------------------------------------------------------------------------------------
// Notes pane, styling, categories

TEST_F(TaskCommandsTest, TheNotesPaneWritesBackWhenItLosesTheFocus) {
    writeStore({{"36526.101", "9:00 AM", "", "Pack\r\nPassport", "No", "No"},
                {"36526.102", "10:00 AM", "", "Call", "No", "No"}});
    TfrmMain& w = shown();
    QPlainTextEdit* mem = w.memWhat();
    auto leave = [&] {
        QFocusEvent out(QEvent::FocusOut, Qt::OtherFocusReason);
        QApplication::sendEvent(mem, &out);
    };

    // Entering and leaving without a change keeps the lines of the text.
    ASSERT_EQ(mem->toPlainText(), "PackPassport");
    leave();
    EXPECT_EQ(dayRows()[0], "9:00 AM||Pack\r\nPassport|No|No");

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
    TfrmMain& w = shown();
    QPlainTextEdit* mem = w.memWhat();
    mem->setFocus();
    mem->selectAll();
    mem->insertPlainText("Pack the passport");
    // The focus stays in the notes while a command moves the date on.
    w.setSelectedDate(kToday + 1);
    EXPECT_EQ(fileRows("grid.grd"),
              Rows({"36526.101|9:00 AM||Pack the passport|No|No",
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
    TfrmMain& w = shown();
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
    whenModal<TfrmListBox>([](TfrmListBox* d) {
        EXPECT_EQ(d->windowTitle(), "Edit Category Choices");
        d->setEntries({"Work", "home"});
        d->btOK->click();
    });
    action("Categories1")->trigger();
    std::ifstream in(dir_.file("category.xxx"), std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(text, "home\r\nWork\r\n");
}

} // namespace
} // namespace dw
