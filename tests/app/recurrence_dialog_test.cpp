#include "app/editing/date_fields.h"
#include "app/editing/day_of_month_grid.h"
#include "app/editing/recurrence_dialog.h"
#include "core/dates/date_serial.h"
#include "core/store/task_store.h"
#include "support/fake_prompts.h"
#include "support/table_rows.h"
#include "support/temp_dir.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTest>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>

namespace dw {
namespace {

using test::FakePrompts;
using test::Rows;
using test::TempDir;

constexpr const char* kNoDates =
    "No dates were generated.  Check your starting/ending dates and selections.";

int d(int y, int m, int day) {
    return dateSerialOf(y, m, day);
}

// Today is Wednesday 15 March 2000; the task is "Water the plants" at 2:30 PM.
class RecurrenceDialogTest : public ::testing::Test {
protected:
    RecurrenceDialogTest() {
        fs.longTimeFormat = "h:mm tt"; // as start-up leaves it
        store.setDataDir(dir.path());
    }

    std::unique_ptr<RecurrenceDialog> open(int start = d(2000, 3, 16)) {
        auto dialog = std::make_unique<RecurrenceDialog>(fs, clock, store, prompts);
        dialog->init(timeFraction(14, 30), "Garden", "Water the plants", true);
        dialog->setStartDate(start);
        dialog->show();
        return dialog;
    }

    std::vector<std::string> lines(const RecurrenceDialog& dialog) {
        std::vector<std::string> out;
        for (int i = 0; i < dialog.previewList->count(); ++i)
            out.push_back(dialog.previewList->item(i)->text().toStdString());
        return out;
    }

    static void dailyEveryDay(RecurrenceDialog& dialog) {
        dialog.dailyRadio->click();
        dialog.dailyEvery->setValue(1);
    }

