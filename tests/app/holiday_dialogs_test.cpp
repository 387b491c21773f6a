#include "app/holidays/holiday_editor_dialog.h"
#include "app/holidays/holiday_import_dialog.h"
#include "app/holidays/holiday_list_dialog.h"
#include "app/modal_helpers.h"
#include "app/widgets/cell_grid.h"
#include "core/dates/date_serial.h"
#include "core/holidays/holiday_table.h"
#include "support/fake_prompts.h"
#include "support/table_rows.h"
#include "support/temp_dir.h"

#include <QComboBox>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

namespace dw {
namespace {

using test::FakePrompts;
using test::whenModal;
using Rows = std::vector<std::string>;
using Table = std::vector<std::vector<std::string>>;

const Table kFive = {{"A", "01", "January", "1"},
                     {"B", "02", "February", "2"},
                     {"C", "03", "March", "3"},
                     {"D", "04", "April", "4"},
                     {"E", "05", "May", "5"}};

class HolidayDialogsTest : public ::testing::Test {
protected:
    void writeHolidays(const Table& rows) {
        ASSERT_TRUE(test::saveDataRows(makeHolidayTable(), rows, path()));
    }
    std::string path() const { return dir_.file("holiday.grd"); }
    Rows fileRows() const { return test::fileRows(path()); }

    std::unique_ptr<HolidayListDialog> open(bool confirm = true) {
        auto d = std::make_unique<HolidayListDialog>(fs_, clock_, path(), confirm, prompts_);
        d->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(d.get()));
        return d;
    }
    static Rows listRows(HolidayListDialog& d) { return test::rowsOf(d.table()); }

    static QPoint rowCenter(CellGrid* g, int row) {
        return g->visualRect(g->model()->index(row - 1, 1)).center();
    }

