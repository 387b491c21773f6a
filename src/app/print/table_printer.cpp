#include "app/print/table_printer.h"

#include "core/dates/date_format.h"
#include "core/output/print_geometry.h"
#include "core/store/helpers.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTextLayout>
#include <algorithm>
#include <vector>

namespace dw {

namespace {

// Paper has no unprintable edge in a PDF; this keeps its pages like a printer's.
constexpr double kPdfPaperMarginMm = 10;
constexpr int kPdfResolution = 600;

QFont printFont(const FontSpec& spec) {
    QFont f;
    if (!spec.name.empty())
        f.setFamily(QString::fromStdString(spec.name));
    f.setPointSize(spec.size > 0 ? spec.size : 8);
    f.setBold(spec.bold);
    f.setItalic(spec.italic);
    f.setUnderline(spec.underline);
    f.setStrikeOut(spec.strikeOut);
    return f;
}

using Lines = std::vector<QString>;

Lines cellLines(const std::string& text) {
    std::vector<std::string> lines;
    textToLines(text, lines);
    Lines out;
    for (const std::string& l : lines)
        out.push_back(QString::fromStdString(l));
    return out;
}

// One line broken at word boundaries (or anywhere, for a word wider than the column) into
// lines no wider than `width`.
Lines wrapLine(const QString& line, const QFont& font, double width, QPaintDevice* device) {
    if (width <= 0 || QFontMetricsF(font, device).horizontalAdvance(line) <= width)
        return {line};
    Lines out;
    QTextLayout layout(line, font, device);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    for (QTextLine l = layout.createLine(); l.isValid(); l = layout.createLine()) {
        l.setLineWidth(width);
        out.push_back(line.mid(l.textStart(), l.textLength()).trimmed());
    }
    layout.endLayout();
    return out;
}

// The table's texts as printed lines, each cell wrapped to its column.
struct PrintedCells {
    std::vector<std::vector<Lines>> cells; // [row][column]
    std::vector<int> lineCounts;           // per row
};

} // namespace

void applyPageLayout(QPagedPaintDevice& device, const PrintLayout& layout) {
    device.setPageOrientation(layout.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
}

int printTable(QPagedPaintDevice& device, const CellTable& table, const PrintLayout& layout,
               const FormatSettings& fs, const Clock& clock) {
    QPainter painter;
    if (!painter.begin(&device))
        return 0;
    const double dpi = device.logicalDpiY();
    const QFont tableFont = printFont(layout.tableFont);
    QFont headerRowFont = tableFont; // the header row stands out without a border
    headerRowFont.setBold(true);
    const QFont headerFont = printFont(layout.headerFont);
    const QFont footerFont = printFont(layout.footerFont);
    const QFontMetricsF tableMetrics(tableFont, &device);
    const QFontMetricsF headerRowMetrics(headerRowFont, &device);
    const QFontMetricsF headerMetrics(headerFont, &device);
    const QFontMetricsF footerMetrics(footerFont, &device);

    const PageFrame frame = pageFrame(layout, dpi, device.width(), device.height(),
                                      headerMetrics.height(), footerMetrics.height());

    // Measure, fit the columns, then wrap what is wider than its column.
    const int rows = table.rowCount();
    const int cols = table.colCount();
    std::vector<std::vector<Lines>> logical(static_cast<size_t>(rows));
    std::vector<double> natural(static_cast<size_t>(cols), 0.0);
    for (int r = 0; r < rows; ++r) {
        const QFontMetricsF& m = r == 0 ? headerRowMetrics : tableMetrics;
        auto& row = logical[static_cast<size_t>(r)];
        for (int c = 0; c < cols; ++c) {
            row.push_back(cellLines(table.cell(c, r)));
            for (const QString& line : row.back())
                natural[static_cast<size_t>(c)] =
                    std::max(natural[static_cast<size_t>(c)], m.horizontalAdvance(line));
        }
    }
    const double gap = tenthsMmToDots(layout.columnGap(), dpi);
    const ColumnFit fit = fitColumns(natural, gap, frame.tableWidth, layout.fit,
                                     tableMetrics.horizontalAdvance(QStringLiteral("MMMMMM")));
    const std::vector<double> lefts = fit.lefts(gap);

    PrintedCells printed;
    printed.cells.resize(static_cast<size_t>(rows));
    for (int r = 0; r < rows; ++r) {
        const QFont& font = r == 0 ? headerRowFont : tableFont;
        int lines = 1;
        for (int c = 0; c < cols; ++c) {
            Lines wrapped;
            for (const QString& line : logical[static_cast<size_t>(r)][static_cast<size_t>(c)]) {
                const Lines parts =
                    wrapLine(line, font, fit.widths[static_cast<size_t>(c)], &device);
                wrapped.insert(wrapped.end(), parts.begin(), parts.end());
            }
            lines = std::max(lines, static_cast<int>(wrapped.size()));
            printed.cells[static_cast<size_t>(r)].push_back(std::move(wrapped));
        }
        printed.lineCounts.push_back(lines);
    }

    const double lineHeight = std::max(tableMetrics.lineSpacing(), headerRowMetrics.lineSpacing());
    const double rowGap = lineHeight / 4;
    const double capacity = fit.scale > 0 ? frame.tableHeight / fit.scale : frame.tableHeight;
    const std::vector<PrintPage> pages =
        paginateRows(printed.lineCounts, lineHeight, rowGap, capacity);

    const DateSerial now = clock.now();
    const std::vector<PageText> texts =
        pageTexts(layout, formatDateTime("ddddd", now, fs), formatDateTime("t", now, fs));

    painter.setPen(Qt::black);
    for (std::size_t p = 0; p < pages.size(); ++p) {
        if (p > 0)
            device.newPage();
        for (const PageText& t : texts) {
            const bool top = isTopPlace(t.place);
            const QFontMetricsF& m = top ? headerMetrics : footerMetrics;
            const QString text = QString::fromStdString(t.text);
            const double width = m.horizontalAdvance(text);
            painter.setFont(top ? headerFont : footerFont);
            painter.drawText(QRectF(pageTextLeft(t.place, width, frame),
                                    top ? frame.headerTop : frame.footerTop, width + 1, m.height()),
                             Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextDontClip,
                             text);
        }

        painter.save();
        painter.translate(frame.tableLeft, frame.tableTop);
        painter.scale(fit.scale, fit.scale);
        for (const RowSlice& slice : pages[p]) {
            painter.setFont(slice.row == 0 ? headerRowFont : tableFont);
            const auto& row = printed.cells[static_cast<size_t>(slice.row)];
            for (int c = 0; c < cols; ++c) {
                const Lines& lines = row[static_cast<size_t>(c)];
                for (int i = 0; i < slice.lineCount; ++i) {
                    const auto at = static_cast<size_t>(slice.firstLine + i);
                    if (at >= lines.size())
                        break;
                    painter.drawText(QRectF(lefts[static_cast<size_t>(c)],
                                            slice.top + i * lineHeight,
                                            fit.widths[static_cast<size_t>(c)], lineHeight),
                                     Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, lines[at]);
                }
            }
        }
        painter.restore();
    }
    painter.end();
    return static_cast<int>(pages.size());
}

int printTableToPdf(const std::string& path, const CellTable& table, const PrintLayout& layout,
                    const FormatSettings& fs, const Clock& clock) {
    QPdfWriter writer(QString::fromStdString(path));
    writer.setResolution(kPdfResolution);
    writer.setCreator(QStringLiteral("Dayweaver"));
    writer.setTitle(QString::fromStdString(layout.title));
    writer.setPageLayout(QPageLayout(
        QPageSize(QPageSize::A4), layout.landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
        QMarginsF(kPdfPaperMarginMm, kPdfPaperMarginMm, kPdfPaperMarginMm, kPdfPaperMarginMm),
        QPageLayout::Millimeter));
    return printTable(writer, table, layout, fs, clock);
}

} // namespace dw
