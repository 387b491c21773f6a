#include "app/editing/date_fields.h"
#include "app/editing/reschedule_dialog.h"
#include "app/editing/task_editor.h"
#include "app/modal_helpers.h"
#include "app/store/category_list_dialog.h"
#include "app/widgets/shadow_label.h"
#include "core/dates/date_serial.h"
#include "core/editing/task_edit.h"
#include "core/output/completed_tasks.h"
#include "core/store/text_codec.h"
#include "support/fake_prompts.h"
#include "support/temp_dir.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDateEdit>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimeEdit>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>

namespace dw {
namespace {

using test::FakePrompts;
using test::TempDir;
using test::whenModal;

class TaskEditorTest : public ::testing::Test {
protected:
    // Monday 3 January 2000, 9:30; the main window shows Wednesday the 5th.
    TaskEditorTest() : clock(encodeDateTime(2000, 1, 3, 9, 30)), completed(dir.path()) {}

    std::unique_ptr<TaskEditor> open(const TaskEditInput& in) {
        auto e = std::make_unique<TaskEditor>(fs, clock, dir.path(), completed, prompts,
                                              EditorLabelStyle{}, selected, in);
        e->show();
        return e;
    }

    static TaskEditInput newDayTask() {
        TaskEditInput in;
        in.title = "Wed 1/5/2000 2 days";
        in.origin = "Wed 1/5/2000";
        return in;
    }
    static TaskEditInput existingDayTask(const std::string& notes = "Call Bob") {
        TaskEditInput in = newDayTask();
        in.caption = existingTaskCaption(notes);
        in.existing = true;
        in.datedExisting = true;
        in.time = timeFraction(14, 15);
        in.category = "Work";
        in.notes = notes;
        return in;
    }
    static TaskEditInput todoTask(bool existing) {
        TaskEditInput in;
        in.title = existing ? "" : "To-do task";
        in.origin = existing ? "Non date task" : "To-do task";
        in.existing = existing;
        in.timeHidden = true;
        in.notes = existing ? "Buy paint" : "";
        return in;
    }

    // Types each character as a key press with its text, in any script.
    static void type(QWidget* w, const QString& text) {
        for (const QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(w, &press);
            QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(w, &release);
        }
    }

