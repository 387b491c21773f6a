#include "core/output/table_writers.h"

#include "core/store/file_io.h"

namespace dw {

namespace {

constexpr const char* kEol = "\r\n";

} // namespace

std::string escapeHtml(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char ch : text) {
        switch (ch) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += ch;
        }
    }
    return out;
}

std::string htmlCellText(std::string_view text) {
    std::string out;
    for (const char ch : escapeHtml(text)) {
        if (ch == '\r')
            out += "<br>";
        else
            out += ch;
    }
    return out.empty() ? "<br>" : out;
}

std::string htmlTableText(const CellTable& table, std::string_view headerColor) {
    std::string out;
    const auto line = [&out](const std::string& text) { out += text + kEol; };
    line("<table border=1>");
    line("<tr>");
    for (int c = 0; c < table.colCount(); ++c)
        line("<td nowrap BGCOLOR=\"#" + std::string(headerColor) + "\"><B>" +
             htmlCellText(table.cell(c, 0)) + "</B></td>");
    line("</tr>");
    for (int r = 1; r < table.rowCount(); ++r) {
        line("<tr>");
        for (int c = 0; c < table.colCount(); ++c)
            line("<td nowrap>" + htmlCellText(table.cell(c, r)) + "</td>");
        line("</tr>");
    }
    line("</table><p>");
    return out;
}

namespace {

std::string csvField(const std::string& text) {
    if (text.empty())
        return "\"\"";
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string out = "\"";
    for (const char ch : text) {
        if (ch == '"')
            out += '"';
        out += ch;
    }
    return out + "\"";
}

} // namespace

std::string commaDelimitedText(const CellTable& table) {
    std::string out;
    for (int r = 0; r < table.rowCount(); ++r) {
        for (int c = 0; c < table.colCount(); ++c) {
            if (c > 0)
                out += ',';
            out += csvField(table.cell(c, r));
        }
        out += kEol;
    }
    return out;
}

Status writeOutputFile(const std::string& path, const std::string& text) {
    std::string error;
    if (writeFileAtomic(path, text, error))
        return {};
    return Status::failure("Cannot create file " + path);
}

Status writeHtmlTable(const CellTable& table, const std::string& path) {
    return writeOutputFile(path, htmlTableText(table));
}

Status writeCommaDelimited(const CellTable& table, const std::string& path) {
    return writeOutputFile(path, commaDelimitedText(table));
}

} // namespace dw
