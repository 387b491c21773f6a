#include "app/output/export_commands.h"
#include "app/output/web_calendar_dialog.h"
#include "app/shell/main_actions.h"
#include "app/task_window_fixture.h"
#include "core/output/print_selection.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>
#include <filesystem>

namespace dw::test {
namespace {

class ExportCommandsTest : public TaskWindowTest {
protected:
    void SetUp() override {
        writeStore({{storeKey(kToday, 100), "9:00 AM", "Work", "Plan, then act", "No", "No"},
                    {storeKey(kToday + 1, 100), "10:30 AM", "Home", "Call <mum>", "Yes", "No"}});
        writeTodo({{"Home", "Milk", "No"}});
        shown();
    }
    ExportCommands& exports() { return *window().findChild<ExportCommands*>(); }
    void trigger(QAction* action, const std::string& file) {
        prompts_.setNextFileName(file);
        action->trigger();
    }
};

TEST_F(ExportCommandsTest, EachCommandWritesItsTable) {
    const MainActions& a = window().actions();
    const struct {
        QAction* action;
        const char* file;
        std::string firstLines;
    } cases[] = {
        {a.dayMenuExportCsv, "day.txt",
         "Time,Category,What,Done?,Alarm?\r\n9:00 AM,Work,\"Plan, then act\""},
        {a.todoMenuExportCsv, "todo.txt", "Category,What,Done?\r\nHome,Milk,No\r\n"},
        {a.exportTodoCsv, "todo2.txt", "Category,What,Done?\r\nHome,Milk,No\r\n"},
        {a.exportDailyCsv, "daily.txt",
         "Date,Time,Category,What,Completed,Alarm\r\n1/1/2000,9:00 AM,Work,\"Plan, then "
         "act\",No,No\r\n"
         "1/2/2000,10:30 AM,Home,Call <mum>,Yes,No\r\n"},
        {a.exportTodoHtml, "todo.htm", "<table border=1>\r\n"},
        {a.dayMenuExportHtml, "day.htm", "<table border=1>\r\n"},
    };
    for (const auto& c : cases) {
        trigger(c.action, dir_.file(c.file));
        EXPECT_EQ(dir_.read(c.file).substr(0, c.firstLines.size()), c.firstLines) << c.file;
    }
    EXPECT_NE(dir_.read("day.htm").find("<td nowrap>Plan, then act</td>"), std::string::npos);
    EXPECT_TRUE(prompts_.errors.empty());
}

TEST_F(ExportCommandsTest, PopupExportsItsOwnPaneWhateverHasTheFocus) {
    window().gridDay()->setFocus();
    trigger(window().actions().todoMenuExportCsv, dir_.file("todo.txt"));
    EXPECT_EQ(dir_.read("todo.txt").substr(0, 19), "Category,What,Done?");
}

TEST_F(ExportCommandsTest, DailyTasksFollowTheCurrentPrintSelectionAndGetTheDefaultExtension) {
    PrintSelection& sel = state_->printSelection();
    sel.allDates = false;
    sel.fromDate = sel.toDate = kToday + 1;
    trigger(window().actions().exportDailyCsv, dir_.file("daily"));
    EXPECT_EQ(dir_.read("daily.txt"), "Date,Time,Category,What,Completed,Alarm\r\n"
                                      "1/2/2000,10:30 AM,Home,Call <mum>,Yes,No\r\n");
    // Cancelled: nothing is written, the print table is rebuilt all the same.
    sel.allDates = true;
    window().actions().exportDailyCsv->trigger();
    EXPECT_EQ(state_->gridPrint().rowCount(), 3);
}

TEST_F(ExportCommandsTest, AFileThatCannotBeCreatedIsReported) {
    const std::string bad = dir_.file("missing/folder/x.txt");
    trigger(window().actions().exportTodoCsv, bad);
    EXPECT_EQ(prompts_.errors, (std::vector<std::string>{"Cannot create file " + bad}));
}

TEST_F(ExportCommandsTest, PopupMenusAndFileMenuOfferExport) {
    const auto titles = [](QMenu* m) {
        QStringList t;
        for (QAction* a : m->actions())
            t << a->text();
        return t;
    };
    EXPECT_TRUE(titles(commands().dayMenu()).contains("Export"));
    EXPECT_TRUE(titles(commands().todoMenu()).contains("Export"));
    auto* exportMenu = window().findChild<QMenu*>("exportMenu");
    ASSERT_TRUE(exportMenu);
    EXPECT_EQ(titles(exportMenu), (QStringList{"Daily Tasks", "To-do tasks", "iCalendar (.ics)"}));
}

class WebCalendarDialogTest : public TaskWindowTest {
protected:
    SettingsStore& settings() { return state_->settings(); }
};

TEST_F(WebCalendarDialogTest, PublishWritesThePageAndRemembersTheChoices) {
    writeStore({{storeKey(kToday, 100), "10:30 AM", "Work", "Plan", "No", "No"}});
    shown();
    bool opened = false;
    whenModal<WebCalendarDialog>([&](WebCalendarDialog* d) {
        EXPECT_EQ(d->windowTitle(), "Publish Monthly Calendar as Web Page");
        EXPECT_EQ(d->title()->text(), "Publish January 2000 as a web page");
        EXPECT_TRUE(d->detailsCheck()->isChecked());
        EXPECT_TRUE(d->fileEdit()->text().isEmpty());
        d->setOpenPage([&](const std::string&) { return opened = true; });
        d->fileEdit()->setText(QString::fromStdString(dir_.file("cal.htm")));
        d->detailsCheck()->setChecked(false);
        d->launchButton()->click();
    });
    window().actions().publishWebPage->trigger();
    EXPECT_TRUE(opened);
    const std::string page = dir_.read("cal.htm");
    EXPECT_NE(page.find(">10:30 am Work<br></td>"), std::string::npos);
    EXPECT_EQ(page.find("Details</td>"), std::string::npos);
    EXPECT_EQ(settings().readString("WebCal", "LastFile", ""), dir_.file("cal.htm"));
    EXPECT_FALSE(settings().readBool("WebCal", "Details", true));
}

TEST_F(WebCalendarDialogTest, EmptyNameCancelAndBrowserFailure) {
    shown();
    settings().writeString("WebCal", "LastFile", "/kept.htm");
    settings().writeBool("WebCal", "Details", true);
    WebCalendarDialog dialog(settings(), state_->fs(), prompts_);
    dialog.setMonthDate(kToday);
    EXPECT_EQ(dialog.fileEdit()->text(), "/kept.htm");

    // Empty box: the message, the dialog closes, the store keeps its values.
    dialog.fileEdit()->clear();
    dialog.detailsCheck()->setChecked(false);
    dialog.publishButton()->click();
    EXPECT_EQ(prompts_.errors, (std::vector<std::string>{"An HTML file has not been specified"}));
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(settings().readString("WebCal", "LastFile", ""), "/kept.htm");
    EXPECT_TRUE(settings().readBool("WebCal", "Details", false));

    // Cancel closes without writing the page.
    dialog.fileEdit()->setText(QString::fromStdString(dir_.file("never.htm")));
    dialog.cancelButton()->click();
    EXPECT_FALSE(std::filesystem::exists(dir_.file("never.htm")));

    prompts_.errors.clear();
    dialog.setOpenPage([](const std::string&) { return false; });
    dialog.fileEdit()->setText(QString::fromStdString(dir_.file("cal.htm")));
    dialog.launchButton()->click();
    EXPECT_EQ(prompts_.errors, (std::vector<std::string>{"Couldn't open web browser for \"" +
                                                         dir_.file("cal.htm") + "\""}));
    EXPECT_TRUE(std::filesystem::exists(dir_.file("cal.htm")));

    // Browse: the chosen name replaces the box's text.
    prompts_.setNextFileName("/chosen/page.html");
    dialog.browseButton()->click();
    EXPECT_EQ(dialog.fileEdit()->text(), "/chosen/page.html");
}

} // namespace
} // namespace dw::test
