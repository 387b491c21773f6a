#include "app/output/completed_tasks_window.h"
#include "app/shell/main_actions.h"
#include "app/task_window_fixture.h"
#include "core/output/completed_tasks.h"

#include <QAction>
#include <QPlainTextEdit>
#include <algorithm>

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
        ASSERT_TRUE(state_->completedTasks().load());
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

// Each record as "date|what|notes": a record's texts must never move to another one.
Rows records(const CellTable& t) {
    Rows out;
    for (int r = 1; r < t.rowCount(); ++r)
        out.push_back(t.cell(CompCol::CompDate, r) + "|" + t.cell(CompCol::What, r) + "|" +
                      t.cell(CompCol::CompNotes, r));
    return out;
}

TEST_F(CompletedWindowTest, ARecordViewedBeforeACompletionNeverOverwritesTheNewOne) {
    inWindow([&](CompletedTasksWindow& w) {
        w.grid()->selectTableRow(2);
        EXPECT_EQ(w.whatPane()->toPlainText(), "older\nline 2");
    });
    // Completed while the window is closed: the new record is inserted at row 1.
    CompletedTask done;
    done.completionDate = kToday + 3;
    done.time = 0.5;
    done.origin = "Tue 1/4/2000";
    done.what = "brand new";
    done.notes = "its notes";
    ASSERT_TRUE(state_->completedTasks().add(done, state_->fs()));
    const Rows before = records(table());
    inWindow([&](CompletedTasksWindow& w) {
        EXPECT_EQ(w.whatPane()->toPlainText(), "brand new");
        EXPECT_EQ(w.notesPane()->toPlainText(), "its notes");
        w.grid()->selectTableRow(3);
        EXPECT_EQ(w.whatPane()->toPlainText(), "older\nline 2");
    });
    EXPECT_EQ(records(table()), before);
    EXPECT_EQ(fileRows("gridComp.grd")[0], "1/4/2000|12:00 PM||Tue 1/4/2000|brand new|its notes");
}

TEST_F(CompletedWindowTest, SortingMovesWholeRecordsAndCompDateSortsAsDates) {
    CompletedTask old;
    old.completionDate = kToday - 7; // 12/25/1999: after the others as text, first as a date
    old.what = "last year";
    ASSERT_TRUE(state_->completedTasks().add(old, state_->fs()));
    Rows unchanged = records(table());
    std::sort(unchanged.begin(), unchanged.end());
    inWindow([&](CompletedTasksWindow& w) {
        w.grid()->selectTableRow(2); // "newest"
        w.grid()->headerClicked(CompCol::What);
        // The panes still show the record that is selected, wherever the sort put it.
        EXPECT_EQ(w.whatPane()->toPlainText(),
                  QString::fromStdString(table().cell(CompCol::What, w.grid()->selectedRow())));
        w.grid()->headerClicked(CompCol::CompDate);
        EXPECT_EQ(records(table()), (Rows{"12/25/1999|last year|", "1/2/2000|older\r\nline 2\r\n|",
                                          "1/3/2000|newest|n1"}));
        w.grid()->headerClicked(CompCol::CompDate);
        EXPECT_EQ(table().cell(CompCol::CompDate, 1), "1/3/2000");
        // An edit goes to the selected record only.
        w.grid()->selectTableRow(3);
        w.notesPane()->setPlainText("for last year");
    });
    Rows after = records(table());
    std::sort(after.begin(), after.end());
    for (std::string& r : unchanged)
        if (r.rfind("12/25/1999", 0) == 0)
            r += "for last year";
    EXPECT_EQ(after, unchanged);
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
