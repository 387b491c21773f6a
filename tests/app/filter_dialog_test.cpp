#include "app/calendar/calendar_pane.h"
#include "app/calendar/filter_dialog.h"
#include "app/settings/alarm_notifier.h"
#include "app/settings/options_dialog.h"
#include "app/shell/main_actions.h"
#include "app/widgets/shadow_label.h"
#include "core/store/category_list.h"
#include "modal_helpers.h"
#include "task_window_fixture.h"

#include <QAction>
#include <QCheckBox>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <filesystem>

namespace dw {
namespace {

using test::kToday;

// Two categories in category.xxx and a day with a task of each, at 9:00 (alarm on) and a
// done one.
class FilterWindowTest : public test::TaskWindowTest {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(writeListFile(dir_.file("category.xxx"), {"Work", "Home"}, error));
        writeStore({{"36526.100", "9:00 AM", "work", "Report", "No", "Yes"},
                    {"36526.101", "10:00 AM", "Home", "Plumber", "Yes", "No"},
                    {"36527.100", "9:00 AM", "Home", "Laundry", "No", "No"}});
        state_->loadFilter();
    }

    // Opens the filter window from the main window, lets `act` work on it, and waits until
    // the window has closed.
    void withFilterWindow(std::function<void(FilterDialog*)> act) {
        test::whenModal<FilterDialog>(std::move(act));
        window().actions().filters->trigger();
    }

    static QListWidgetItem* item(FilterDialog* d, int row) { return d->categoryList()->item(row); }

    int highlight(int date) { return state_->store().dateHighlight(date, true, true); }
};

TEST_F(FilterWindowTest, TheWindowShowsTheFilterAndTitlesItsState) {
    shown();
    EXPECT_EQ(window().actions().filters->text(), "Filters");
    withFilterWindow([](FilterDialog* d) {
        EXPECT_EQ(d->windowTitle(), "Task Filters");
        EXPECT_EQ(d->titleCaption()->text(), "Task Filters : Off");
        ASSERT_EQ(d->categoryList()->count(), 2);
        EXPECT_EQ(item(d, 0)->text(), "Work");
        EXPECT_EQ(item(d, 0)->checkState(), Qt::Checked);
        // A click on a colour sample toggles its box.
        QTest::mouseClick(d->doneSample(), Qt::LeftButton);
        EXPECT_FALSE(d->doneCheck()->isChecked());
        EXPECT_EQ(d->titleCaption()->text(), "Task Filters : On");
        QTest::mouseClick(d->doneSample(), Qt::LeftButton);
        d->noneButton()->click();
        EXPECT_EQ(item(d, 1)->checkState(), Qt::Unchecked);
        EXPECT_EQ(d->titleCaption()->text(), "Task Filters : On");
        d->allButton()->click();
        EXPECT_EQ(d->titleCaption()->text(), "Task Filters : Off");
        EXPECT_EQ(d->okButton()->text(), "OK");
        EXPECT_EQ(d->helpButton()->text(), "&Help");
        EXPECT_EQ(d->allButton()->toolTip(), "Select all categories");
        d->okButton()->click();
    });
    EXPECT_EQ(dir_.read("category.yyy"), "Work\r\nHome\r\n");
}

TEST_F(FilterWindowTest, OkSavesTheMarksAndRefreshesDayViewCalendarsAlarmsAndIndicator) {
    shown();
    EXPECT_EQ(dayRows().size(), 2u);
    withFilterWindow([](FilterDialog* d) {
        item(d, 0)->setCheckState(Qt::Unchecked); // Work, though the task says "work"
        d->okButton()->click();
    });
    EXPECT_EQ(dir_.read("category.yyy"), "Home\r\n");
    EXPECT_EQ(dayRows(), (test::Rows{"10:00 AM|Home|Plumber|Yes|No"}));
    EXPECT_EQ(highlight(kToday), 1); // only the done task marks the date now
    EXPECT_EQ(window().actions().filters->text(), "FILTERS ON");
    EXPECT_TRUE(window().menuBar()->actions().contains(window().actions().filters));
    const auto picture = [](const QIcon& icon) { return icon.pixmap(16).toImage(); };
    EXPECT_EQ(picture(window().actions().filtersButton->icon()),
              picture(QIcon(":/icons/filter-on.png")));
    // The hidden task's alarm stays quiet.
    composition().alarms().runCheck();
    EXPECT_FALSE(window().alarmBusy());
    EXPECT_EQ(backend_->value("Filter", "NotDone"), "1");
}

TEST_F(FilterWindowTest, ClosingByTheTitleBarRefreshesTooButKeepsTheSavedMarks) {
    shown();
    withFilterWindow([](FilterDialog* d) {
        d->doneCheck()->setChecked(false);
        item(d, 1)->setCheckState(Qt::Unchecked);
        d->close();
    });
    EXPECT_FALSE(std::filesystem::exists(dir_.file("category.yyy")));
    EXPECT_EQ(backend_->value("Filter", "Done"), "0");
    // The day view was refilled under the new filter: writing it back changes nothing.
    EXPECT_EQ(dayRows(), (test::Rows{"9:00 AM|work|Report|No|Yes"}));
    ASSERT_TRUE(state_->store().writeToStore(kToday));
    EXPECT_EQ(test::rowsOf(state_->store().gridStore()).size(), 3u);
    EXPECT_EQ(highlight(kToday + 1), -1); // Home's date lost its mark
    EXPECT_EQ(window().actions().filters->text(), "FILTERS ON");
    // Without a saved list the next opening checks every category again.
    withFilterWindow([](FilterDialog* d) {
        EXPECT_EQ(item(d, 1)->checkState(), Qt::Checked);
        EXPECT_FALSE(d->doneCheck()->isChecked());
        d->close();
    });
}

} // namespace
} // namespace dw
