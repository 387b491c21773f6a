#include "core/dates/date_format.h"

#include "core/text/lower_text.h"

#include <cstddef>
#include <string>

namespace dw {

namespace {

bool isAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// How many times `c` repeats from position i (exact match).
std::size_t runOf(std::string_view p, std::size_t i, char c) {
    std::size_t n = 0;
    while (i + n < p.size() && p[i + n] == c)
        ++n;
    return n;
}

// Likewise, letter case ignored (the program's own patterns are case-insensitive).
std::size_t runOfNoCase(std::string_view p, std::size_t i, char lower) {
    std::size_t n = 0;
    while (i + n < p.size() && lowerAscii(p[i + n]) == lower)
        ++n;
    return n;
}

void appendNumber(std::string& out, int value, int minDigits) {
    std::string digits = std::to_string(value < 0 ? -value : value);
    if (value < 0)
        out += '-';
    if (static_cast<int>(digits.size()) < minDigits)
        out.append(static_cast<std::size_t>(minDigits) - digits.size(), '0');
    out += digits;
}

int hourOn12HourClock(int hour) {
    const int h = hour % 12;
    return h == 0 ? 12 : h;
}

// The first character of a UTF-8 text, whole (a designator such as "午前" must not be cut
// in the middle of a character).
std::string_view firstCharacter(std::string_view text) {
    if (text.empty())
        return text;
    const auto lead = static_cast<unsigned char>(text[0]);
    std::size_t len = 1;
    if (lead >= 0xF0)
        len = 4;
    else if (lead >= 0xE0)
        len = 3;
    else if (lead >= 0xC0)
        len = 2;
    return text.substr(0, len < text.size() ? len : text.size());
}

// A 12-hour marker anywhere outside quotes switches every h of the pattern to 1..12, so
// "AM/PM h:mm" reads the same as "h:mm AM/PM".
bool hasAmPmMarker(std::string_view p) {
    char quote = 0;
    for (std::size_t i = 0; i < p.size(); ++i) {
        const char c = p[i];
        if (quote != 0) {
            if (c == quote)
                quote = 0;
            continue;
        }
        if (c == '"' || c == '\'') {
            quote = c;
            continue;
        }
        const std::string_view rest = p.substr(i);
        if (startsWithNoCase(rest, "am/pm") || startsWithNoCase(rest, "a/p") ||
            startsWithNoCase(rest, "ampm"))
            return true;
    }
    return false;
}

} // namespace

std::string formatLocalePattern(std::string_view pattern, DateSerial s, const FormatSettings& fs) {
    const CivilDate date = decodeDate(s);
    const ClockTime time = decodeTime(s);
    const auto weekday = static_cast<std::size_t>(dayOfWeek(s) - 1);
    const auto month = static_cast<std::size_t>(date.month - 1);
    const std::string& designator = time.hour < 12 ? fs.timeAMString : fs.timePMString;

    std::string out;
    std::size_t i = 0;
    while (i < pattern.size()) {
        const char c = pattern[i];
        if (c == '\'') {
            // 'literal text'; a doubled quote stands for one quote, inside or outside.
            ++i;
            if (i < pattern.size() && pattern[i] == '\'') {
                out += '\'';
                ++i;
                continue;
            }
            while (i < pattern.size()) {
                if (pattern[i] == '\'') {
                    if (i + 1 < pattern.size() && pattern[i + 1] == '\'') {
                        out += '\'';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                out += pattern[i++];
            }
            continue;
        }
        const std::size_t n = runOf(pattern, i, c);
        switch (c) {
        case 'd':
            if (n <= 2)
                appendNumber(out, date.day, static_cast<int>(n));
            else
                out += n == 3 ? fs.shortDayNames[weekday] : fs.longDayNames[weekday];
            break;
        case 'M':
            if (n <= 2)
                appendNumber(out, date.month, static_cast<int>(n));
            else
                out += n == 3 ? fs.shortMonthNames[month] : fs.longMonthNames[month];
            break;
        case 'y':
            // "y" is the year of the century without a leading zero, "yy" with one.
            if (n <= 2)
                appendNumber(out, date.year % 100, static_cast<int>(n));
            else
                appendNumber(out, date.year, 4);
            break;
        case 'h':
            appendNumber(out, hourOn12HourClock(time.hour), n >= 2 ? 2 : 1);
            break;
        case 'H':
            appendNumber(out, time.hour, n >= 2 ? 2 : 1);
            break;
        case 'm':
            appendNumber(out, time.minute, n >= 2 ? 2 : 1);
            break;
        case 's':
            appendNumber(out, time.second, n >= 2 ? 2 : 1);
            break;
        case 't':
            // 24-hour locales have empty designators: the token then writes nothing.
            out += n == 1 ? firstCharacter(designator) : std::string_view(designator);
            break;
        default:
            // Separators such as "/" and ":" stand for themselves in a locale pattern, as
            // they do in the locales we read; the separators in FormatSettings are derived
            // from these very patterns, so the two always agree.
            out.append(pattern.substr(i, n));
            break;
        }
        i += n;
    }
    return out;
}

std::string formatDateTime(std::string_view pattern, DateSerial s, const FormatSettings& fs) {
    const CivilDate date = decodeDate(s);
    const ClockTime time = decodeTime(s);
    const auto weekday = static_cast<std::size_t>(dayOfWeek(s) - 1);
    const auto month = static_cast<std::size_t>(date.month - 1);
    const bool twelveHour = hasAmPmMarker(pattern);
    const bool afternoon = time.hour >= 12;

    std::string out;
    char lastToken = 0; // the last letter token, so "h:mm" reads minutes and "d/m" a month
    std::size_t i = 0;
    while (i < pattern.size()) {
        const char c = pattern[i];
        if (c == '"' || c == '\'') {
            const std::size_t close = pattern.find(c, i + 1);
            const std::size_t end = close == std::string_view::npos ? pattern.size() : close;
            out.append(pattern.substr(i + 1, end - i - 1));
            i = close == std::string_view::npos ? pattern.size() : close + 1;
            continue;
        }
        if (c == '/') {
            out += fs.dateSeparator;
            ++i;
            continue;
        }
        if (c == ':') {
            out += fs.timeSeparator;
            ++i;
            continue;
        }
        if (!isAsciiLetter(c)) {
            out += c;
            ++i;
            continue;
        }

        const char token = lowerAscii(c);
        if (token == 'a') {
            // The markers keep the letter case written in the pattern: "am/pm" gives "pm",
            // "AM/PM" gives "PM"; only "ampm" takes the locale's strings.
            const std::string_view rest = pattern.substr(i);
            if (startsWithNoCase(rest, "am/pm")) {
                out.append(afternoon ? rest.substr(3, 2) : rest.substr(0, 2));
                i += 5;
            } else if (startsWithNoCase(rest, "a/p")) {
                out += afternoon ? rest[2] : rest[0];
                i += 3;
            } else if (startsWithNoCase(rest, "ampm")) {
                out += afternoon ? fs.timePMString : fs.timeAMString;
                i += 4;
            } else {
                out += c;
                ++i;
            }
            lastToken = 'a';
            continue;
        }

        const std::size_t n = runOfNoCase(pattern, i, token);
        const int width = n >= 2 ? 2 : 1;
        char thisToken = token;
        switch (token) {
        case 'c':
            out += formatLocalePattern(fs.shortDateFormat, s, fs);
            if (time.hour != 0 || time.minute != 0 || time.second != 0 || time.msec != 0) {
                out += ' ';
                out += formatLocalePattern(fs.longTimeFormat, s, fs);
            }
            break;
        case 'd':
            if (n <= 2)
                appendNumber(out, date.day, width);
            else if (n == 3)
                out += fs.shortDayNames[weekday];
            else if (n == 4)
                out += fs.longDayNames[weekday];
            else if (n == 5)
                out += formatLocalePattern(fs.shortDateFormat, s, fs);
            else
                out += formatLocalePattern(fs.longDateFormat, s, fs);
            break;
        case 'm':
            if (lastToken == 'h') {
                appendNumber(out, time.minute, width);
                thisToken = 'n';
            } else if (n <= 2) {
                appendNumber(out, date.month, width);
            } else {
                out += n == 3 ? fs.shortMonthNames[month] : fs.longMonthNames[month];
            }
            break;
        case 'y':
            if (n <= 2)
                appendNumber(out, date.year % 100, 2);
            else
                appendNumber(out, date.year, 4);
            break;
        case 'h':
            appendNumber(out, twelveHour ? hourOn12HourClock(time.hour) : time.hour, width);
            break;
        case 'n':
            appendNumber(out, time.minute, width);
            break;
        case 's':
            appendNumber(out, time.second, width);
            break;
        case 'z':
            appendNumber(out, time.msec, n >= 3 ? 3 : 1);
            break;
        case 't':
            out += formatLocalePattern(n == 1 ? fs.shortTimeFormat : fs.longTimeFormat, s, fs);
            break;
        default:
            out.append(pattern.substr(i, n));
            break;
        }
        lastToken = thisToken;
        i += n;
    }
    return out;
}

} // namespace dw
