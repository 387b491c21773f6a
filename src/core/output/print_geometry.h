#pragma once

#include "core/output/print_layout.h"

#include <string>
#include <vector>

namespace dw {

// Where a printed table goes on its pages. Everything is in device dots; the caller
// measures the texts in its fonts and paints what this decides.

// A length in tenths of a millimetre as dots at `dpi` dots per inch.
double tenthsMmToDots(int tenths, double dpi);

// The regions of one page, inside the device's printable area (origin at its top left).
struct PageFrame {
    double tableLeft = 0;   // the left margin
    double tableTop = 0;    // below the page header
    double tableWidth = 0;  // between the left and right margins
    double tableHeight = 0; // between the page header and the page footer
    double headerTop = 0;   // the top of the page header's line
    double footerTop = 0;   // the top of the page footer's line
};

// The page header holds the texts placed at the top, the footer those at the bottom; each
// is one line of its font followed (header) or preceded (footer) by the layout's header or
// footer size. A band without texts is only its size.
PageFrame pageFrame(const PrintLayout& layout, double dpi, double pageWidth, double pageHeight,
                    double headerLineHeight, double footerLineHeight);

// A text of the page header or footer and where it goes.
struct PageText {
    std::string text;
    PagePlace place;
};
// The title, print date and print time that the layout places, in that order.
std::vector<PageText> pageTexts(const PrintLayout& layout, const std::string& date,
                                const std::string& time);
// The left edge of a text `width` dots wide at `place` (left, centred or right between the
// margins).
double pageTextLeft(PagePlace place, double width, const PageFrame& frame);
// Whether the place is in the page header (else the footer).
bool isTopPlace(PagePlace place);

// Column widths at the table's own size and the scale it is printed at.
struct ColumnFit {
    std::vector<double> widths; // before scaling; a cell wider than its column wraps
    double scale = 1;

    // The left edge of each column before scaling, `gap` dots between columns.
    std::vector<double> lefts(double gap) const;
};

// Fits columns whose widest texts are `natural` dots wide into `available` dots, `gap`
// dots apart. No column is wider than the whole table area (its texts wrap). Never:
// printed at its own size; when too wide the widest columns are narrowed alike, no
// narrower than `minWidth`, and their texts wrap. ShrinkWhenTooWide: scaled down to fit
// when too wide. Always: scaled to the width exactly.
ColumnFit fitColumns(const std::vector<double>& natural, double gap, double available,
                     FitToWidth fit, double minWidth);

// The lines of one row printed on one page, from `firstLine` on; `top` from the table's
// top, before scaling.
struct RowSlice {
    int row = 0;
    int firstLine = 0;
    int lineCount = 0;
    double top = 0;
};
using PrintPage = std::vector<RowSlice>;

// Breaks the rows (row 0 the header row, printed at the top of every page) into pages of
// `capacity` dots before scaling. A row is `lineCounts[row]` lines of `lineHeight` dots
// plus `rowGap` below it. A row that does not fit on what is left of a page starts the next
// one; a row taller than a whole page is broken between its lines. Every page holds at
// least one line, so a page too short for anything still ends the work.
std::vector<PrintPage> paginateRows(const std::vector<int>& lineCounts, double lineHeight,
                                    double rowGap, double capacity);

} // namespace dw