    // A row drag carrying `data` enters the grid and is dropped on `row`.
    static void dropOn(CellGrid* g, const QMimeData& data, int row) {
        const QPoint at = rowCenter(g, row);
        QDragEnterEvent enter(at, Qt::MoveAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(g->viewport(), &enter);
        QDragMoveEvent move(at, Qt::MoveAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(g->viewport(), &move);
        QDropEvent drop(at, Qt::MoveAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(g->viewport(), &drop);
    }

    // The next editor, answered by `act`, which presses OK or Cancel itself.
    static void nextEditor(std::function<void(HolidayEditorDialog*)> act) {
        whenModal<HolidayEditorDialog>(std::move(act));
    }

    test::TempDir dir_;
    FakePrompts prompts_;
    FormatSettings fs_ = FormatSettings::enUS();
    // Friday 14 July 2000.
    FixedClock clock_{encodeDateTime(2000, 7, 14, 9, 0)};
};

TEST_F(HolidayDialogsTest, AddOnAnEmptyTableUsesItsEmptyRowAndOffersFebruary29) {
    auto d = open();
    nextEditor([](HolidayEditorDialog* e) {
        // The presets: today's month and day, a specific day; "First" and Sunday for a
        // floating one.
        EXPECT_TRUE(e->nameEdit()->text().isEmpty());
        EXPECT_EQ(e->monthCombo()->currentText(), "July");
        EXPECT_EQ(e->dayCombo()->currentText(), "14");
        EXPECT_EQ(e->ordinalCombo()->currentText(), "First");
        EXPECT_EQ(e->weekdayCombo()->currentText(), "Sunday");
        EXPECT_TRUE(e->specificRadio()->isChecked());
        EXPECT_FALSE(e->dayCombo()->isHidden());
        EXPECT_TRUE(e->weekdayCombo()->isHidden());

        // Typing stops at 30 characters.
        QTest::keyClicks(e->nameEdit(), "Leap Day of the Year, once in four");
        EXPECT_EQ(e->nameEdit()->text().size(), 30);
        e->nameEdit()->setText("Leap Day");
        e->monthCombo()->setCurrentIndex(1);
        EXPECT_EQ(e->dayCombo()->count(), 29);
        EXPECT_EQ(e->dayCombo()->currentText(), "14"); // the chosen day stays
        e->dayCombo()->setCurrentIndex(28);
        e->okButton()->click();
    });
    d->addButton()->click();
    EXPECT_EQ(listRows(*d), Rows{"Leap Day|02|February|29"});
    EXPECT_FALSE(QFile::exists(QString::fromStdString(path()))); // nothing saved yet
    d->closeButton()->click();
    EXPECT_EQ(fileRows(), Rows{"Leap Day|02|February|29"});
}

TEST_F(HolidayDialogsTest, AddAtRowThreeMovesTheOldRowDownAndCancelChangesNothing) {
    writeHolidays(kFive);
    auto d = open();
    d->grid()->selectTableRow(3);
    nextEditor([](HolidayEditorDialog* e) { e->cancelButton()->click(); });
    d->addHoliday();
    EXPECT_EQ(listRows(*d).size(), 5u);

    nextEditor([](HolidayEditorDialog* e) {
        e->nameEdit()->setText("New");
        e->floatingRadio()->setChecked(true);
        e->ordinalCombo()->setCurrentIndex(4);
        e->weekdayCombo()->setCurrentIndex(1);
        e->okButton()->click();
    });
    d->addHoliday();
    EXPECT_EQ(listRows(*d), (Rows{"A|01|January|1", "B|02|February|2", "New|07|July|Last : Monday",
                                  "C|03|March|3", "D|04|April|4", "E|05|May|5"}));
    EXPECT_EQ(d->grid()->selectedRow(), 3);
}

TEST_F(HolidayDialogsTest, DeleteAsksWhenConfirmIsOnAndTheOnlyHolidayLeavesAnEmptyRow) {
    writeHolidays({{"Only", "01", "January", "1"}});
    auto d = open(true);
    prompts_.setNextAnswer(FakePrompts::No);
    d->deleteButton()->click();
    EXPECT_EQ(prompts_.questions, Rows{"Really delete \"Only\"?"});
    EXPECT_EQ(listRows(*d), Rows{"Only|01|January|1"});

    prompts_.setNextAnswer(FakePrompts::Yes);
    d->deleteButton()->click();
    EXPECT_EQ(listRows(*d), Rows{"|||"});
    // The list now reads as empty: there is nothing to edit.
    d->editButton()->click();
    EXPECT_EQ(prompts_.errors, Rows{"Nothing to edit"});

    writeHolidays(kFive);
    auto quiet = open(false);
    quiet->grid()->selectTableRow(2);
    quiet->deleteHoliday();
    EXPECT_EQ(prompts_.questions.size(), 2u); // no further question
    EXPECT_EQ(listRows(*quiet).size(), 4u);
    EXPECT_EQ(listRows(*quiet)[1], "C|03|March|3");
}

TEST_F(HolidayDialogsTest, DraggingRowFiveOntoRowTwo) {
    writeHolidays(kFive);
    auto d = open();
    CellGrid* g = d->grid();
    g->selectTableRow(5);
    QMimeData data;
    data.setData(kRowDragMimeType, g->objectName().toUtf8());
    dropOn(g, data, 2);
    EXPECT_EQ(listRows(*d), (Rows{"A|01|January|1", "E|05|May|5", "B|02|February|2", "C|03|March|3",
                                  "D|04|April|4"}));
    EXPECT_EQ(g->selectedRow(), 2);

    // A row of another grid is not taken.
    QMimeData other;
    other.setData(kRowDragMimeType, "gridDay");
    dropOn(g, other, 4);
    EXPECT_EQ(listRows(*d)[3], "C|03|March|3");
}

TEST_F(HolidayDialogsTest, DoubleClickEditsAFloatingRule) {
    writeHolidays({{"A", "01", "January", "1"}, {"Vote", "11", "November", "Second : Tuesday"}});
    auto d = open();
    CellGrid* g = d->grid();
    nextEditor([](HolidayEditorDialog* e) {
        EXPECT_EQ(e->nameEdit()->text(), "Vote");
        EXPECT_EQ(e->monthCombo()->currentText(), "November");
        EXPECT_TRUE(e->floatingRadio()->isChecked());
        EXPECT_EQ(e->ordinalCombo()->currentText(), "Second");
        EXPECT_EQ(e->weekdayCombo()->currentText(), "Tuesday");
        EXPECT_TRUE(e->dayCombo()->isHidden());
        EXPECT_FALSE(e->weekdayCombo()->isHidden());
        e->weekdayCombo()->setCurrentIndex(4);
        e->okButton()->click();
    });
    QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, rowCenter(g, 2));
    QTest::mouseDClick(g->viewport(), Qt::LeftButton, {}, rowCenter(g, 2));
    EXPECT_EQ(listRows(*d)[1], "Vote|11|November|Second : Thursday");
}

TEST_F(HolidayDialogsTest, EditingARowTheListsDoNotOfferKeepsItsOwnTexts) {
    const std::string longName = "Commemoration of the Founding of the Nation";
    writeHolidays(
        {{"Fremd", "00", "Dezember", "Zweiter : Dienstag"}, {longName, "02", "February", "11"}});
    auto d = open();
    nextEditor([](HolidayEditorDialog* e) {
        EXPECT_EQ(e->monthCombo()->currentIndex(), -1);
        EXPECT_EQ(e->monthCombo()->placeholderText(), "Dezember");
        EXPECT_EQ(e->dayCombo()->count(), 31);
        EXPECT_EQ(e->ordinalCombo()->currentIndex(), -1);
        EXPECT_EQ(e->weekdayCombo()->currentIndex(), -1);
        e->okButton()->click();
    });
    d->editHoliday();
    EXPECT_EQ(listRows(*d)[0], "Fremd|00|Dezember|Zweiter : Dienstag");

    // A name longer than the typing limit is not cut by opening it.
    d->grid()->selectTableRow(2);
    nextEditor([](HolidayEditorDialog* e) { e->okButton()->click(); });
    d->editHoliday();
    EXPECT_EQ(listRows(*d)[1], longName + "|02|February|11");
}

TEST_F(HolidayDialogsTest, PrintHandsTheTableAndTheHolidayLayoutToThePrinter) {
    writeHolidays(kFive);
    auto d = open();
    int calls = 0;
    d->setPrinter([&](const CellTable& table, const PrintLayout& layout) {
        ++calls;
        EXPECT_EQ(&table, &d->table());
        EXPECT_EQ(table.cell(0, 0), "Holiday name");
        EXPECT_EQ(layout.title, "Holidays");
        EXPECT_EQ(layout.titlePlace, PagePlace::TopCentre);
        EXPECT_FALSE(layout.landscape);
    });
    d->printButton()->click();
    EXPECT_EQ(calls, 1);
}

TEST_F(HolidayDialogsTest, EscapeSavesLikeCloseAndTheTitleBarDiscards) {
    writeHolidays(kFive);
    {
        auto d = open(false);
        d->deleteHoliday();
        d->close(); // the title bar's close button
        EXPECT_FALSE(d->isVisible());
        EXPECT_EQ(fileRows().size(), 5u);
    }
    auto d = open(false);
    d->deleteHoliday();
    QTest::keyClick(d.get(), Qt::Key_Escape);
    EXPECT_FALSE(d->isVisible());
    EXPECT_EQ(d->result(), QDialog::Accepted);
    EXPECT_EQ(fileRows().size(), 4u);
}

TEST_F(HolidayDialogsTest, TitleBarCloseDiscardsTheListsEditsButAnImportAlreadySavedStaysSaved) {
    writeHolidays(kFive);
    auto d = open(false);
    d->deleteHoliday(); // A goes, and is saved as the import starts
    whenModal<HolidayImportDialog>([](HolidayImportDialog* import) {
        import->holidayList()->item(0)->setSelected(true);
        import->okButton()->click();
    });
    d->importButton()->click();
    const Rows afterImport = {"New Year's Day|01|January|1", "B|02|February|2", "C|03|March|3",
                              "D|04|April|4", "E|05|May|5"};
    EXPECT_EQ(listRows(*d), afterImport);
    d->deleteHoliday();
    d->close();
    EXPECT_EQ(fileRows(), afterImport);
}

TEST_F(HolidayDialogsTest, ImportListsACountryAndAddsTheSelectionAtTheTop) {
    writeHolidays({{"Mine", "03", "March", "3"}});
    HolidayImportDialog d(fs_, path(), prompts_);
    d.show();
    EXPECT_EQ(d.windowTitle(), "Import International Holidays");
    EXPECT_EQ(d.countryList()->currentItem()->text(), "Australia");
    ASSERT_EQ(d.holidayList()->count(), 6);
    EXPECT_EQ(d.holidayList()->item(4)->text(), "Dec 26th\tBoxing Day");

    d.okButton()->click();
    EXPECT_EQ(prompts_.errors, Rows{"Nothing selected!  Click on holiday(s) above to select."});
    EXPECT_TRUE(d.isVisible());

    d.countryList()->setCurrentRow(22);
    ASSERT_EQ(d.holidayList()->count(), 24);
    EXPECT_EQ(d.holidayList()->item(0)->text(), "Jan 1st\tNew Year's Day");
    EXPECT_EQ(d.holidayList()->item(23)->text(), "Dec 31st\tNew Year's Eve");

    d.countryList()->setCurrentRow(0);
    d.holidayList()->item(4)->setSelected(true);
    d.holidayList()->item(5)->setSelected(true);
    d.okButton()->click();
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(fileRows(),
              (Rows{"Christmas|12|December|25", "Boxing Day|12|December|26", "Mine|03|March|3"}));
}

TEST_F(HolidayDialogsTest, ImportClosedWithoutOkLeavesTheFileAlone) {
    HolidayImportDialog d(fs_, path(), prompts_);
    d.show();
    d.holidayList()->item(0)->setSelected(true);
    d.closeButton()->click();
    EXPECT_FALSE(QFile::exists(QString::fromStdString(path())));
}

} // namespace
} // namespace dw
