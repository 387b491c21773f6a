#include "app/output/ical_commands.h"
#include "app/output/ical_import_dialog.h"
#include "app/shell/main_actions.h"
#include "app/task_window_fixture.h"

#include <QDateEdit>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>

namespace dw::test {
namespace {

class IcalCommandsTest : public TaskWindowTest {
protected:
    void SetUp() override {
        writeStore({{storeKey(kToday, 100), "9:00 AM", "Work", "Plan, then act", "No", "Yes"}});
        writeTodo({{"Home", "Milk", "No"}});
        shown();
        // Zoned times are shown one hour ahead of UTC, whatever the machine's zone.
        ical().setLocalTime(
            [](std::int64_t s) { return 25569.0 + static_cast<double>(s + 3600) / 86400.0; });
    }
    IcalCommands& ical() { return *window().findChild<IcalCommands*>(); }
    static QStringList titles(QMenu* m) {
        QStringList t;
        for (QAction* a : m->actions())
            t << a->text();
        return t;
    }
    static QStringList rowTexts(QTreeWidget* list) {
        QStringList rows;
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            QStringList cells;
            for (int c = 0; c < list->columnCount(); ++c)
                cells << list->topLevelItem(i)->text(c);
            rows << cells.join('|');
        }
        return rows;
    }
};

TEST_F(IcalCommandsTest, TheFileMenuOffersExportAndImport) {
    auto* exportMenu = window().findChild<QMenu*>("exportMenu");
    auto* importMenu = window().findChild<QMenu*>("importMenu");
    ASSERT_TRUE(exportMenu && importMenu);
    EXPECT_TRUE(titles(exportMenu).contains("iCalendar (.ics)"));
    EXPECT_EQ(titles(importMenu), QStringList{"iCalendar (.ics)"});
    const QStringList file = titles(window().findChild<QMenu*>("fileMenu"));
    EXPECT_EQ(file.indexOf("Import"), file.indexOf("Export") + 1);
}

TEST_F(IcalCommandsTest, ExportWritesTheCalendarAndAsksBeforeReplacingAFile) {
    setOption("AlarmMin", "10");
    prompts_.setNextFileName(dir_.file("mine"));
    window().actions().exportIcal->trigger();
    const std::string text = dir_.read("mine.ics");
    for (const char* part :
         {"DTSTART:20000101T090000\r\n", "SUMMARY:Plan\\, then act\r\n", "CATEGORIES:Work\r\n",
          "TRIGGER:-PT10M\r\n", "BEGIN:VTODO\r\n", "SUMMARY:Milk\r\n"})
        EXPECT_NE(text.find(part), std::string::npos) << part;

    dir_.write("mine.ics", "keep me");
    prompts_.setNextFileName(dir_.file("mine"));
    prompts_.setNextAnswer(FakePrompts::No);
    window().actions().exportIcal->trigger();
    EXPECT_EQ(prompts_.questions,
              (std::vector<std::string>{dir_.file("mine.ics") +
                                        " already exists.\nDo you want to replace it?"}));
    EXPECT_EQ(dir_.read("mine.ics"), "keep me");
    EXPECT_TRUE(prompts_.errors.empty());
}

TEST_F(IcalCommandsTest, ImportPreviewsThenAddsWhatIsNew) {
    dir_.write("in.ics", "BEGIN:VCALENDAR\r\n"
                         "BEGIN:VEVENT\r\nUID:1\r\nDTSTART:20000101T090000\r\n"
                         "SUMMARY:Plan\\, then act\r\nEND:VEVENT\r\n"
                         "BEGIN:VEVENT\r\nUID:2\r\nDTSTART:20000101T100000Z\r\n"
                         "SUMMARY:Coffee\r\nCATEGORIES:Home\r\nBEGIN:VALARM\r\nACTION:DISPLAY\r\n"
                         "TRIGGER:-PT5M\r\nEND:VALARM\r\nEND:VEVENT\r\n"
                         "BEGIN:VEVENT\r\nUID:3\r\nDTSTART;VALUE=DATE:20010704\r\n"
                         "SUMMARY:Picnic\r\nEND:VEVENT\r\n"
                         "BEGIN:VTODO\r\nUID:4\r\nSUMMARY:Bread\r\nEND:VTODO\r\n"
                         "END:VCALENDAR\r\n");
    prompts_.setNextFileName(dir_.file("in.ics"));
    whenModal<IcalImportDialog>([&](IcalImportDialog* d) {
        EXPECT_EQ(d->fromEdit()->date(), QDate(1999, 1, 1));
        EXPECT_EQ(d->toEdit()->date(), QDate(2002, 1, 1));
        EXPECT_EQ(rowTexts(d->previewList()),
                  (QStringList{"1/1/2000|11:00 AM|Home|Coffee", "7/4/2001|All day||Picnic",
                               "To-do|||Bread"}));
        EXPECT_EQ(d->countLabel()->text(), "3 to add, 1 already there");
        // Fewer dates, fewer tasks; an end before the start lists nothing.
        d->toEdit()->setDate(QDate(2000, 12, 31));
        EXPECT_EQ(d->previewList()->topLevelItemCount(), 2);
        d->toEdit()->setDate(QDate(1998, 12, 31));
        EXPECT_EQ(d->countLabel()->text(), "The end date is before the start date.");
        EXPECT_FALSE(d->okButton()->isEnabled());
        d->toEdit()->setDate(QDate(2002, 1, 1));
        d->okButton()->click();
    });
    window().actions().importIcal->trigger();

    EXPECT_TRUE(prompts_.errors.empty());
    // The shown date takes its new task at once, in its place by time; every table reached
    // its file.
    EXPECT_EQ(dayRows(),
              (Rows{"9:00 AM|Work|Plan, then act|No|Yes", "11:00 AM|Home|Coffee|No|Yes"}));
    EXPECT_EQ(todoRows(), (Rows{"Home|Milk|No", "|Bread|No"}));
    EXPECT_EQ(fileRows("gridNon.grd"), todoRows());
    const Rows stored = fileRows("grid.grd");
    ASSERT_EQ(stored.size(), 3u);
    EXPECT_EQ(stored[2], storeKey(dateSerialOf(2001, 7, 4), 101) + "|All day||Picnic|No|No");
}

TEST_F(IcalCommandsTest, ADamagedFileIsReportedAndNoDialogOpens) {
    dir_.write("bad.ics", "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\n");
    prompts_.setNextFileName(dir_.file("bad.ics"));
    window().actions().importIcal->trigger();
    EXPECT_EQ(prompts_.errors,
              (std::vector<std::string>{dir_.file("bad.ics") +
                                        ": The iCalendar file is damaged: it ends before its "
                                        "calendar does."}));
    EXPECT_EQ(fileRows("grid.grd").size(), 1u);
}

} // namespace
} // namespace dw::test
