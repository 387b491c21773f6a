#include "print/table_printer.h"

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

QFont printFont(const FontSpec& font) {
    QFont f;
    if (!font.name.empty())
        f.setFamily(QString::fromStdString(font.name));
    f.setPointSize(font.size > 0 ? font.size : 8);
    f.setBold(font.bold);
    f.setItalic(font.italic);
    f.setUnderline(font.underline);
    f.setStrikeOut(font.strikeOut);
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

// The fonts of one printout, and their measures on the device.
struct PrintFonts {
    PrintFonts(const PrintLayout& layout, QPaintDevice* device)
        : table(printFont(layout.tableFont)), headerRow(boldOf(table)),
          header(printFont(layout.headerFont)), footer(printFont(layout.footerFont)),
          tableMetrics(table, device), headerRowMetrics(headerRow, device),
          headerMetrics(header, device), footerMetrics(footer, device) {}

    static QFont boldOf(QFont f) {
        f.setBold(true); // the header row stands out without a border
        return f;
    }
    const QFont& row(int r) const { return r == 0 ? headerRow : table; }
    const QFontMetricsF& rowMetrics(int r) const {
        return r == 0 ? headerRowMetrics : tableMetrics;
    }
    double lineHeight() const {
        return std::max(tableMetrics.lineSpacing(), headerRowMetrics.lineSpacing());
    }

    QFont table, headerRow, header, footer;
    QFontMetricsF tableMetrics, headerRowMetrics, headerMetrics, footerMetrics;
};

// The table's texts as printed lines: [row][column], each cell's lines as written.
using CellLines = std::vector<std::vector<Lines>>;

CellLines tableLines(const CellTable& table) {
    CellLines out(static_cast<size_t>(table.rowCount()));
    for (int r = 0; r < table.rowCount(); ++r)
        for (int c = 0; c < table.colCount(); ++c)
            out[static_cast<size_t>(r)].push_back(cellLines(table.cell(c, r)));
    return out;
}

// Each column's widest line.
std::vector<double> naturalWidths(const CellLines& cells, int cols, const PrintFonts& fonts) {
    std::vector<double> widths(static_cast<size_t>(cols), 0.0);
    for (size_t r = 0; r < cells.size(); ++r)
        for (size_t c = 0; c < cells[r].size(); ++c)
            for (const QString& line : cells[r][c])
                widths[c] = std::max(widths[c],
                                     fonts.rowMetrics(static_cast<int>(r)).horizontalAdvance(line));
    return widths;
}

// Every cell's lines wrapped to its column; the number of lines of each row.
std::vector<int> wrapToColumns(CellLines& cells, const ColumnFit& fit, const PrintFonts& fonts,
                               QPaintDevice* device) {
    std::vector<int> lineCounts;
    for (size_t r = 0; r < cells.size(); ++r) {
        int lines = 1;
        for (size_t c = 0; c < cells[r].size(); ++c) {
            Lines wrapped;
            for (const QString& line : cells[r][c]) {
                const Lines parts =
                    wrapLine(line, fonts.row(static_cast<int>(r)), fit.widths[c], device);
                wrapped.insert(wrapped.end(), parts.begin(), parts.end());
            }
            lines = std::max(lines, static_cast<int>(wrapped.size()));
            cells[r][c] = std::move(wrapped);
        }
        lineCounts.push_back(lines);
    }
    return lineCounts;
}

void paintPageTexts(QPainter& painter, const std::vector<PageText>& texts, const PrintFonts& fonts,
                    const PageFrame& frame) {
    for (const PageText& t : texts) {
        const bool top = isTopPlace(t.place);
        const QFontMetricsF& m = top ? fonts.headerMetrics : fonts.footerMetrics;
        const QString text = QString::fromStdString(t.text);
        const double width = m.horizontalAdvance(text);
        painter.setFont(top ? fonts.header : fonts.footer);
        painter.drawText(QRectF(pageTextLeft(t.place, width, frame),
                                top ? frame.headerTop : frame.footerTop, width + 1, m.height()),
                         Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextDontClip,
                         text);
    }
}

// The page's rows, in the table's own size; the painter is already at the table's corner
// and scale.
void paintRows(QPainter& painter, const PrintPage& page, const CellLines& cells,
               const ColumnFit& fit, const std::vector<double>& lefts, const PrintFonts& fonts) {
    const double lineHeight = fonts.lineHeight();
    for (const RowSlice& slice : page) {
        painter.setFont(fonts.row(slice.row));
        const auto& row = cells[static_cast<size_t>(slice.row)];
        for (size_t c = 0; c < row.size(); ++c) {
            const Lines& lines = row[c];
            for (int i = 0; i < slice.lineCount; ++i) {
                const auto at = static_cast<size_t>(slice.firstLine) + static_cast<size_t>(i);
                if (at >= lines.size())
                    break;
                painter.drawText(
                    QRectF(lefts[c], slice.top + i * lineHeight, fit.widths[c], lineHeight),
                    Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, lines[at]);
            }
        }
    }
}

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
    const PrintFonts fonts(layout, &device);
    const PageFrame frame = pageFrame(layout, dpi, device.width(), device.height(),
                                      fonts.headerMetrics.height(), fonts.footerMetrics.height());

    // Measure, fit the columns, then wrap what is wider than its column.
    CellLines cells = tableLines(table);
    const double gap = tenthsMmToDots(layout.columnGap(), dpi);
    const ColumnFit fit =
        fitColumns(naturalWidths(cells, table.colCount(), fonts), gap, frame.tableWidth, layout.fit,
                   fonts.tableMetrics.horizontalAdvance(QStringLiteral("MMMMMM")));
    const std::vector<int> lineCounts = wrapToColumns(cells, fit, fonts, &device);
    const double lineHeight = fonts.lineHeight();
    const double capacity = fit.scale > 0 ? frame.tableHeight / fit.scale : frame.tableHeight;
    const std::vector<PrintPage> pages =
        paginateRows(lineCounts, lineHeight, lineHeight / 4, capacity);

    const DateSerial now = clock.now();
    const std::vector<PageText> texts =
        pageTexts(layout, formatDateTime("ddddd", now, fs), formatDateTime("t", now, fs));
    const std::vector<double> lefts = fit.lefts(gap);
    painter.setPen(Qt::black);
    for (std::size_t p = 0; p < pages.size(); ++p) {
        if (p > 0)
            device.newPage();
        paintPageTexts(painter, texts, fonts, frame);
        painter.save();
        painter.translate(frame.tableLeft, frame.tableTop);
        painter.scale(fit.scale, fit.scale);
        paintRows(painter, pages[p], cells, fit, lefts, fonts);
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
