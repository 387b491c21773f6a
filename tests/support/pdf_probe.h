#pragma once

#include "support/shell_run.h"

#include <cstdio>
#include <optional>
#include <string>

namespace dw::test {

// What a printed PDF holds, read with poppler's tools (poppler-utils).

// The number of pages, or -1 when the file is no PDF pdfinfo can read.
inline int pdfPageCount(const std::string& path) {
    const Result r = runShell("pdfinfo " + quoted(path));
    const auto at = r.out.find("Pages:");
    if (r.status != 0 || at == std::string::npos)
        return -1;
    return std::stoi(r.out.substr(at + 6));
}

// Whether the first page is wider than it is high, from pdfinfo's "Page size: W x H pts".
inline std::optional<bool> pdfIsLandscape(const std::string& path) {
    const Result r = runShell("pdfinfo " + quoted(path));
    const auto at = r.out.find("Page size:");
    if (r.status != 0 || at == std::string::npos)
        return std::nullopt;
    double w = 0;
    double h = 0;
    if (std::sscanf(r.out.c_str() + at, "Page size: %lf x %lf", &w, &h) != 2)
        return std::nullopt;
    return w > h;
}

// The text of one page (1 on), or of every page with 0, laid out as printed.
inline std::string pdfText(const std::string& path, int page = 0) {
    std::string cmd = "pdftotext -layout";
    if (page > 0)
        cmd += " -f " + std::to_string(page) + " -l " + std::to_string(page);
    return runShell(cmd + " " + quoted(path) + " -").out;
}

// True when the file begins as a PDF does.
inline bool looksLikePdf(const std::string& path) {
    return runShell("head -c 5 " + quoted(path)).out == "%PDF-";
}

} // namespace dw::test