    TempDir dir;
    FakePrompts prompts;
    FormatSettings fs = FormatSettings::enUS();
    FixedClock clock;
    CompletedTasks completed;
    DateSerial selected = dateSerialOf(2000, 1, 5);
};

TEST_F(TaskEditorTest, NewTaskWaitsForTypingAndRefusesBlankNotes) {
    auto e = open(newDayTask());
    EXPECT_EQ(e->windowTitle(), "Edit Task");
    EXPECT_FALSE(e->okButton()->isEnabled());
    EXPECT_FALSE(e->markCompleteButton()->isEnabled());
    e->okButton()->click();
    EXPECT_TRUE(e->isVisible()) << "a disabled OK does nothing";

    type(e->notesEdit(), "x");
    QTest::keyClick(e->notesEdit(), Qt::Key_Backspace);
    EXPECT_TRUE(e->okButton()->isEnabled());
    EXPECT_TRUE(e->markCompleteButton()->isEnabled());
    e->okButton()->click();
    EXPECT_EQ(prompts.errors, std::vector<std::string>{"The Notes are blank!"});
    EXPECT_TRUE(e->isVisible());
    EXPECT_EQ(e->result(), QDialog::Rejected) << "still open";
}

TEST_F(TaskEditorTest, OnlyOneEmptyLineIsBlank) {
    struct Case {
        int enters;
        bool accepted;
        const char* notes;
    } cases[] = {{1, false, ""}, {2, true, "\r\n\r\n"}};
    for (const auto& c : cases) {
        prompts.errors.clear();
        auto e = open(newDayTask());
        for (int i = 0; i < c.enters; ++i)
            QTest::keyClick(e->notesEdit(), Qt::Key_Return);
        e->okButton()->click();
        EXPECT_EQ(e->result() == QDialog::Accepted, c.accepted) << c.enters;
        EXPECT_EQ(prompts.errors.empty(), c.accepted) << c.enters;
        if (c.accepted) {
            EXPECT_EQ(e->output().notes, c.notes);
        }
    }
}

TEST_F(TaskEditorTest, OkGivesTheValuesBack) {
    TaskEditInput in = existingDayTask("line one\r\nline two\r\n");
    in.alarm = true;
    auto e = open(in);
    EXPECT_EQ(e->windowTitle(), "Task: line one  line two   ...");
    EXPECT_EQ(e->titleCaption()->text(), "Wed 1/5/2000 2 days");
    EXPECT_EQ(e->notesEdit()->toPlainText(), "line one\nline two");
    EXPECT_EQ(e->timeEdit()->time(), QTime(14, 15));
    EXPECT_EQ(e->categoryCombo()->currentText(), "Work");
    EXPECT_TRUE(e->alarmCheck()->isChecked());

    QTest::keyClick(e->notesEdit(), Qt::Key_Return);
    type(e->notesEdit(), "three");
    e->timeEdit()->setTime(QTime(16, 0));
    e->okButton()->click();
    ASSERT_EQ(e->result(), QDialog::Accepted);
    const TaskEditResult r = e->output();
    EXPECT_EQ(r.notes, "line one\r\nline two\r\nthree\r\n");
    EXPECT_DOUBLE_EQ(r.time, timeFraction(16, 0));
    EXPECT_EQ(r.category, "Work");
    EXPECT_TRUE(r.alarm);
    EXPECT_FALSE(r.done);
    EXPECT_EQ(r.taskDate, selected);
}

TEST_F(TaskEditorTest, TitleCaptionAndStatusFollowTheCaller) {
    TaskEditInput in = todoTask(true);
    auto e = open(in);
    EXPECT_EQ(e->titleCaption()->text(), "To-do Tasks");
    EXPECT_EQ(e->markCompleteCaption()->text(), "Task is not yet completed");

    TaskEditInput past = newDayTask();
    past.title = "PAST Mon 1/3/2000 Yesterday";
    past.titleColor = QColor(255, 0, 0);
    auto p = open(past);
    EXPECT_EQ(p->titleCaption()->text(), "PAST Mon 1/3/2000 Yesterday");
    EXPECT_EQ(p->titleCaption()->textColor(), QColor(255, 0, 0));
    EXPECT_EQ(p->markCompleteCaption()->textColor(), EditorLabelStyle{}.color);
}

TEST_F(TaskEditorTest, ButtonsShownForEachKindOfTask) {
    TaskEditInput doneTask = existingDayTask();
    doneTask.done = true;
    doneTask.timeHidden = true;
    struct Case {
        const char* what;
        TaskEditInput in;
        bool reschedule, repeat, complete, time;
        const char* status;
    } cases[] = {
        {"new day task", newDayTask(), false, false, true, true, "Task is not yet completed"},
        {"existing day task", existingDayTask(), true, true, true, true,
         "Task is not yet completed"},
        {"to-do task", todoTask(true), false, false, true, false, "Task is not yet completed"},
        {"done task", doneTask, false, false, false, false, "Completed Task"},
    };
    for (const auto& c : cases) {
        auto e = open(c.in);
        EXPECT_EQ(e->rescheduleButton()->isVisible(), c.reschedule) << c.what;
        EXPECT_FALSE(e->repeatButton()->isVisible()) << c.what << ": no generator yet";
        EXPECT_FALSE(e->timePickerButton()->isVisible()) << c.what << ": no time popup yet";
        e->setRepeatHooks(
            {[](const TaskEditResult&, DateSerial) { return true; }, [](const TaskEditResult&) {}});
        e->setTimePicker([](double t) { return t; });
        EXPECT_EQ(e->repeatButton()->isVisible(), c.repeat) << c.what;
        EXPECT_EQ(e->markCompleteButton()->isVisible(), c.complete) << c.what;
        EXPECT_EQ(e->timeEdit()->isVisible(), c.time) << c.what;
        EXPECT_EQ(e->timePickerButton()->isVisible(), c.time) << c.what;
        EXPECT_EQ(e->alarmCheck()->isVisible(), c.time) << c.what;
        EXPECT_EQ(e->markCompleteCaption()->text(), c.status) << c.what;
        EXPECT_FALSE(e->doneCheck()->isVisible()) << c.what;
        EXPECT_TRUE(e->mainPage()->isVisible()) << c.what;
        EXPECT_FALSE(e->completionPage()->isVisible()) << c.what;
    }
}

TEST_F(TaskEditorTest, CompletionRecordsTheOriginAsGivenAndSaves) {
    struct Case {
        TaskEditInput in;
        const char* origin;
    } cases[] = {
        {existingDayTask("Plant roses"), "Wed 1/5/2000"},
        {todoTask(true), "Non date task"},
    };
    int records = 0;
    for (auto& c : cases) {
        c.in.completeNow = true;
        c.in.alarm = true;
        auto e = open(c.in);
        ASSERT_TRUE(e->completionPage()->isVisible()) << c.origin;
        EXPECT_FALSE(e->okButton()->isEnabled());
        EXPECT_TRUE(e->completionOkButton()->isEnabled());
        EXPECT_EQ(e->completionDateEdit()->date(), QDate(2000, 1, 3)) << "starts at today";
        e->originDateButton()->click();
        EXPECT_EQ(e->completionDateEdit()->date(), QDate(2000, 1, 5));
        e->completionNotesEdit()->setPlainText("done\tearly");
        e->completionOkButton()->click();
        ASSERT_EQ(e->result(), QDialog::Accepted);
        EXPECT_TRUE(e->output().done);
        EXPECT_FALSE(e->output().alarm);
        ++records;

        const CellTable& t = completed.table();
        EXPECT_EQ(t.rowCount(), 1 + records);
        EXPECT_EQ(t.cell(CompCol::CompDate, 1), "1/5/2000");
        EXPECT_EQ(t.cell(CompCol::OrigDate, 1), c.origin);
        EXPECT_EQ(t.cell(CompCol::What, 1), c.in.notes);
        EXPECT_EQ(t.cell(CompCol::CompNotes, 1), "done early");
    }
    EXPECT_EQ(completed.table().cell(CompCol::Time, 2), "2:15 PM");
    CompletedTasks fromFile(dir.path());
    ASSERT_TRUE(fromFile.load());
    EXPECT_EQ(fromFile.table().rowCount(), 3);
    EXPECT_EQ(fromFile.table().cell(CompCol::OrigDate, 1), "Non date task");
    EXPECT_TRUE(prompts.errors.empty());
}

TEST_F(TaskEditorTest, NewToDoTaskCompletedWhileBeingAdded) {
    auto e = open(todoTask(false));
    type(e->notesEdit(), "Fix fence");
    e->markCompleteButton()->click();
    ASSERT_TRUE(e->completionPage()->isVisible());
    e->todayButton()->click();
    e->completionOkButton()->click();
    ASSERT_EQ(e->result(), QDialog::Accepted);
    EXPECT_EQ(completed.table().cell(CompCol::OrigDate, 1), "To-do task");
    EXPECT_EQ(completed.table().cell(CompCol::CompDate, 1), "1/3/2000");
}

TEST_F(TaskEditorTest, CompletionCancelRecordsNothing) {
    auto e = open(existingDayTask());
    e->markCompleteButton()->click();
    ASSERT_TRUE(e->completionPage()->isVisible());
    // The main page's Reschedule and Mark as Complete do not apply on this page.
    EXPECT_FALSE(e->rescheduleButton()->isEnabled());
    EXPECT_FALSE(e->markCompleteButton()->isEnabled());
    // Only the page on show has its buttons on show: one OK and one Cancel.
    EXPECT_TRUE(e->completionOkButton()->isVisible());
    EXPECT_TRUE(e->completionCancelButton()->isVisible());
    EXPECT_FALSE(e->okButton()->isVisible());
    EXPECT_FALSE(e->cancelButton()->isVisible());
    type(e->completionNotesEdit(), "never mind");
    e->completionCancelButton()->click();
    EXPECT_TRUE(e->okButton()->isVisible());
    EXPECT_TRUE(e->cancelButton()->isVisible());
    EXPECT_TRUE(e->rescheduleButton()->isEnabled());
    EXPECT_TRUE(e->markCompleteButton()->isEnabled());
    EXPECT_TRUE(e->mainPage()->isVisible());
    EXPECT_FALSE(e->completionPage()->isVisible());
    EXPECT_TRUE(e->okButton()->isEnabled());
    EXPECT_FALSE(e->completionOkButton()->isEnabled());
    EXPECT_TRUE(e->isVisible());
    e->cancelButton()->click();
    EXPECT_EQ(e->result(), QDialog::Rejected);
    EXPECT_TRUE(completed.table().cell(0, 1).empty());
    EXPECT_FALSE(std::filesystem::exists(dir.file("gridComp.grd")));
}

TEST_F(TaskEditorTest, MarkAsCompleteWithBlankNotesStaysOnTheMainPanel) {
    TaskEditInput in = existingDayTask("");
    in.completeNow = true;
    auto e = open(in);
    EXPECT_EQ(prompts.errors, std::vector<std::string>{"The Notes are blank!"});
    EXPECT_TRUE(e->mainPage()->isVisible());
    EXPECT_FALSE(e->completionPage()->isVisible());
}

TEST_F(TaskEditorTest, RescheduleToTheSameDateStaysOpenToAnotherClosesAtOnce) {
    auto e = open(existingDayTask(""));
    whenModal<RescheduleDialog>([](RescheduleDialog* d) { d->okButton()->click(); });
    e->rescheduleButton()->click();
    EXPECT_TRUE(e->isVisible());
    EXPECT_EQ(e->taskDate(), selected);

    whenModal<RescheduleDialog>([&](RescheduleDialog* d) {
        EXPECT_EQ(d->date(), selected) << "starts at the selected date";
        d->setDate(selected + 7);
        d->cancelButton()->click();
    });
    e->rescheduleButton()->click();
    EXPECT_TRUE(e->isVisible());
    EXPECT_EQ(e->taskDate(), selected);

    whenModal<RescheduleDialog>([&](RescheduleDialog* d) {
        d->setDate(selected + 7);
        d->okButton()->click();
    });
    e->rescheduleButton()->click();
    EXPECT_EQ(e->result(), QDialog::Accepted) << "closes even with blank notes";
    EXPECT_EQ(e->output().taskDate, selected + 7);
    EXPECT_TRUE(prompts.errors.empty());
}

TEST_F(TaskEditorTest, CategoryFileGainsACategoryOnlyThroughOk) {
    auto setCategory = [](TaskEditor& e, const QString& text) {
        e.categoryCombo()->lineEdit()->clear();
        type(e.categoryCombo()->lineEdit(), text);
    };
    {
        auto e = open(existingDayTask());
        setCategory(*e, "Garden");
        e->markCompleteButton()->click();
        e->completionOkButton()->click();
        ASSERT_EQ(e->result(), QDialog::Accepted);
        EXPECT_EQ(completed.table().cell(CompCol::Category, 1), "Garden");
    }
    {
        auto e = open(existingDayTask());
        setCategory(*e, "Garden");
        whenModal<RescheduleDialog>([&](RescheduleDialog* d) {
            d->setDate(selected + 1);
            d->okButton()->click();
        });
        e->rescheduleButton()->click();
        ASSERT_EQ(e->result(), QDialog::Accepted);
    }
    EXPECT_FALSE(std::filesystem::exists(dir.file("category.xxx")));
    {
        auto e = open(existingDayTask());
        setCategory(*e, "Garden");
        e->okButton()->click();
        ASSERT_EQ(e->result(), QDialog::Accepted);
        EXPECT_EQ(e->output().category, "Garden");
    }
    EXPECT_EQ(dir.read("category.xxx"), "Garden\r\n");
    {
        auto e = open(existingDayTask());
        EXPECT_EQ(e->categoryCombo()->count(), 1);
        setCategory(*e, "garden");
        e->okButton()->click();
        ASSERT_EQ(e->result(), QDialog::Accepted);
    }
    EXPECT_EQ(dir.read("category.xxx"), "Garden\r\n") << "Garden is already a choice";
}

TEST_F(TaskEditorTest, CategoryFileThatCannotBeWrittenKeepsTheEditorOpen) {
    auto e = std::make_unique<TaskEditor>(fs, clock, dir.file("gone"), completed, prompts,
                                          EditorLabelStyle{}, selected, existingDayTask());
    e->show();
    e->categoryCombo()->setEditText("Garden");
    e->okButton()->click();
    ASSERT_EQ(prompts.errors.size(), 1u);
    EXPECT_NE(prompts.errors[0].find("category.xxx"), std::string::npos);
    EXPECT_TRUE(e->isVisible());
}

TEST_F(TaskEditorTest, CategoryDialogRewritesTheFileSortedEvenWhenCancelled) {
    dir.write("category.xxx", "work\r\nGarden\r\nhome\r\n");
    {
        auto e = open(existingDayTask());
        EXPECT_EQ(e->categoryCombo()->itemText(0), "Garden") << "choices shown sorted";
        whenModal<CategoryListDialog>([](CategoryListDialog* d) {
            EXPECT_EQ(d->windowTitle(), "Edit Category Choices");
            ASSERT_TRUE(d->currentEntry());
            EXPECT_EQ(*d->currentEntry(), "work") << "the box's text is selected";
            d->cancelButton()->click();
        });
        e->categoryListButton()->click();
        EXPECT_EQ(e->categoryCombo()->currentText(), "Work");
    }
    EXPECT_EQ(dir.read("category.xxx"), "Garden\r\nhome\r\nwork\r\n");
    {
        auto e = open(existingDayTask());
        prompts.setNextInput("Apple");
        whenModal<CategoryListDialog>([](CategoryListDialog* d) {
            d->addButton()->click();
            d->okButton()->click();
        });
        e->categoryListButton()->click();
        EXPECT_EQ(e->categoryCombo()->currentText(), "Apple") << "the entry just added";
        EXPECT_EQ(e->categoryChoices(),
                  (std::vector<std::string>{"Apple", "Garden", "home", "work"}));
    }
    EXPECT_EQ(dir.read("category.xxx"), "Apple\r\nGarden\r\nhome\r\nwork\r\n");
    {
        auto e = open(existingDayTask());
        prompts.setNextAnswer(FakePrompts::Yes);
        whenModal<CategoryListDialog>([](CategoryListDialog* d) {
            d->clearButton()->click();
            d->okButton()->click();
        });
        e->categoryListButton()->click();
        EXPECT_EQ(e->categoryCombo()->count(), 0);
        EXPECT_EQ(e->categoryCombo()->currentText(), "Work") << "text unchanged";
    }
    EXPECT_EQ(dir.read("category.xxx"), "");
}

TEST_F(TaskEditorTest, LimitsCountCharactersOfAnyScript) {
    auto e = open(existingDayTask(""));
    // Category: 20 characters, however many bytes they take.
    e->categoryCombo()->lineEdit()->clear();
    type(e->categoryCombo()->lineEdit(), "Gartenarbeit-Übersicht-für-Mai");
    EXPECT_EQ(e->categoryCombo()->currentText(), "Gartenarbeit-Übersic");
    e->categoryCombo()->lineEdit()->clear();
    type(e->categoryCombo()->lineEdit(), "日本語のカテゴリー名がとても長い場合のテストです");
    EXPECT_EQ(e->categoryCombo()->currentText(), "日本語のカテゴリー名がとても長い場合のテ");

    // Notes: 2048 characters, completion notes 255, whether typed or pasted.
    QString many;
    for (int i = 0; i < 3000; ++i)
        many += QString::fromUtf8("ж");
    QApplication::clipboard()->setText(many);
    e->notesEdit()->paste();
    EXPECT_EQ(e->notesEdit()->toPlainText().size(), 2048);
    type(e->notesEdit(), "more");
    EXPECT_EQ(e->notesEdit()->toPlainText().size(), 2048);
    e->markCompleteButton()->click();
    e->completionNotesEdit()->paste();
    EXPECT_EQ(e->completionNotesEdit()->toPlainText().size(), 255);
    e->completionCancelButton()->click();
    e->okButton()->click();
    ASSERT_EQ(e->result(), QDialog::Accepted);
    EXPECT_EQ(utf8Length(e->output().notes), 2048u);
}

TEST_F(TaskEditorTest, PastedTabsBackspacesAndLineEndsAreHandedOverSafely) {
    auto e = open(newDayTask());
    QApplication::clipboard()->setText("a\tb\bc\r\nsecond\rthird");
    e->notesEdit()->paste();
    EXPECT_TRUE(e->okButton()->isEnabled()) << "a paste counts as typing";
    EXPECT_EQ(e->notesEdit()->toPlainText(), "a\tb\bc\nsecond\nthird");
    e->categoryCombo()->setEditText("Home\tOffice");
    e->okButton()->click();
    ASSERT_EQ(e->result(), QDialog::Accepted);
    EXPECT_EQ(e->output().notes, "a bc\r\nsecond\r\nthird\r\n");
    EXPECT_EQ(e->output().category, "Home Office");
    EXPECT_EQ(dir.read("category.xxx"), "Home Office\r\n");
}

TEST_F(TaskEditorTest, RepeatMenuTestsTheNotesAndClosesAsItsWorkSays) {
    int annual = 0;
    DateSerial repeatStart = 0;
    bool generatorOk = false;
    RepeatHooks hooks{[&](const TaskEditResult& v, DateSerial start) {
                          repeatStart = start;
                          EXPECT_EQ(v.notes, "Call Bob");
                          return generatorOk;
                      },
                      [&](const TaskEditResult&) { ++annual; }};
    {
        auto e = open(existingDayTask(""));
        e->setRepeatHooks(hooks);
        e->repeatTask();
        e->repeatAnnuallyForTenYears();
        EXPECT_EQ(prompts.errors.size(), 2u);
        EXPECT_EQ(annual, 0);
        EXPECT_TRUE(e->isVisible());
    }
    {
        auto e = open(existingDayTask());
        e->setRepeatHooks(hooks);
        e->repeatTask();
        EXPECT_EQ(repeatStart, selected + 1);
        EXPECT_TRUE(e->isVisible()) << "generator cancelled";
        generatorOk = true;
        e->repeatTask();
        EXPECT_EQ(e->result(), QDialog::Rejected);
        EXPECT_FALSE(e->isVisible());
    }
    {
        auto e = open(existingDayTask());
        e->setRepeatHooks(hooks);
        e->repeatAnnuallyForTenYears();
        EXPECT_EQ(annual, 1);
        EXPECT_EQ(e->result(), QDialog::Accepted);
    }
}

TEST_F(TaskEditorTest, TheTimeFieldStoresWhatItShows) {
    const struct {
        const char* typed;
        QTime stored;
        const char* shown;
    } cases[] = {
        {"1145p", QTime(23, 45), "11:45 PM"},  {"11:45 p", QTime(23, 45), "11:45 PM"},
        {"930", QTime(9, 30), "9:30 AM"},      {"9:30p", QTime(21, 30), "9:30 PM"},
        {"9.30 pm", QTime(21, 30), "9:30 PM"}, {"21:30", QTime(21, 30), "9:30 PM"},
        {"9", QTime(9, 0), "9:00 AM"},         {"4:28  P", QTime(16, 28), "4:28 PM"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        auto e = open(existingDayTask());
        QApplication::setActiveWindow(e.get());
        e->timeEdit()->setFocus();
        e->timeEdit()->selectAll();
        QTest::keyClick(e->timeEdit(), Qt::Key_Delete);
        type(e->timeEdit(), c.typed);
        e->notesEdit()->setFocus(); // leaving the field shows the time as it will be stored
        EXPECT_EQ(e->timeEdit()->text().toStdString(), c.shown);
        e->okButton()->click();
        ASSERT_EQ(e->result(), QDialog::Accepted);
        EXPECT_DOUBLE_EQ(e->output().time, fractionOfQTime(c.stored));
    }

    // A text that is no time is not confirmed: OK says so and the editor stays open.
    auto e = open(existingDayTask());
    QApplication::setActiveWindow(e.get());
    e->timeEdit()->setFocus();
    e->timeEdit()->selectAll();
    QTest::keyClick(e->timeEdit(), Qt::Key_Delete);
    type(e->timeEdit(), "25:99");
    e->okButton()->click();
    EXPECT_NE(e->result(), QDialog::Accepted);
    EXPECT_TRUE(e->isVisible());
    ASSERT_EQ(prompts.errors.size(), 1u);
    EXPECT_EQ(prompts.errors[0],
              "\"25:99\" is not a time. Type a time such as 9:30, 9:30 PM, 21:30 or 930.");
    EXPECT_TRUE(e->timeEdit()->hasFocus());
    e->markCompleteButton()->click();
    EXPECT_EQ(prompts.errors.size(), 2u) << "nor is a completion recorded with it";
}

TEST_F(TaskEditorTest, TimePopupSetsTheTime) {
    auto e = open(existingDayTask());
    e->setTimePicker([](double) { return std::optional<double>(timeFraction(7, 45)); });
    e->timePickerButton()->click();
    EXPECT_EQ(e->timeEdit()->time(), QTime(7, 45));
    e->setTimePicker([](double) { return std::optional<double>(); });
    e->timePickerButton()->click();
    EXPECT_EQ(e->timeEdit()->time(), QTime(7, 45)) << "cancelled: unchanged";
}

} // namespace
} // namespace dw
