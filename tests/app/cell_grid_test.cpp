#include "app/widgets/cell_grid.h"
#include "core/dates/clock.h"
#include "core/dates/format_settings.h"
#include "core/store/task_store.h"

#include <QHeaderView>
#include <QTest>
#include <gtest/gtest.h>

namespace dw {
namespace {

struct DayGrid {
    FormatSettings fs = FormatSettings::enUS();
    FixedClock clock{36526.5};
    CellTable table = makeGridDay(fs, clock);
};

void fillDay(CellTable& t, std::initializer_list<std::pair<const char*, const char*>> rows) {
    t.setRowCount(static_cast<int>(rows.size()) + 1);
    int r = 1;
    for (const auto& [time, category] : rows) {
        t.setCell(DayCol::Time, r, time);
        t.setCell(DayCol::Category, r, category);
        t.setCell(DayCol::What, r, std::string("task ") + category);
        ++r;
    }
}

std::vector<std::string> column(const CellGrid& g, int col) {
    std::vector<std::string> out;
    for (int r = 0; r < g.model()->rowCount(); ++r)
        out.push_back(g.model()->index(r, col).data().toString().toStdString());
    return out;
}

void clickHeader(CellGrid& g, int col) {
    QHeaderView* h = g.horizontalHeader();
    const QPoint at(h->sectionViewportPosition(col) + h->sectionSize(col) / 2, h->height() / 2);
    QTest::mouseClick(h->viewport(), Qt::LeftButton, {}, at);
}

TEST(CellGrid, ShowsTheTableUnderItsHeaderRow) {
    CellTable todo = makeGridNonday();
    todo.setRowCount(3);
    todo.setCell(TodoCol::Category, 1, "Home");
    todo.setCell(TodoCol::What, 1, "first line\r\nsecond line");
    todo.setCell(TodoCol::Done, 1, "No");
    CellGrid g(todo);

    ASSERT_EQ(g.model()->columnCount(), 3);
    EXPECT_EQ(g.model()->rowCount(), 2); // data rows only
    EXPECT_EQ(g.model()->headerData(0, Qt::Horizontal).toString(), "Category");
    EXPECT_EQ(g.model()->headerData(1, Qt::Horizontal).toString(), "What");
    EXPECT_EQ(g.model()->headerData(2, Qt::Horizontal).toString(), "Done?");
    EXPECT_EQ(g.model()->index(0, 1).data().toString(), "first line second line");
    EXPECT_EQ(g.model()->index(1, 0).data().toString(), "");

    // Whole rows are selected and nothing is edited in place.
    EXPECT_EQ(g.selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_EQ(g.editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_EQ(g.selectedRow(), 1);

    // Rows added behind the grid's back show after a refresh; the selection stays put.
    g.selectTableRow(2);
    todo.insertRows(3, 1);
    todo.setCell(TodoCol::What, 3, "added");
    g.refresh();
    EXPECT_EQ(g.model()->rowCount(), 3);
    EXPECT_EQ(g.selectedRow(), 2);
    // ... and a selection past the end moves to the last row.
    g.selectTableRow(3);
    todo.setRowCount(2);
    g.refresh();
    EXPECT_EQ(g.selectedRow(), 1);
}

TEST(CellGrid, HeaderClicksSortTheDayViewWithTimesComparedAsTimes) {
    DayGrid d;
    fillDay(d.table, {{"10:00 AM", "B"}, {"9:00 AM", "A"}, {"11:30 AM", "C"}});
    CellGrid g(d.table);
    g.resize(500, 200);
    g.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&g));
    EXPECT_TRUE(g.horizontalHeader()->isSortIndicatorShown());
    EXPECT_EQ(g.horizontalHeader()->sortIndicatorSection(), 0);
    EXPECT_EQ(g.horizontalHeader()->sortIndicatorOrder(), Qt::AscendingOrder);
    g.selectTableRow(1); // the 10:00 task

    // The time column is the sort column already: a click reverses it.
    clickHeader(g, DayCol::Time);
    EXPECT_EQ(column(g, DayCol::Time),
              (std::vector<std::string>{"11:30 AM", "10:00 AM", "9:00 AM"}));
    EXPECT_EQ(g.horizontalHeader()->sortIndicatorOrder(), Qt::DescendingOrder);
    EXPECT_EQ(d.table.cell(DayCol::Time, g.selectedRow()), "10:00 AM");

    // Once more: ascending by time, where text order would put 9:00 last.
    clickHeader(g, DayCol::Time);
    EXPECT_EQ(column(g, DayCol::Time),
              (std::vector<std::string>{"9:00 AM", "10:00 AM", "11:30 AM"}));
    EXPECT_EQ(g.horizontalHeader()->sortIndicatorOrder(), Qt::AscendingOrder);

    // Another column starts ascending.
    clickHeader(g, DayCol::What);
    clickHeader(g, DayCol::What);
    EXPECT_EQ(column(g, DayCol::Category), (std::vector<std::string>{"C", "B", "A"}));
    EXPECT_EQ(g.horizontalHeader()->sortIndicatorSection(), DayCol::What);
    EXPECT_EQ(g.horizontalHeader()->sortIndicatorOrder(), Qt::DescendingOrder);
    clickHeader(g, DayCol::Category);
    EXPECT_EQ(column(g, DayCol::Category), (std::vector<std::string>{"A", "B", "C"}));
    EXPECT_EQ(d.table.sortColumn(), DayCol::Category);
    EXPECT_EQ(g.horizontalHeader()->sortIndicatorSection(), DayCol::Category);
    EXPECT_EQ(g.horizontalHeader()->sortIndicatorOrder(), Qt::AscendingOrder);
}

TEST(CellGrid, AClickThatCannotSortLeavesTheMarkWhereTheTableSortsBy) {
    struct Case {
        const char* what;
        int dataRows;
        bool allowWhat;
    };
    const Case cases[] = {{"one data row", 1, true}, {"column not sortable", 3, false}};
    for (const Case& c : cases) {
        CellTable todo = makeGridNonday();
        todo.setRowCount(c.dataRows + 1);
        for (int r = 1; r <= c.dataRows; ++r)
            todo.setCell(TodoCol::What, r, std::string(1, static_cast<char>('z' - r)));
        if (!c.allowWhat)
            todo.setCanSort([](int col) { return col != TodoCol::What; });
        CellGrid g(todo);
        g.resize(400, 150);
        g.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&g));
        const std::vector<std::string> before = column(g, TodoCol::What);