    TempDir dir;
    FakePrompts prompts;
    FormatSettings fs = FormatSettings::enUS();
    FixedClock clock{encodeDateTime(2000, 3, 15, 10, 0)};
    TaskStore store{fs, clock};
};

TEST_F(RecurrenceDialogTest, OpensOnTheStartDateWithWeekOfMonthAndNothingListed) {
    auto dialog = open();
    EXPECT_EQ(dialog->windowTitle(), "Repeating event for Water the plants...");
    EXPECT_EQ(dialog->startDate(), d(2000, 3, 16));
    EXPECT_EQ(dialog->endDate(), d(2000, 4, 15));
    EXPECT_EQ(dialog->dayCountLabel->text(), "30");
    EXPECT_TRUE(dialog->weekOfMonthRadio->isChecked());
    EXPECT_EQ(dialog->modePanels->currentIndex(), 0);
    EXPECT_EQ(dialog->countLabel->text(), "Number of dates: ");
    EXPECT_FALSE(dialog->okButton->isEnabled());
    EXPECT_FALSE(dialog->deleteButton->isEnabled());
    EXPECT_TRUE(dialog->previewButton->isDefault());
    EXPECT_EQ(dialog->okButton->toolTip(), "Add multiple reminders");
    for (QCheckBox* c : dialog->ordinalChecks)
        EXPECT_FALSE(c->isChecked());

    struct Every {
        QSpinBox* spin;
        int max;
    } every[] = {{dialog->weekOfMonthEvery, 12},
                 {dialog->daysOfMonthEvery, 12},
                 {dialog->weeklyEvery, 52},
                 {dialog->dailyEvery, 364}};
    for (const auto& e : every) {
        EXPECT_EQ(e.spin->value(), 1);
        EXPECT_EQ(e.spin->minimum(), 1);
        EXPECT_EQ(e.spin->maximum(), e.max);
    }

    // Each mode shows its own panel; the day count follows the end date, also below zero.
    dialog->annualRadio->click();
    EXPECT_EQ(dialog->modePanels->currentIndex(), 4);
    dialog->daysOfMonthRadio->click();
    EXPECT_EQ(dialog->modePanels->currentIndex(), 1);
    dialog->endDateEdit->setDate(toQDate(d(2000, 3, 13)));
    EXPECT_EQ(dialog->dayCountLabel->text(), "-3");
}

TEST_F(RecurrenceDialogTest, ANumberAboveTheLimitBecomesTheLimitNeverAnotherNumber) {
    auto dialog = open();
    struct Case {
        QSpinBox* spin;
        const char* typed;
        int value;
    } cases[] = {
        {dialog->weekOfMonthEvery, "13", 12}, {dialog->daysOfMonthEvery, "99", 12},
        {dialog->weeklyEvery, "53", 52},      {dialog->dailyEvery, "400", 364},
        {dialog->dailyEvery, "365", 364},     {dialog->dailyEvery, "12", 12},
        {dialog->weeklyEvery, "0", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.typed) + " of " + c.spin->objectName().toStdString());
        c.spin->setFocus();
        c.spin->selectAll();
        QTest::keyClicks(c.spin, c.typed);
        c.spin->interpretText(); // as Preview and leaving the field do
        EXPECT_EQ(c.spin->value(), c.value);
    }
}

TEST_F(RecurrenceDialogTest, PreviewListsTheDatesThenDeleteAndResetTrimThem) {
    auto dialog = open();
    dailyEveryDay(*dialog);
    dialog->endDateEdit->setDate(toQDate(d(2000, 3, 20)));
    dialog->previewButton->click();
    EXPECT_EQ(lines(*dialog),
              (std::vector<std::string>{"3/16/2000\tThu\tTomorrow", "3/17/2000\tFri\t2 days",
                                        "3/18/2000\tSat\t3 days", "3/19/2000\tSun\t4 days",
                                        "3/20/2000\tMon\t5 days"}));
    EXPECT_EQ(dialog->countLabel->text(), "Number of dates: 5");
    EXPECT_TRUE(dialog->okButton->isEnabled());
    EXPECT_FALSE(dialog->deleteButton->isEnabled()) << "nothing selected yet";
    EXPECT_TRUE(prompts.errors.empty());

    // Select the weekend, delete it with the button.
    dialog->previewList->item(2)->setSelected(true);
    dialog->previewList->item(3)->setSelected(true);
    EXPECT_TRUE(dialog->deleteButton->isEnabled());
    dialog->deleteButton->click();
    EXPECT_EQ(dialog->listedDates(),
              (std::vector<int>{d(2000, 3, 16), d(2000, 3, 17), d(2000, 3, 20)}));
    EXPECT_EQ(dialog->countLabel->text(), "Number of dates: 3");
    EXPECT_FALSE(dialog->deleteButton->isEnabled());

    // The Delete key in the list does the same.
    dialog->previewList->item(0)->setSelected(true);
    QTest::keyClick(dialog->previewList, Qt::Key_Delete);
    EXPECT_EQ(dialog->listedDates(), (std::vector<int>{d(2000, 3, 17), d(2000, 3, 20)}));
    EXPECT_EQ(dialog->countLabel->text(), "Number of dates: 2");
    EXPECT_TRUE(dialog->okButton->isEnabled());

    // Reset empties the list and the count, and keeps the choices.
    dialog->resetButton->click();
    EXPECT_EQ(dialog->previewList->count(), 0);
    EXPECT_EQ(dialog->countLabel->text(), "");
    EXPECT_FALSE(dialog->okButton->isEnabled());
    EXPECT_FALSE(dialog->deleteButton->isEnabled());
    EXPECT_TRUE(dialog->dailyRadio->isChecked());
    EXPECT_EQ(dialog->endDate(), d(2000, 3, 20));
}

TEST_F(RecurrenceDialogTest, PreviewErrorsKeepOrEmptyTheListAsTheirCaseSays) {
    auto dialog = open();
    dailyEveryDay(*dialog);
    dialog->previewButton->click();
    ASSERT_EQ(dialog->previewList->count(), 31);

    // Too long a range: nothing changes.
    dialog->endDateEdit->setDate(toQDate(d(2000, 3, 16) + 7401));
    dialog->previewButton->click();
    EXPECT_EQ(prompts.errors, std::vector<std::string>{"Date range exceeds 20 years!"});
    EXPECT_EQ(dialog->previewList->count(), 31);
    EXPECT_EQ(dialog->countLabel->text(), "Number of dates: 31");

    // Exactly 7400 days is the largest preview, without a capacity warning.
    prompts.errors.clear();
    dialog->endDateEdit->setDate(toQDate(d(2000, 3, 16) + 7400));
    dialog->previewButton->click();
    EXPECT_TRUE(prompts.errors.empty());
    EXPECT_EQ(dialog->previewList->count(), 7401);

    // Nothing generated: the list is emptied and OK goes off.
    dialog->weeklyRadio->click();
    dialog->previewButton->click();
    EXPECT_EQ(prompts.errors, std::vector<std::string>{kNoDates});
    EXPECT_EQ(dialog->previewList->count(), 0);
    EXPECT_EQ(dialog->countLabel->text(), "Number of dates: 0");
    EXPECT_FALSE(dialog->okButton->isEnabled());
}

TEST_F(RecurrenceDialogTest, EachModeReadsItsOwnControls) {
    auto dialog = open(d(2000, 3, 1));
    dialog->endDateEdit->setDate(toQDate(d(2000, 3, 31)));
    struct Case {
        const char* what;
        std::function<void(RecurrenceDialog&)> choose;
        std::vector<int> dates;
    } cases[] = {
        {"1st and 3rd Monday and Friday, by ordinal then weekday",
         [](RecurrenceDialog& r) {
             r.weekOfMonthRadio->click();
             r.ordinalChecks[0]->click();
             r.ordinalChecks[2]->click();
             r.weekOfMonthDayChecks[1]->click();
             r.weekOfMonthDayChecks[5]->click();
         },
         {d(2000, 3, 6), d(2000, 3, 3), d(2000, 3, 20), d(2000, 3, 17)}},
        {"days 31 and 1 of the month, in day order",
         [](RecurrenceDialog& r) {
             r.daysOfMonthRadio->click();
             r.dayGrid->setFlagged(31, true);
             r.dayGrid->setFlagged(1, true);
         },
         {d(2000, 3, 1), d(2000, 3, 31)}},
        {"weekly on Sundays every 2 weeks",
         [](RecurrenceDialog& r) {
             r.weeklyRadio->click();
             r.weeklyEvery->setValue(2);
             r.weeklyDayChecks[0]->click();
         },
         {d(2000, 3, 12), d(2000, 3, 26)}},
        {"daily every 10 days, Saturdays avoided",
         [](RecurrenceDialog& r) {
             r.dailyRadio->click();
             r.dailyEvery->setValue(10);
             r.dailyAvoidSaturday->click();
         },
         {d(2000, 3, 1), d(2000, 3, 21), d(2000, 3, 31)}},
        {"annually", [](RecurrenceDialog& r) { r.annualRadio->click(); }, {d(2000, 3, 1)}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        c.choose(*dialog);
        dialog->previewButton->click();
        EXPECT_EQ(dialog->listedDates(), c.dates);
    }
}

TEST_F(RecurrenceDialogTest, FourthAndLastExcludeEachOtherTheFirstCheckedStays) {
    auto dialog = open();
    QCheckBox* fourth = dialog->ordinalChecks[3];
    QCheckBox* last = dialog->ordinalChecks[4];
    last->click();
    fourth->click();
    EXPECT_TRUE(last->isChecked());
    EXPECT_FALSE(fourth->isChecked());
    last->click();
    fourth->click();
    last->click();
    EXPECT_TRUE(fourth->isChecked());
    EXPECT_FALSE(last->isChecked());
}

TEST_F(RecurrenceDialogTest, DayGridTogglesByClickAndByArrowKeysAndDrawsFlaggedDaysInverse) {
    auto dialog = open();
    dialog->daysOfMonthRadio->click();
    DayOfMonthGrid* grid = dialog->dayGrid;
    EXPECT_EQ(DayOfMonthGrid::dayOfCell(0, 0), 1);
    EXPECT_EQ(DayOfMonthGrid::dayOfCell(4, 2), 31);
    EXPECT_EQ(DayOfMonthGrid::dayOfCell(4, 3), 0) << "the last four cells are blank";

    const auto click = [&](int row, int column) {
        QTest::mouseClick(grid, Qt::LeftButton, {}, grid->cellRect(row, column).center());
    };
    click(2, 0); // day 15
    EXPECT_TRUE(grid->isFlagged(15));
    click(2, 0); // the current cell again: toggled back
    EXPECT_FALSE(grid->isFlagged(15));
    click(2, 0);
    click(4, 5); // blank
    EXPECT_EQ(grid->currentDay(), 15);

    // Moving onto a day with the keyboard toggles it; a blank cell refuses the move.
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Right);
    EXPECT_EQ(grid->currentDay(), 16);
    EXPECT_TRUE(grid->isFlagged(16));
    QTest::keyClick(grid, Qt::Key_Down);
    QTest::keyClick(grid, Qt::Key_Down);
    EXPECT_EQ(grid->currentDay(), 30);
    QTest::keyClick(grid, Qt::Key_Right);
    QTest::keyClick(grid, Qt::Key_Right);
    EXPECT_EQ(grid->currentDay(), 31);
    EXPECT_EQ(grid->flags()[29], true);
    QTest::keyClick(grid, Qt::Key_Right);
    EXPECT_EQ(grid->currentDay(), 31) << "day 32 is no day";
    QTest::keyClick(grid, Qt::Key_Left);
    EXPECT_FALSE(grid->isFlagged(30)) << "moving back onto 30 toggled it off";

    const QImage image = grid->grab().toImage();
    const QRect flagged = grid->cellRect(2, 0); // 15
    const QRect clear = grid->cellRect(0, 1);   // 2
    EXPECT_EQ(image.pixelColor(flagged.right() - 3, flagged.bottom() - 3), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(clear.right() - 3, clear.bottom() - 3), QColor(Qt::white));
}

TEST_F(RecurrenceDialogTest, OkAsksAndOnlyYesAddsTheListedDates) {
    ASSERT_TRUE(
        store.insertTask(d(2000, 3, 17), DatedTask{"9:00 AM", "", "Existing", false, false}));
    auto dialog = open();
    dailyEveryDay(*dialog);
    dialog->endDateEdit->setDate(toQDate(d(2000, 3, 18)));
    dialog->previewButton->click();

    prompts.setNextAnswer(FakePrompts::No);
    dialog->okButton->click();
    EXPECT_EQ(prompts.questions, std::vector<std::string>{"Really add 3 events to the calendar?"});
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(store.gridStore().rowCount(), 2) << "nothing added";

    prompts.setNextAnswer(FakePrompts::Yes);
    dialog->okButton->click();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    const std::string k16 = std::to_string(d(2000, 3, 16)), k17 = std::to_string(d(2000, 3, 17)),
                      k18 = std::to_string(d(2000, 3, 18));
    // The long time, done "No", the template's alarm; each after the day's earlier task,
    // sorted and saved.
    const Rows expected{k16 + ".101|2:30 PM|Garden|Water the plants|No|Yes",
                        k17 + ".101|9:00 AM||Existing|No|No",
                        k17 + ".102|2:30 PM|Garden|Water the plants|No|Yes",
                        k18 + ".101|2:30 PM|Garden|Water the plants|No|Yes"};
    EXPECT_EQ(test::rowsOf(store.gridStore()), expected);
    EXPECT_EQ(test::fileRows(dir.file("grid.grd")), expected);
}

TEST_F(RecurrenceDialogTest, OkAddsEachLinesOwnDateWhateverTheShortDateReadsBackAs) {
    // A short date with a month name and two-digit years: "16-Mar-00" shows as "16-Mar-2000",
    // which the short date reader cannot take back.
    fs.shortDateFormat = "d-MMM-yy";
    auto dialog = open();
    dailyEveryDay(*dialog);
    dialog->endDateEdit->setDate(toQDate(d(2000, 3, 17)));
    dialog->previewButton->click();
    ASSERT_EQ(lines(*dialog).front(), "16-Mar-2000\tThu\tTomorrow");
    prompts.setNextAnswer(FakePrompts::Yes);
    dialog->okButton->click();
    ASSERT_EQ(store.gridStore().rowCount(), 3);
    EXPECT_EQ(store.gridStore().cell(StoreCol::Key, 1), std::to_string(d(2000, 3, 16)) + ".101");
    EXPECT_EQ(store.gridStore().cell(StoreCol::Key, 2), std::to_string(d(2000, 3, 17)) + ".101");
}

TEST_F(RecurrenceDialogTest, CancelAddsNothing) {
    auto dialog = open();
    dailyEveryDay(*dialog);
    dialog->previewButton->click();
    const Rows before = test::rowsOf(store.gridStore());
    dialog->cancelButton->click();
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_TRUE(prompts.questions.empty());
    EXPECT_EQ(test::rowsOf(store.gridStore()), before);
    EXPECT_FALSE(std::filesystem::exists(dir.file("grid.grd")));
}

} // namespace
} // namespace dw
