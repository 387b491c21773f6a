#include "core/output/print_geometry.h"

#include <gtest/gtest.h>

namespace dw {
namespace {

// 254 dots per inch: one dot is a tenth of a millimetre, so the layout's sizes read as dots.
constexpr double kDpi = 254;

TEST(PrintGeometry, PageFrameKeepsMarginsAndBandsForTheTextsPlaced) {
    PrintLayout printTable = printTablePrintLayout(); // title, date and time at the top
    PageFrame f = pageFrame(printTable, kDpi, 2000, 3000, 50, 40);
    EXPECT_DOUBLE_EQ(f.tableLeft, 20);
    EXPECT_DOUBLE_EQ(f.tableWidth, 2000 - 20 - 20);
    EXPECT_DOUBLE_EQ(f.tableTop, 50 + 20);           // a header line, then the header size
    EXPECT_DOUBLE_EQ(f.tableHeight, 3000 - 70 - 20); // no footer text: only the footer size

    PrintLayout todo = todoPrintLayout(FontSpec{"Sans", 8});
    todo.marginLeft = 100;
    todo.marginRight = 50;
    f = pageFrame(todo, kDpi, 2000, 3000, 50, 40); // the date goes into the footer
    EXPECT_DOUBLE_EQ(f.tableLeft, 100);
    EXPECT_DOUBLE_EQ(f.tableWidth, 2000 - 150);
    EXPECT_DOUBLE_EQ(f.tableTop, 70);
    EXPECT_DOUBLE_EQ(f.tableHeight, 3000 - 70 - 60);
    EXPECT_DOUBLE_EQ(f.footerTop, 3000 - 40);

    // At 600 dots per inch two millimetres are 47.24 dots.
    EXPECT_NEAR(tenthsMmToDots(20, 600), 47.244, 0.001);
}

TEST(PrintGeometry, PageTextsGoWhereTheLayoutSays) {
    const std::vector<PageText> texts = pageTexts(printTablePrintLayout(), "5/1/2024", "9:30 AM");
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0].text, "Tasks for ALL dates");
    EXPECT_EQ(texts[0].place, PagePlace::TopCentre);
    EXPECT_EQ(texts[1].text, "5/1/2024");
    EXPECT_EQ(texts[1].place, PagePlace::TopLeft);
    EXPECT_EQ(texts[2].place, PagePlace::TopRight);
    const std::vector<PageText> day =
        pageTexts(dayViewPrintLayout("Wed 5/1/2024", FontSpec{}), "5/1/2024", "9:30 AM");
    ASSERT_EQ(day.size(), 2u); // no time on the day view's pages
    EXPECT_EQ(day[1].place, PagePlace::BottomLeft);

    PageFrame f;
    f.tableLeft = 20;
    f.tableWidth = 1000;
    const struct {
        PagePlace place;
        double left;
    } cases[] = {{PagePlace::TopLeft, 20},
                 {PagePlace::BottomLeft, 20},
                 {PagePlace::TopCentre, 20 + 400},
                 {PagePlace::TopRight, 20 + 800}};
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(pageTextLeft(c.place, 200, f), c.left) << static_cast<int>(c.place);
}

TEST(PrintGeometry, FitToWidth) {
    const std::vector<double> natural{100, 200, 300}; // 600 wide, plus two gaps of 10
    struct Case {
        FitToWidth fit;
        double available;
        double scale;
        std::vector<double> widths;
    };
    const Case cases[] = {
        {FitToWidth::Never, 1000, 1, {100, 200, 300}},
        {FitToWidth::ShrinkWhenTooWide, 1000, 1, {100, 200, 300}}, // never enlarged
        {FitToWidth::ShrinkWhenTooWide, 310, 0.5, {100, 200, 300}},
        {FitToWidth::Always, 1240, 2, {100, 200, 300}},
        {FitToWidth::Always, 310, 0.5, {100, 200, 300}},
        // Never scales: the widest columns are narrowed alike and their texts wrap.
        {FitToWidth::Never, 420, 1, {100, 150, 150}},
        {FitToWidth::Never, 320, 1, {100, 100, 100}},
        // ...but not below the least width.
        {FitToWidth::Never, 200, 1, {80, 80, 80}},
    };
    for (const Case& c : cases) {
        const ColumnFit fit = fitColumns(natural, 10, c.available, c.fit, 80);
        EXPECT_DOUBLE_EQ(fit.scale, c.scale) << static_cast<int>(c.fit) << " " << c.available;
        EXPECT_EQ(fit.widths, c.widths) << static_cast<int>(c.fit) << " " << c.available;
    }
    // A column wider than the whole table area is held to it before scaling, so one long
    // text cannot shrink the rest to nothing.
    const ColumnFit held = fitColumns({100, 5000}, 10, 1000, FitToWidth::ShrinkWhenTooWide, 80);
    EXPECT_EQ(held.widths, (std::vector<double>{100, 1000}));
    EXPECT_DOUBLE_EQ(held.scale, 1000.0 / 1110);
    EXPECT_EQ(held.lefts(10), (std::vector<double>{0, 110}));
}

// Pages as "row:first+count@top" lists, for reading the cases at a glance.
std::vector<std::string> describe(const std::vector<PrintPage>& pages) {
    std::vector<std::string> out;
    for (const PrintPage& page : pages) {
        std::string s;
        for (const RowSlice& r : page) {
            if (!s.empty())
                s += ' ';
            s += std::to_string(r.row) + ':' + std::to_string(r.firstLine) + '+' +
                 std::to_string(r.lineCount) + '@' + std::to_string(static_cast<int>(r.top));
        }
        out.push_back(s);
    }
    return out;
}

TEST(PrintGeometry, RowsBreakAcrossPagesUnderARepeatedHeaderRow) {
    using Pages = std::vector<std::string>;
    // Lines of 10 dots, 2 between rows, pages of 50: the header takes 12.
    EXPECT_EQ(describe(paginateRows({1}, 10, 2, 50)), (Pages{"0:0+1@0"}));
    EXPECT_EQ(describe(paginateRows({1, 1, 1, 1, 1}, 10, 2, 50)),
              (Pages{"0:0+1@0 1:0+1@12 2:0+1@24 3:0+1@36", "0:0+1@0 4:0+1@12"}));
    // A two-line row that does not fit below row 1 moves whole to the next page.
    EXPECT_EQ(describe(paginateRows({1, 1, 3, 1}, 10, 2, 50)),
              (Pages{"0:0+1@0 1:0+1@12", "0:0+1@0 2:0+3@12", "0:0+1@0 3:0+1@12"}));
    // A row taller than a page starts where it is and goes on over the next pages.
    EXPECT_EQ(describe(paginateRows({1, 1, 7}, 10, 2, 50)),
              (Pages{"0:0+1@0 1:0+1@12 2:0+2@24", "0:0+1@0 2:2+3@12", "0:0+1@0 2:5+2@12"}));
    // An empty cell still takes a line; a page too short for any row still takes one line.
    EXPECT_EQ(describe(paginateRows({1, 0}, 10, 2, 50)), (Pages{"0:0+1@0 1:0+1@12"}));
    EXPECT_EQ(describe(paginateRows({1, 2}, 10, 2, 15)),
              (Pages{"0:0+1@0 1:0+1@12", "0:0+1@0 1:1+1@12"}));
}

} // namespace
} // namespace dw