        clickHeader(g, TodoCol::What);
        EXPECT_EQ(column(g, TodoCol::What), before) << c.what;
        EXPECT_EQ(g.horizontalHeader()->sortIndicatorSection(), 0) << c.what;
        EXPECT_EQ(g.horizontalHeader()->sortIndicatorOrder(), Qt::AscendingOrder) << c.what;
    }
}

TEST(CellGrid, RowStylerStrikesRowsOutAndColours) {
    CellTable todo = makeGridNonday();
    todo.setRowCount(3);
    todo.setCell(TodoCol::What, 1, "open");
    todo.setCell(TodoCol::Done, 1, "No");
    todo.setCell(TodoCol::What, 2, "finished");
    todo.setCell(TodoCol::Done, 2, "Yes");
    CellGrid g(todo);
    QFont gridFont("DejaVu Sans", 11);
    g.setGridFont(gridFont);
    g.setRowStyler([&](int row, CellStyle& s) {
        s.strikeOut = todo.cell(TodoCol::Done, row) == "Yes";
        if (s.strikeOut)
            s.foreground = Qt::gray;
    });

    const QVariant plain = g.model()->index(0, 1).data(Qt::FontRole);
    const QVariant struck = g.model()->index(1, 1).data(Qt::FontRole);
    EXPECT_FALSE(plain.isValid()); // drawn in the grid's own font
    ASSERT_TRUE(struck.isValid());
    EXPECT_TRUE(struck.value<QFont>().strikeOut());
    EXPECT_EQ(struck.value<QFont>().pointSize(), 11);
    EXPECT_FALSE(g.model()->index(0, 1).data(Qt::ForegroundRole).isValid());
    EXPECT_EQ(g.model()->index(1, 1).data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::gray));
}

TEST(CellGrid, RowHeightDecidesHowManyRowsFitWhole) {
    CellTable todo = makeGridNonday();
    todo.setRowCount(11);
    CellGrid g(todo);
    g.setRowHeight(20);
    EXPECT_EQ(g.rowHeight(), 20);
    const int header = g.horizontalHeader()->sizeHint().height();
    g.resize(300, header + 2 * g.frameWidth() + 10 * 20);
    EXPECT_EQ(g.fullyVisibleRowCount(), 10);
    EXPECT_FALSE(g.needsVerticalScroll());
    g.resize(300, header + 2 * g.frameWidth() + 10 * 20 - 1);
    EXPECT_EQ(g.fullyVisibleRowCount(), 9);
    EXPECT_TRUE(g.needsVerticalScroll());
}

} // namespace
} // namespace dw
