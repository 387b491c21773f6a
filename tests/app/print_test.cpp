#include "app/output/completed_tasks_window.h"
#include "app/output/print_commands.h"
#include "app/output/print_dialog.h"
#include "app/output/table_print_command.h"
#include "app/shell/main_actions.h"
#include "app/task_window_fixture.h"
#include "app/widgets/shadow_label.h"
#include "core/output/print_layout.h"
#include "core/output/print_selection.h"
#include "core/store/category_list.h"
#include "print/table_printer.h"
#include "support/pdf_probe.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QToolBar>
#include <cstdio>

namespace dw::test {
namespace {

class PrintTest : public TaskWindowTest {
protected:
    void SetUp() override {
        writeStore({{storeKey(kToday, 100), "9:00 AM", "Work", "Plan the week", "No", "No"},
                    {storeKey(kToday + 1, 100), "10:30 AM", "Home", "Call mum", "Yes", "No"},
                    {storeKey(kToday + 9, 100), "2:00 PM", "Work", "Send report", "yes", "No"}});
        writeTodo({{"Home", "Buy milk", "No"}, {"", "Fix bike", "Yes"}});
    }
    void TearDown() override { setPrinterChooser({}); }

    // Every print goes to a PDF file instead of the print dialog; counts the prints.
    void printTo(const std::string& path) {
        setPrinterChooser([this, path](QPrinter& printer, QWidget*) {
            ++printsAsked_;
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(QString::fromStdString(path));
            return true;
        });
    }
    PrintDialog& printDialog() { return *window().findChild<PrintDialog*>("printDialog"); }
    // Opens the print window through the archive's way in and runs `act` in it.
    bool askIn(PrintDialog::Mode mode, std::function<void(PrintDialog*)> act) {
        whenModal<PrintDialog>(std::move(act));
        return PrintDialog::askSelection(&window(), *state_, mode);
    }
    int printsAsked_ = 0;
};

TEST_F(PrintTest, ModeCaptions) {
    shown();
    const struct {
        PrintDialog::Mode mode;
        const char *caption, *all, *range;
    } cases[] = {
        {PrintDialog::Mode::Printing, "Print tasks", "Print All tasks",
         "Print tasks within a range of dates"},
        {PrintDialog::Mode::Clearing, "Clear tasks", "Clear All tasks",
         "Clear tasks within a range of dates"},
    };
    for (const auto& c : cases) {
        askIn(c.mode, [&](PrintDialog* d) {
            EXPECT_EQ(d->windowTitle(), c.caption);
            EXPECT_EQ(d->title()->text(), c.caption);
            EXPECT_EQ(d->allRadio()->text(), c.all);
            EXPECT_EQ(d->rangeRadio()->text(), c.range);
            // The title takes the look of the "To-do Tasks" caption.
            EXPECT_EQ(d->title()->textColor(), window().todoCaption()->textColor());
            EXPECT_EQ(d->title()->shadowDepth(), window().todoCaption()->shadowDepth());
            EXPECT_EQ(d->categoryCheck()->text(), "Selected categories?");
            EXPECT_EQ(d->doneCheck()->text(), "Done tasks?");
            EXPECT_EQ(d->notDoneCheck()->text(), "Not Done tasks?");
            EXPECT_EQ(d->todoCheck()->text(), "To-do tasks?");
            d->reject();
        });
    }
    // One window serves both: the main window made it at start-up.
    EXPECT_EQ(window().findChildren<PrintDialog*>().size(), 1);
}

TEST_F(PrintTest, OkChecksTheChoicesAndKeepsTheWindowOpenOnAFault) {
    shown();
    const struct {
        const char* name;
        std::function<void(PrintDialog*)> choose;
        std::string message; // empty: accepted
        std::function<QWidget*(PrintDialog*)> focus;
    } cases[] = {
        {"nothing ticked",
         [](PrintDialog* d) {
             d->doneCheck()->setChecked(false);
             d->notDoneCheck()->setChecked(false);
             d->todoCheck()->setChecked(false);
         },
         "At least one of the DONE, NOT DONE or TO-DO options must be checked",
         [](PrintDialog* d) { return d->notDoneCheck(); }},
        {"to-do only", [](PrintDialog* d) { d->todoCheck()->setChecked(true); }, "", nullptr},
        {"range backwards",
         [](PrintDialog* d) {
             d->rangeRadio()->setChecked(true);
             d->fromEdit()->setDate(QDate(2000, 1, 2));
             d->toEdit()->setDate(QDate(2000, 1, 1));
         },
         "The second date must be AFTER the first date!",
         [](PrintDialog* d) { return d->toEdit(); }},
        {"one-day range", [](PrintDialog* d) { d->toEdit()->setDate(QDate(2000, 1, 2)); }, "",
         nullptr},
        {"no category chosen",
         [](PrintDialog* d) {
             d->categoryCheck()->setChecked(true);
             d->categoryBox()->setCurrentIndex(-1);
         },
         "Choose a category, or untick \"Selected categories?\"",
         [](PrintDialog* d) { return d->categoryBox(); }},
    };
    // Each case starts from the choices the one before it left.
    for (const auto& c : cases) {
        prompts_.errors.clear();
        bool stayedOpen = false;
        const bool ok = askIn(PrintDialog::Mode::Printing, [&](PrintDialog* d) {
            c.choose(d);
            d->okButton()->click();
            stayedOpen = d->isVisible();
            if (stayedOpen) {
                EXPECT_EQ(d->focusWidget(), c.focus(d)) << c.name;
                d->reject();
            }
        });
        if (c.message.empty()) {
            EXPECT_TRUE(ok) << c.name;
            EXPECT_TRUE(prompts_.errors.empty()) << c.name;
        } else {
            EXPECT_FALSE(ok) << c.name;
            EXPECT_TRUE(stayedOpen) << c.name;
            EXPECT_EQ(prompts_.errors, std::vector<std::string>{c.message}) << c.name;
        }
    }
    // The accepted one-day range is the selection now.
    const PrintSelection& sel = state_->printSelection();
    EXPECT_FALSE(sel.allDates);
    EXPECT_EQ(sel.fromDate, kToday + 1);
    EXPECT_EQ(sel.toDate, kToday + 1);
}

TEST_F(PrintTest, CategoriesComeFromTheCategoryFileWithTheSecondChosen) {
    shown();
    QComboBox* box = printDialog().categoryBox();
    ASSERT_EQ(box->count(), 4);
    EXPECT_EQ(box->itemText(0), "1 - High");
    EXPECT_EQ(box->itemText(3), "4 - Don't Care");
    EXPECT_EQ(box->currentIndex(), -1);
    composition_.reset();

    std::string error;
    ASSERT_TRUE(writeListFile(categoryListPath(dir_.path()), {"Work", "Home", "Health"}, error));
    shown();
    askIn(PrintDialog::Mode::Printing, [](PrintDialog* d) {
        EXPECT_FALSE(d->categoryBox()->isVisible()); // until "Selected categories?" is ticked
        d->categoryCheck()->setChecked(true);
        EXPECT_TRUE(d->categoryBox()->isVisible());
        EXPECT_EQ(d->categoryBox()->count(), 3);
        EXPECT_EQ(d->categoryBox()->currentText(), "Home");
        d->okButton()->click();
    });
    EXPECT_TRUE(state_->printSelection().byCategory);
    EXPECT_EQ(state_->printSelection().categories, std::vector<std::string>{"Home"});
}

TEST_F(PrintTest, ChoicesMadeForClearingStayForPrinting) {
    shown();
    askIn(PrintDialog::Mode::Clearing, [](PrintDialog* d) {
        EXPECT_FALSE(d->fromEdit()->isVisible()); // the dates show with the range only
        d->rangeRadio()->setChecked(true);
        EXPECT_TRUE(d->fromEdit()->isVisible());
        d->toEdit()->setDate(QDate(2000, 1, 10));
        d->todoCheck()->setChecked(false);
        d->okButton()->click();
    });
    askIn(PrintDialog::Mode::Printing, [](PrintDialog* d) {
        EXPECT_TRUE(d->rangeRadio()->isChecked());
        EXPECT_EQ(d->fromEdit()->date(), QDate(2000, 1, 1)); // today at start-up
        EXPECT_EQ(d->toEdit()->date(), QDate(2000, 1, 10));
        EXPECT_FALSE(d->todoCheck()->isChecked());
        d->doneCheck()->setChecked(false);
        d->cancelButton()->click(); // the controls keep what was changed
    });
    const PrintSelection& sel = state_->printSelection();
    EXPECT_FALSE(sel.allDates);
    EXPECT_EQ(sel.toDate, kToday + 9);
    EXPECT_FALSE(sel.todo);
    EXPECT_FALSE(sel.done);
    EXPECT_TRUE(sel.notDone);
}

TEST_F(PrintTest, FilePrintPrintsTheChosenTasksAfterThePrintWindow) {
    shown();
    printTo(dir_.file("chosen.pdf"));
    const MainActions& a = window().actions();
    // Cancelling the print window prints nothing.
    whenModal<PrintDialog>([](PrintDialog* d) { d->reject(); });
    a.print->trigger();
    EXPECT_EQ(printsAsked_, 0);

    whenModal<PrintDialog>([](PrintDialog* d) {
        d->notDoneCheck()->setChecked(false); // done tasks ("Yes" exactly) and to-do tasks
        d->okButton()->click();
    });
    a.print->trigger();
    EXPECT_EQ(printsAsked_, 1);
    EXPECT_EQ(rowsOf(state_->gridPrint()),
              (std::vector<std::string>{"1/2/2000|10:30 AM|Home|Call mum|Yes|No",
                                        "To-do||Home|Buy milk|No|", "To-do|||Fix bike|Yes|"}));
    EXPECT_EQ(pdfPageCount(dir_.file("chosen.pdf")), 1);
    const std::string text = pdfText(dir_.file("chosen.pdf"));
    for (const char* expected : {"Tasks for ALL dates", "1/1/2000", "9:00 AM", "Date", "Completed",
                                 "Call mum", "To-do", "Fix bike"})
        EXPECT_NE(text.find(expected), std::string::npos) << expected << " in\n" << text;
    EXPECT_EQ(text.find("Plan the week"), std::string::npos);
    EXPECT_EQ(pdfIsLandscape(dir_.file("chosen.pdf")), false);
}

TEST_F(PrintTest, DayViewAndToDoListPrintWithTheirTitles) {
    shown();
    const MainActions& a = window().actions();
    // Each command sits in its pane's toolbar with its hint.
    EXPECT_EQ(a.printDay->toolTip(), "Print date tasks");
    EXPECT_EQ(a.printTodo->toolTip(), "Print tasks");
    EXPECT_TRUE(window().dayToolBar()->actions().contains(a.printDay));
    EXPECT_TRUE(window().todoToolBar()->actions().contains(a.printTodo));
    EXPECT_TRUE(window().mainToolBar()->actions().contains(a.print));

    printTo(dir_.file("day.pdf"));
    a.printDay->trigger();
    const std::string day = pdfText(dir_.file("day.pdf"));
    EXPECT_NE(day.find("Sat 1/1/2000"), std::string::npos) << day; // the date caption
    EXPECT_NE(day.find("Plan the week"), std::string::npos) << day;
    EXPECT_EQ(day.find("Call mum"), std::string::npos) << day;

    printTo(dir_.file("todo.pdf"));
    a.printTodo->trigger();
    const std::string todo = pdfText(dir_.file("todo.pdf"));
    for (const char* expected : {"To-do Tasks", "Buy milk", "Fix bike", "1/1/2000"})
        EXPECT_NE(todo.find(expected), std::string::npos) << expected << " in\n" << todo;
    EXPECT_EQ(todo.find("9:00 AM"), std::string::npos) << "no time on the to-do pages";
}

TEST_F(PrintTest, CompletedTasksPrintLandscape) {
    shown();
    CellTable& completed = state_->completedTasks().table();
    if (completed.rowCount() < 2)
        completed.setRowCount(2);
    completed.setCell(4, 1, "Filed the taxes");
    printTo(dir_.file("completed.pdf"));
    whenModal<CompletedTasksWindow>([](CompletedTasksWindow* w) {
        w->printAction()->trigger();
        w->closeAction()->trigger();
    });
    window().actions().completedTasks->trigger();
    EXPECT_EQ(printsAsked_, 1);
    EXPECT_EQ(pdfIsLandscape(dir_.file("completed.pdf")), true);
    const std::string text = pdfText(dir_.file("completed.pdf"));
    for (const char* expected : {"Completed Tasks", "Comp Date", "Comp Notes", "Filed the taxes"})
        EXPECT_NE(text.find(expected), std::string::npos) << expected << " in\n" << text;
}

// The table printer itself, onto PDF pages.
class TablePrinterTest : public ::testing::Test {
protected:
    TempDir dir_;
    FixedClock clock_{encodeDateTime(2024, 5, 1, 14, 5)};
    FormatSettings fs_ = FormatSettings::enUS();
};

TEST_F(TablePrinterTest, RowsBreakAcrossPagesUnderTheHeaderRow) {
    CellTable table = makePrintTable();
    table.setRowCount(201);
    for (int r = 1; r <= 200; ++r) {
        table.setCell(PrintCol::Date, r, "5/1/2024");
        char what[16];
        std::snprintf(what, sizeof what, "Task %03d", r);
        table.setCell(PrintCol::What, r, what);
    }
    // A multi-line cell prints every line.
    table.setCell(PrintCol::What, 3, "first line\r\nsecond line\r\n");
    const std::string path = dir_.file("long.pdf");
    const int pages = printTableToPdf(path, table, printTablePrintLayout(), fs_, clock_);
    EXPECT_GT(pages, 2);
    EXPECT_EQ(pdfPageCount(path), pages);
    for (int p = 1; p <= pages; ++p) {
        const std::string text = pdfText(path, p);
        for (const char* expected : {"Tasks for ALL dates", "5/1/2024", "2:05 PM", "Category"})
            EXPECT_NE(text.find(expected), std::string::npos) << expected << " on page " << p;
    }
    const std::string all = pdfText(path);
    for (const char* expected : {"Task 001", "Task 200", "second line"})
        EXPECT_NE(all.find(expected), std::string::npos) << expected;
    // Row order survives the page breaks.
    EXPECT_LT(all.find("Task 099"), all.find("Task 100"));
    EXPECT_LT(all.find("first line"), all.find("second line"));
}

TEST_F(TablePrinterTest, LongTextWrapsInsteadOfRunningOffThePage) {
    CellTable table(2, 2);
    table.setCell(0, 0, "Time");
    table.setCell(1, 0, "What");
    table.setCell(0, 1, "9:00 AM");
    std::string words;
    for (int i = 0; i < 60; ++i)
        words += "word" + std::to_string(i) + " ";
    words += "lastword";
    table.setCell(1, 1, words);
    const std::string path = dir_.file("wrap.pdf");
    ASSERT_EQ(printTableToPdf(path, table, todoPrintLayout(FontSpec{"Sans", 10}), fs_, clock_), 1);
    const std::string text = pdfText(path);
    EXPECT_NE(text.find("word0"), std::string::npos);
    EXPECT_NE(text.find("lastword"), std::string::npos) << text;
}

TEST_F(TablePrinterTest, AFileThatCannotBeWrittenPrintsNothing) {
    EXPECT_EQ(printTableToPdf(dir_.file("no/such/folder/x.pdf"), makePrintTable(),
                              printTablePrintLayout(), fs_, clock_),
              0);
}

} // namespace
} // namespace dw::test
