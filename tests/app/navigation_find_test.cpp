#include "app/calendar/calendar_pane.h"
#include "app/calendar/find_dialog.h"
#include "app/shell/main_actions.h"
#include "app/shell/pane_splitter.h"
#include "app/widgets/month_view.h"
#include "task_window_fixture.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolBar>

namespace dw {
namespace {

using test::kToday; // Saturday 1 January 2000

class NavigationTest : public test::TaskWindowTest {
protected:
    // Focus on a control of the shown window, as a click would give it.
    void focus(QWidget* w) {
        // A dialog that has just closed gives the window back after the events run.
        QTest::qWait(1);
        window().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
        w->setFocus();
        ASSERT_EQ(QApplication::focusWidget(), w);
    }
    int date() { return window().selectedDate(); }
    int dayRow() { return window().gridDay()->selectedRow(); }
    void press(QWidget* w, Qt::Key key, Qt::KeyboardModifiers m = Qt::NoModifier) {
        QTest::keyClick(w, key, m);
    }
};

TEST_F(NavigationTest, NavigateMenuFindAndTheirShortcuts) {
    MainWindow& w = shown();
    const struct {
        const char* name;
        const char* text;
        QKeySequence shortcut;
    } items[] = {
        {"nextTaskAction", "Next Highlighted Task", QKeySequence(Qt::CTRL | Qt::Key_N)},
        {"priorTaskAction", "Prior Highlighted Task", QKeySequence(Qt::CTRL | Qt::Key_P)},
        {"nextMonthAction", "Next Month", QKeySequence(Qt::Key_PageDown)},
        {"priorMonthAction", "Prior Month", QKeySequence(Qt::Key_PageUp)},
        {"nextYearAction", "Next Year", QKeySequence(Qt::CTRL | Qt::Key_PageDown)},
        {"priorYearAction", "Prior Year", QKeySequence(Qt::CTRL | Qt::Key_PageUp)},
        {"todayAction", "Today", QKeySequence(Qt::CTRL | Qt::Key_Home)},
    };
    const QMenu* navigate = w.findChild<QMenu*>("navigateMenu");
    ASSERT_NE(navigate, nullptr);
    for (const auto& item : items) {
        QAction* a = w.action(item.name);
        ASSERT_NE(a, nullptr) << item.name;
        EXPECT_EQ(a->text(), item.text);
        EXPECT_EQ(a->shortcut(), item.shortcut) << item.name;
        EXPECT_TRUE(navigate->actions().contains(a)) << item.name;
    }
    const MainActions& a = w.actions();
    EXPECT_EQ(a.find->text(), "Find");
    EXPECT_EQ(a.find->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F));
    EXPECT_TRUE(w.findChild<QMenu*>("fileMenu")->actions().contains(a.find));
    EXPECT_TRUE(w.mainToolBar()->actions().contains(a.today));
    EXPECT_TRUE(w.mainToolBar()->actions().contains(a.find));
    EXPECT_EQ(a.today->toolTip(), "Goto today");
    EXPECT_EQ(a.find->toolTip(), "Find text in date oriented task");
}

TEST_F(NavigationTest, MonthAndYearStepsKeepTheDayClampedAndTheMonthsInLine) {
    writeStore({{"36526.100", "9:00 AM", "", "Standup", "No", "No"}});
    MainWindow& w = shown();
    CalendarPane* p = w.calendarPane();
    p->onCalendarClicked(0);
    p->setSelectedDate(dateSerialOf(2000, 1, 31));
    focus(w.gridDay());
    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers mods;
        int expected;
    } steps[] = {
        {Qt::Key_PageDown, Qt::NoModifier, dateSerialOf(2000, 2, 29)},
        {Qt::Key_PageDown, Qt::ControlModifier, dateSerialOf(2001, 2, 28)},
        {Qt::Key_PageUp, Qt::ControlModifier, dateSerialOf(2000, 2, 28)},
        {Qt::Key_PageUp, Qt::NoModifier, dateSerialOf(2000, 1, 28)},
    };
    for (const auto& s : steps) {
        press(w.gridDay(), s.key, s.mods);
        EXPECT_EQ(date(), s.expected);
        EXPECT_EQ(p->activeIndex(), 0);
        const CivilDate shown = decodeDate(s.expected);
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ((p->calendar(i)->year() * 12 + p->calendar(i)->month() - 1),
                      shown.year * 12 + shown.month - 1 + i)
                << "cal" << i + 1;
    }
    // The shortcuts act in the notes pane too, which would keep these keys for itself.
    p->setSelectedDate(kToday);
    w.gridDay()->selectTableRow(1);
    ASSERT_TRUE(w.notesPane()->isVisible());
    focus(w.notesPane());
    press(w.notesPane(), Qt::Key_PageDown);
    EXPECT_EQ(date(), dateSerialOf(2000, 2, 1));
    p->setSelectedDate(kToday);
    w.gridDay()->selectTableRow(1);
    focus(w.notesPane());
    press(w.notesPane(), Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(date(), kToday);
    EXPECT_EQ(p->activeIndex(), 1) << "Today lands in cal2";
    // The toolbar's Today too.
    p->onCalendarClicked(3);
    p->setSelectedDate(dateSerialOf(2003, 7, 4));
    w.actions().today->trigger();
    EXPECT_EQ(p->activeIndex(), 1);
    EXPECT_EQ(date(), kToday);
    EXPECT_EQ(p->calendar(0)->month(), 12);
}

TEST_F(NavigationTest, NextAndPriorHighlightedTask) {
    writeStore({{"36528.100", "9:00 AM", "Work", "not done", "No", "No"},    // 3 January
                {"36532.100", "9:00 AM", "Work", "done", "Yes", "No"},       // 7 January
                {"36534.100", "9:00 AM", "Private", "hidden", "No", "No"}}); // 9 January
    MainWindow& w = shown();
    state_->filter().setCategories({"Work", "Private"});
    state_->filter().checkListed({"Work"});
    focus(w.gridDay());
    const int jan3 = kToday + 2, jan7 = kToday + 6;
    press(w.gridDay(), Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(date(), jan3);
    press(w.gridDay(), Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(date(), jan7);
    press(w.gridDay(), Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(date(), jan7) << "the date with only a hidden task is not marked";
    press(w.gridDay(), Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(date(), jan3);
    // Done dates uncoloured: the done task's date is passed over.
    state_->options().colorDone = false;
    press(w.gridDay(), Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(date(), jan3);
    // Both colourings off: nothing moves.
    state_->options().colorNotDone = false;
    press(w.gridDay(), Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(date(), jan3);
    EXPECT_TRUE(prompts_.errors.empty());
}

TEST_F(NavigationTest, ArrowKeysInEachPane) {
    writeStore({{"36526.100", "9:00 AM", "", "First", "No", "No"},
                {"36526.101", "10:00 AM", "", "Second", "No", "No"},
                {"36526.102", "11:00 AM", "", "Third", "No", "No"},
                {"36533.100", "9:00 AM", "", "Only one", "No", "No"}});
    MainWindow& w = shown();
    CellGrid* day = w.gridDay();
    focus(day);
    day->selectTableRow(2);
    press(day, Qt::Key_Up);
    EXPECT_EQ(date(), kToday) << "on the second task Up only moves the selection";
    EXPECT_EQ(dayRow(), 1);
    press(day, Qt::Key_Up);
    EXPECT_EQ(date(), kToday - 7) << "the same weekday a week earlier";
    press(day, Qt::Key_Down);
    EXPECT_EQ(date(), kToday) << "an empty day view steps at once";
    focus(day);
    day->selectTableRow(2);
    press(day, Qt::Key_Down);
    EXPECT_EQ(dayRow(), 3);
    EXPECT_EQ(date(), kToday);
    press(day, Qt::Key_Down);
    EXPECT_EQ(date(), kToday + 7);
    press(day, Qt::Key_Up);
    EXPECT_EQ(date(), kToday) << "one task: Up steps at once";

    press(day, Qt::Key_Right);
    EXPECT_EQ(date(), kToday + 1);
    press(day, Qt::Key_Left);
    EXPECT_EQ(date(), kToday);

    focus(w.gridNonday());
    press(w.gridNonday(), Qt::Key_Left);
    EXPECT_EQ(date(), kToday - 1) << "the to-do list moves the date by a day too";
    press(w.gridNonday(), Qt::Key_Right);
    press(w.gridNonday(), Qt::Key_Up);
    press(w.gridNonday(), Qt::Key_Down);
    EXPECT_EQ(date(), kToday) << "Up and Down stay with the to-do list";

    // The notes pane keeps its arrows for the caret.
    focus(day);
    day->selectTableRow(1);
    QPlainTextEdit* notes = w.notesPane();
    ASSERT_TRUE(notes->isVisible());
    focus(notes);
    QTextCursor c = notes->textCursor();
    c.setPosition(0);
    notes->setTextCursor(c);
    press(notes, Qt::Key_Right);
    EXPECT_EQ(notes->textCursor().position(), 1);
    press(notes, Qt::Key_Left);
    EXPECT_EQ(notes->textCursor().position(), 0);
    EXPECT_EQ(date(), kToday);

    // Every key released shows today in the status bar.
    w.statusLabel()->clear();
    press(notes, Qt::Key_Right);
    EXPECT_EQ(w.statusLabel()->text(), "Today is Saturday, January 1, 2000");
}

TEST_F(NavigationTest, InsertAndDeleteKeyReleasesAddAndDelete) {
    writeTodo({{"Home", "Water the plants", "No"}});
    MainWindow& w = shown();
    focus(w.gridDay());
    press(w.gridDay(), Qt::Key_Insert);
    EXPECT_EQ(editorsOpened_, 1);
    focus(w.gridNonday());
    press(w.gridNonday(), Qt::Key_Insert);
    EXPECT_EQ(editorsOpened_, 2);

    focus(w.gridNonday());
    w.gridNonday()->selectTableRow(1);
    prompts_.setNextAnswer(test::FakePrompts::Yes);
    press(w.gridNonday(), Qt::Key_Delete);
    EXPECT_EQ(prompts_.questions.size(), 1u);
    for (const std::string& row : todoRows())
        EXPECT_EQ(row.find("Water"), std::string::npos) << row;
    // Elsewhere the keys add and delete nothing.
    focus(w.calendarPane()->calendar(1));
    press(w.calendarPane()->calendar(1), Qt::Key_Insert);
    press(w.calendarPane()->calendar(1), Qt::Key_Delete);
    EXPECT_EQ(editorsOpened_, 2);
    EXPECT_EQ(prompts_.questions.size(), 1u);
}

class FindTest : public NavigationTest {
protected:
    void SetUp() override {
        writeStore({
            {"36526.100", "9:00 AM", "Work", "Call the dentist", "No", "No"},
            {"36526.101", "10:00 AM", "Work", "Dentist visit", "No", "No"},
            {"36530.100", "12:00 PM", "Home", "lunch", "No", "No"},
            {"36535.100", "8:00 AM", "Private", "dentist again", "No", "No"}, // hidden
            {"36545.100", "9:00 AM", "Home", "Pay the dentist bill", "Yes", "No"},
        });
        shown();
        state_->filter().setCategories({"Work", "Home", "Private"});
        state_->filter().checkListed({"Work", "Home"});
        window().actions().find->trigger();
        dialog = composition().findDialog();
        ASSERT_NE(dialog, nullptr);
        dialog->findTextEdit()->setText("dentist");
    }

    // One Find Next: the date and the day view's selected row it leaves, or the message.
    std::string next(bool up = false) {
        (up ? dialog->upButton() : dialog->downButton())->setChecked(true);
        const std::size_t errors = prompts_.errors.size();
        dialog->findNextButton()->click();
        if (prompts_.errors.size() > errors)
            return prompts_.errors.back();
        return std::to_string(date() - kToday + 1) + " Jan row " + std::to_string(dayRow());
    }

    const std::string failedDown =
        "Could not find \"dentist\" in any calendar task. Search reset to first task date";
    const std::string failedUp =
        "Could not find \"dentist\" in any calendar task. Search reset to last task date";
    FindDialog* dialog = nullptr;
};

TEST_F(FindTest, DownwardTwoHitsOnADateTheLastRowAndTheWrap) {
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(dialog->isModal());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(next(), "1 Jan row 1");
    EXPECT_EQ(window().focusWidget(), window().gridDay());
    EXPECT_EQ(next(), "1 Jan row 2");
    EXPECT_EQ(next(), "20 Jan row 1") << "the hidden task of 10 January is never found";
    EXPECT_EQ(next(), failedDown);
    EXPECT_EQ(date(), kToday + 19);
    EXPECT_EQ(next(), "1 Jan row 1");
}

TEST_F(FindTest, DirectionSwitchesContinueFromTheLastStep) {
    EXPECT_EQ(next(), "1 Jan row 1");
    EXPECT_EQ(next(), "1 Jan row 2");
    // Up tests the row after the hit, then finds the same task again.
    EXPECT_EQ(next(true), "1 Jan row 2");
    EXPECT_EQ(next(true), "1 Jan row 1");
    EXPECT_EQ(next(true), failedUp);
    EXPECT_EQ(next(true), "20 Jan row 1");
    // The upward failure still holds: down starts over from the first task.
    EXPECT_EQ(next(), "1 Jan row 1");
}

TEST_F(FindTest, AFreshUpwardSearchStartsAtTheLastTask) {
    EXPECT_EQ(next(true), "20 Jan row 1");
    EXPECT_EQ(next(true), "1 Jan row 2");
    // Opening Find again starts a fresh search.
    window().actions().find->trigger();
    EXPECT_EQ(next(true), "20 Jan row 1");
    // Whole word and match case are read at each step.
    dialog->matchCaseCheck()->setChecked(true);
    dialog->findTextEdit()->setText("Dentist");
    EXPECT_EQ(next(true), "1 Jan row 2");
    dialog->wholeWordCheck()->setChecked(true);
    dialog->matchCaseCheck()->setChecked(false);
    dialog->findTextEdit()->setText("dent");
    EXPECT_EQ(next(true),
              "Could not find \"dent\" in any calendar task. Search reset to last task date");
}

TEST_F(FindTest, WholeWordsArePiecesAndCaseFoldsBeyondAscii) {
    // "Call the dentist" on 1 January, as the window's Find dialog meets it.
    dialog->wholeWordCheck()->setChecked(true);
    for (const char* holdsDelimiter : {"the dentist", "dentist,", "Call the dentist"}) {
        dialog->findTextEdit()->setText(holdsDelimiter);
        EXPECT_NE(next().find("Could not find"), std::string::npos) << holdsDelimiter;
    }
    dialog->findTextEdit()->setText("DENTIST");
    EXPECT_EQ(next(), "1 Jan row 1");

    window().close();
    writeStore({{"36526.100", "9:00 AM", "Work", "Rentrée à l'école", "No", "No"},
                {"36527.100", "9:00 AM", "Work", "Straße kehren", "No", "No"}});
    shown();
    window().actions().find->trigger();
    dialog = composition().findDialog();
    ASSERT_NE(dialog, nullptr);
    dialog->wholeWordCheck()->setChecked(true);
    dialog->findTextEdit()->setText("ÉCOLE");
    EXPECT_EQ(next(), "1 Jan row 1");
    dialog->wholeWordCheck()->setChecked(false);
    dialog->findTextEdit()->setText("strasse");
    EXPECT_EQ(next(), "2 Jan row 1");
}

TEST_F(FindTest, TheDialogSitsAtTheSplittersCornerAndForgetsTheHitWhenClosed) {
    MainWindow& w = window();
    EXPECT_EQ(dialog->pos(),
              w.split2()->mapToGlobal(QPoint(w.split1()->position(), w.split2()->position())));
    EXPECT_TRUE(dialog->findNextButton()->isEnabled());
    EXPECT_EQ(next(), "1 Jan row 1");
    EXPECT_EQ(w.calendarPane()->foundRow, 1);
    // While the hit is remembered, a date change selects the same task there.
    w.calendarPane()->setSelectedDate(kToday + 1);
    w.calendarPane()->setSelectedDate(kToday);
    EXPECT_EQ(dayRow(), 1);
    dialog->close();
    EXPECT_EQ(w.calendarPane()->foundRow, -1);
    dialog->findTextEdit()->clear();
    EXPECT_FALSE(dialog->findNextButton()->isEnabled());
}

} // namespace
} // namespace dw
