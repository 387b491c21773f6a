#include "core/dates/date_serial.h"
#include "core/output/completed_tasks.h"
#include "core/store/helpers.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace dw {
namespace {

using test::TempDir;

CompletedTask record(const std::string& what, const std::string& origin = "Sat 1/1/2000") {
    CompletedTask t;
    t.completionDate = encodeDateTime(2000, 1, 3, 17, 45); // the time part is not recorded
    t.time = timeFraction(14, 5, 37);
    t.category = "Garden";
    t.origin = origin;
    t.what = what;
    t.notes = "went well\r\nnext year again\r\n";
    return t;
}

std::vector<std::string> rowOf(const CellTable& t, int r) {
    std::vector<std::string> out;
    for (int c = 0; c < t.colCount(); ++c)
        out.push_back(t.cell(c, r));
    return out;
}

TEST(CompletedTasks, NewTableHasHeadersWidthsAndOneEmptyRow) {
    CompletedTasks comp("/nowhere");
    const CellTable& t = comp.table();
    EXPECT_EQ(rowOf(t, 0), (std::vector<std::string>{"Comp Date", "Time", "Category", "Orig Date",
                                                     "What", "Comp Notes"}));
    EXPECT_EQ(t.rowCount(), 2);
    const int widths[] = {81, 79, 64, 188, 64, 64};
    for (int c = 0; c < 6; ++c)
        EXPECT_EQ(t.colWidth(c), widths[c]) << c;
    EXPECT_EQ(comp.path(), joinPath("/nowhere", "gridComp.grd"));
}

TEST(CompletedTasks, FirstRecordFillsRowOneThenNewerGoOnTop) {
    TempDir dir;
    CompletedTasks comp(dir.path());
    const FormatSettings fs = FormatSettings::enUS(); // long time still with seconds

    ASSERT_TRUE(comp.add(record("Plant roses"), fs));
    EXPECT_EQ(comp.table().rowCount(), 2);
    EXPECT_EQ(rowOf(comp.table(), 1),
              (std::vector<std::string>{"1/3/2000", "2:05 PM", "Garden", "Sat 1/1/2000",
                                        "Plant roses", "went well\r\nnext year again\r\n"}));

    ASSERT_TRUE(comp.add(record("Water lawn", "Non date task"), fs));
    EXPECT_EQ(comp.table().rowCount(), 3);
    EXPECT_EQ(comp.table().cell(CompCol::What, 1), "Water lawn");
    EXPECT_EQ(comp.table().cell(CompCol::OrigDate, 1), "Non date task");
    EXPECT_EQ(comp.table().cell(CompCol::What, 2), "Plant roses");

    // Saved at once: a fresh load sees both, newest first.
    CompletedTasks again(dir.path());
    ASSERT_TRUE(again.load());
    EXPECT_EQ(again.table().rowCount(), 3);
    EXPECT_EQ(again.table().cell(CompCol::What, 1), "Water lawn");
    EXPECT_EQ(again.table().cell(CompCol::CompNotes, 2), "went well\r\nnext year again\r\n");
}

TEST(CompletedTasks, LoadRewritesHeadersAndMendsAShortTable) {
    TempDir dir;
    // An older file: other headers, three columns, no data row.
    CellTable old(3, 1);
    old.setCell(0, 0, "Date");
    old.setCell(1, 0, "Zeit");
    ASSERT_TRUE(old.saveTable(dir.file("gridComp.grd")));

    CompletedTasks comp(dir.path());
    ASSERT_TRUE(comp.load());
    EXPECT_EQ(comp.table().colCount(), 6);
    EXPECT_EQ(comp.table().cell(0, 0), "Comp Date");
    EXPECT_EQ(comp.table().cell(5, 0), "Comp Notes");
    ASSERT_TRUE(comp.add(record("x"), FormatSettings::enUS()));
    EXPECT_EQ(comp.table().cell(CompCol::What, 1), "x");
}

TEST(CompletedTasks, DamagedFileIsAnsweredAndKeptAside) {
    TempDir dir;
    dir.write("gridComp.grd", "\x01\x02 not a table");
    CompletedTasks comp(dir.path());
    const Status loaded = comp.load();
    ASSERT_EQ(loaded.messages().size(), 1u);
    EXPECT_EQ(loaded.message().rfind("File contains no data or corrupt file " + comp.path(), 0), 0u)
        << loaded.message();
    EXPECT_NE(loaded.message().find("A copy of it was kept as " + comp.path() + ".damaged"),
              std::string::npos)
        << loaded.message();
    EXPECT_EQ(comp.table().rowCount(), 2);
    EXPECT_EQ(comp.table().cell(0, 0), "Comp Date");
    EXPECT_EQ(dir.read("gridComp.grd.damaged"), "\x01\x02 not a table");
}

TEST(CompletedTasks, FailedSaveIsAnsweredAndTheRecordStaysInMemory) {
    TempDir dir;
    CompletedTasks comp(dir.file("missing-folder"));
    const Status saved = comp.add(record("x"), FormatSettings::enUS());
    ASSERT_EQ(saved.messages().size(), 1u);
    EXPECT_EQ(saved.message().rfind("Could not save file " + comp.path() + ": ", 0), 0u)
        << saved.message();
    EXPECT_EQ(comp.table().cell(CompCol::What, 1), "x");
}

TEST(CompletedTasks, DeletingTheLastRecordLeavesARowForTheNextCompletion) {
    test::TempDir dir;
    CompletedTasks comp(dir.path());
    const FormatSettings fs = FormatSettings::enUS();
    ASSERT_TRUE(comp.add(record("only"), fs));
    deleteCompletedRecord(comp.table(), 1);
    EXPECT_EQ(comp.table().rowCount(), 2);
    EXPECT_EQ(rowOf(comp.table(), 1), std::vector<std::string>(6));
    writeBackCompletedPanes(comp.table(), 1, {"pane"}, {});
    EXPECT_EQ(comp.table().cell(CompCol::What, 1), "pane");
    ASSERT_TRUE(comp.add(record("next"), fs));
    EXPECT_EQ(comp.table().cell(CompCol::What, 1), "next");

    ASSERT_TRUE(comp.add(record("third"), fs));
    EXPECT_EQ(comp.table().rowCount(), 3);
    deleteCompletedRecord(comp.table(), 1);
    EXPECT_EQ(comp.table().rowCount(), 2);
    EXPECT_EQ(comp.table().cell(CompCol::What, 1), "next");
}

TEST(CompletedTasks, ClearLeavesHeaderAndOneEmptyRowAndPanesJoinLines) {
    CompletedTasks comp("/nowhere");
    comp.table().setRowCount(5);
    comp.table().setCell(CompCol::What, 4, "old");
    clearCompletedRecords(comp.table());
    EXPECT_EQ(comp.table().rowCount(), 2);
    EXPECT_EQ(rowOf(comp.table(), 1), std::vector<std::string>(6));
    EXPECT_EQ(comp.table().cell(0, 0), "Comp Date");
    writeBackCompletedPanes(comp.table(), 1, {"a", "b"}, {"n"});
    EXPECT_EQ(comp.table().cell(CompCol::What, 1), "a\r\nb\r\n");
    EXPECT_EQ(comp.table().cell(CompCol::CompNotes, 1), "n");
    writeBackCompletedPanes(comp.table(), 7, {"lost"}, {}); // no such row: nothing happens
    EXPECT_EQ(comp.table().rowCount(), 2);
}

TEST(CompletedTasks, ColumnWidthsScaleAndShareTheRest) {
    EXPECT_EQ(completedColumnWidths(800, 0, 4, 96), (std::vector<int>{70, 62, 58, 128, 236, 236}));
    EXPECT_EQ(completedColumnWidths(800, 17, 4, 96)[4], 227);
    EXPECT_EQ(completedColumnWidths(1600, 0, 4, 192),
              (std::vector<int>{140, 124, 116, 256, 477, 477}));
}

} // namespace
} // namespace dw
