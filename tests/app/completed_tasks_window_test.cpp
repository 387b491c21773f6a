#include "app/output/completed_tasks_window.h"
#include "app/shell/main_actions.h"
#include "app/task_window_fixture.h"
#include "core/output/completed_tasks.h"

#include <QAction>
#include <QPlainTextEdit>

namespace dw::test {
namespace {

class CompletedWindowTest : public TaskWindowTest {
protected:
    void SetUp() override {
        CellTable t(6, 1);
        setCompletedHeaders(t);
        ASSERT_TRUE(saveDataRows(
            t,
            {{"1/3/2000", "2:05 PM", "Work", "Sat 1/1/2000", "newest", "n1"},
             {"1/2/2000", "9:00 AM", "Home", "Non date task", "older\r\nline 2\r\n", ""}},
            dir_.file("gridComp.grd")));
        state_->completedTasks().load();
        shown();
    }
    CompletedTasksWindow& win() {
        return *window().findChild<CompletedTasksWindow*>("completedTasksWindow");
    }
    // Runs `act` inside the window opened by "View Completed Tasks", then closes it.
    void inWindow(std::function<void(CompletedTasksWindow&)> act) {
        whenModal<CompletedTasksWindow>([act](CompletedTasksWindow* w) {
            act(*w);
            w->closeAction()->trigger();
        });
        window().actions().completedTasks->trigger();
    }
    CellTable& table() { return state_->completedTasks().table(); }
};

TEST_F(CompletedWindowTest, PanesShowAndWriteBackIntoTheRowTheyCameFrom) {
    inWindow([&](CompletedTasksWindow& w) {
        EXPECT_EQ(w.windowTitle(), "Completed Tasks");
        EXPECT_EQ(w.whatPane()->toPlainText(), "newest");
        w.grid()->selectTableRow(2);
        EXPECT_EQ(w.whatPane()->toPlainText(), "older\nline 2");
        w.notesPane()->setFocus();
        w.notesPane()->setPlainText("edited\nnotes");
        w.grid()->selectTableRow(1); // the edit goes to the row it was made in
        EXPECT_EQ(table().cell(CompCol::CompNotes, 2), "edited\r\nnotes\r\n");
        EXPECT_EQ(w.whatPane()->toPlainText(), "newest");
        // A resize repaints; the panes keep what is being typed.
        w.whatPane()->setPlainText("typing");
        w.resize(w.width() + 40, w.height());
        QApplication::processEvents();
        EXPECT_EQ(w.whatPane()->toPlainText(), "typing");
    });
    EXPECT_EQ(table().cell(CompCol::CompNotes, 2), "edited\r\nnotes\r\n");
    EXPECT_EQ(table().cell(CompCol::What, 1), "typing");
    EXPECT_EQ(fileRows("gridComp.grd")[0], "1/3/2000|2:05 PM|Work|Sat 1/1/2000|typing|n1");
}

TEST_F(CompletedWindowTest, DeleteAsksOnlyWithConfirmOn) {
    inWindow([&](CompletedTasksWindow& w) {
        prompts_.setNextAnswer(FakePrompts::No);
        w.deleteAction()->trigger();
        EXPECT_EQ(table().rowCount(), 3);
        prompts_.setNextAnswer(FakePrompts::Yes);
        w.deleteAction()->trigger();
        EXPECT_EQ(rowsOf(table()).size(), 1u);
        EXPECT_EQ(w.whatPane()->toPlainText(), "older\nline 2");
    });
    EXPECT_EQ(prompts_.questions, (std::vector<std::string>{"Really delete?", "Really delete?"}));
    EXPECT_EQ(fileRows("gridComp.grd").size(), 1u);

    setOption("Confirm", "0");
    inWindow([&](CompletedTasksWindow& w) {
        w.deleteAction()->trigger(); // the last record: its row stays, emptied
        EXPECT_EQ(table().rowCount(), 2);
    });
    EXPECT_EQ(prompts_.questions.size(), 2u);
    EXPECT_EQ(fileRows("gridComp.grd"), (Rows{"|||||"}));
}

TEST_F(CompletedWindowTest, ClearKeepsTheFileUntilClose) {
    inWindow([&](CompletedTasksWindow& w) {
        prompts_.setNextAnswer(FakePrompts::No);
        w.clearAction()->trigger();
        EXPECT_EQ(table().rowCount(), 3);
        prompts_.setNextAnswer(FakePrompts::Yes);
        w.clearAction()->trigger();
        EXPECT_EQ(table().rowCount(), 2);
        EXPECT_EQ(fileRows("gridComp.grd").size(), 2u) << "saved only when the window closes";
    });
    EXPECT_EQ(prompts_.questions.back(), "Really clear out ALL completed tasks?");
    EXPECT_EQ(fileRows("gridComp.grd"), (Rows{"|||||"}));
    EXPECT_EQ(win().deleteAction()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Delete));
    EXPECT_EQ(win().clearAction()->shortcut(), QKeySequence(Qt::SHIFT | Qt::CTRL | Qt::Key_Delete));
}

TEST_F(CompletedWindowTest, ExportWritesTheTable) {
    inWindow([&](CompletedTasksWindow& w) {
        prompts_.setNextFileName(dir_.file("out.txt"));
        w.exportCsvAction()->trigger();
        prompts_.setNextFileName(dir_.file("out"));
        w.exportHtmlAction()->trigger();
    });
    EXPECT_EQ(dir_.read("out.txt"),
              "Comp Date,Time,Category,Orig Date,What,Comp Notes\r\n"
              "1/3/2000,2:05 PM,Work,Sat 1/1/2000,newest,n1\r\n"
              "1/2/2000,9:00 AM,Home,Non date task,\"older\r\nline 2\r\n\",\"\"\r\n");
    EXPECT_NE(dir_.read("out.htm").find("<td nowrap>older<br>\nline 2<br>\n</td>"),
              std::string::npos);
}

} // namespace
} // namespace dw::test
