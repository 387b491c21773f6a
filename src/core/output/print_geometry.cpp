#include "core/output/print_geometry.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace dw {

namespace {

// Lengths that differ by less than this are equal: sums of fractional dots drift.
constexpr double kSlack = 1e-6;

} // namespace

double tenthsMmToDots(int tenths, double dpi) {
    return tenths / 254.0 * dpi;
}

bool isTopPlace(PagePlace place) {
    return place == PagePlace::TopLeft || place == PagePlace::TopCentre ||
           place == PagePlace::TopRight;
}

PageFrame pageFrame(const PrintLayout& layout, double dpi, double pageWidth, double pageHeight,
                    double headerLineHeight, double footerLineHeight) {
    bool anyTop = false;
    bool anyBottom = false;
    for (PagePlace p : {layout.titlePlace, layout.datePlace, layout.timePlace}) {
        anyTop = anyTop || isTopPlace(p);
        anyBottom = anyBottom || p == PagePlace::BottomLeft;
    }
    const double header = (anyTop ? headerLineHeight : 0) + tenthsMmToDots(layout.headerSize, dpi);
    const double footer =
        (anyBottom ? footerLineHeight : 0) + tenthsMmToDots(layout.footerSize, dpi);
    PageFrame f;
    f.tableLeft = tenthsMmToDots(layout.marginLeft, dpi);
    f.tableWidth = std::max(0.0, pageWidth - f.tableLeft - tenthsMmToDots(layout.marginRight, dpi));
    f.tableTop = header;
    f.tableHeight = std::max(0.0, pageHeight - header - footer);
    f.headerTop = 0;
    f.footerTop = pageHeight - footerLineHeight;
    return f;
}

std::vector<PageText> pageTexts(const PrintLayout& layout, const std::string& date,
                                const std::string& time) {
    std::vector<PageText> texts;
    if (layout.titlePlace != PagePlace::None)
        texts.push_back({layout.title, layout.titlePlace});
    if (layout.datePlace != PagePlace::None)
        texts.push_back({date, layout.datePlace});
    if (layout.timePlace != PagePlace::None)
        texts.push_back({time, layout.timePlace});
    return texts;
}

double pageTextLeft(PagePlace place, double width, const PageFrame& frame) {
    switch (place) {
    case PagePlace::TopCentre:
        return frame.tableLeft + (frame.tableWidth - width) / 2;
    case PagePlace::TopRight:
        return frame.tableLeft + frame.tableWidth - width;
    default:
        return frame.tableLeft;
    }
}

std::vector<double> ColumnFit::lefts(double gap) const {
    std::vector<double> out;
    double x = 0;
    for (double w : widths) {
        out.push_back(x);
        x += w + gap;
    }
    return out;
}

ColumnFit fitColumns(const std::vector<double>& natural, double gap, double available,
                     FitToWidth fit, double minWidth) {
    ColumnFit result;
    const auto n = natural.size();
    if (n == 0)
        return result;
    for (double w : natural)
        result.widths.push_back(std::clamp(w, 0.0, std::max(available, 0.0)));
    const double gaps = gap * static_cast<double>(n - 1);
    const double total = std::accumulate(result.widths.begin(), result.widths.end(), 0.0) + gaps;
    if (total <= 0)
        return result;

    switch (fit) {
    case FitToWidth::Always:
        result.scale = available / total;
        break;
    case FitToWidth::ShrinkWhenTooWide:
        result.scale = total > available + kSlack ? available / total : 1.0;
        break;
    case FitToWidth::Never: {
        if (total <= available + kSlack)
            break;
        // The widest columns share what the narrower ones leave: find the one width that
        // caps them so that the whole fits.
        std::vector<double> sorted = result.widths;
        std::sort(sorted.begin(), sorted.end());
        double remaining = available - gaps;
        double cap = 0;
        for (std::size_t i = 0; i < n; ++i) {
            cap = remaining / static_cast<double>(n - i);
            if (sorted[i] > cap)
                break;
            remaining -= sorted[i];
        }
        cap = std::max(cap, minWidth);
        for (double& w : result.widths)
            w = std::min(w, cap);
        break;
    }
    }
    return result;
}

std::vector<PrintPage> paginateRows(const std::vector<int>& lineCounts, double lineHeight,
                                    double rowGap, double capacity) {
    std::vector<PrintPage> pages;
    if (lineCounts.empty())
        return pages;
    const int headerLines = std::max(1, lineCounts[0]);
    const double headerHeight = headerLines * lineHeight + rowGap;
    const double emptyPageRoom = capacity - headerHeight;

    double y = 0;
    bool pageHasRows = false;
    auto startPage = [&] {
        pages.emplace_back();
        pages.back().push_back({0, 0, headerLines, 0});
        y = headerHeight;
        pageHasRows = false;
    };
    auto linesThatFit = [&] {
        return lineHeight > 0 ? static_cast<int>(std::floor((capacity - y) / lineHeight + kSlack))
                              : 1 << 30;
    };

    startPage();
    for (std::size_t r = 1; r < lineCounts.size(); ++r) {
        const int lines = std::max(1, lineCounts[r]);
        int first = 0;
        while (first < lines) {
            const int left = lines - first;
            const int fit = linesThatFit();
            if (left <= fit) {
                pages.back().push_back({static_cast<int>(r), first, left, y});
                y += left * lineHeight + rowGap;
                pageHasRows = true;
                break;
            }
            // A row that would fit whole on a fresh page is not broken; a taller one starts
            // where it is and goes on over the next pages.
            const bool fitsFreshPage = left * lineHeight <= emptyPageRoom + kSlack;
            if (pageHasRows && (fitsFreshPage || fit <= 0)) {
                startPage();
                continue;
            }
            const int part = std::max(1, fit);
            pages.back().push_back({static_cast<int>(r), first, part, y});
            first += part;
            pageHasRows = true;
            if (first < lines) {
                startPage();
            } else {
                y += part * lineHeight + rowGap;
            }
        }
    }
    return pages;
}

} // namespace dw
