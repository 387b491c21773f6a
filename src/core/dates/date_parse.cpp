#include "core/dates/date_parse.h"

#include "core/dates/date_serial.h"
#include "core/text/lower_text.h"

#include <cstddef>
#include <string>

namespace dw {

namespace {

// Numbers are capped here: anything larger is out of range for a date or a time anyway,
// and the cap keeps a long run of digits from overflowing.
constexpr int kNumberCap = 1000000;

struct Number {
    int value = 0;
    int digits = 0;
};

// Walks a text the way the platform's date and time readers do: blanks may stand around
// every number, separator and marker.
class Scanner {
public:
    explicit Scanner(std::string_view text) : text_(text) {}

    // Skips spaces, including the no-break spaces some locales put into their patterns.
    bool skipBlanks() {
        const std::size_t start = pos_;
        for (;;) {
            const std::string_view rest = text_.substr(pos_);
            if (rest.starts_with(' '))
                pos_ += 1;
            else if (rest.starts_with("\xC2\xA0")) // U+00A0
                pos_ += 2;
            else if (rest.starts_with("\xE2\x80\xAF")) // U+202F
                pos_ += 3;
            else
                break;
        }
        return pos_ != start;
    }

    bool atEnd() const { return pos_ >= text_.size(); }

    char peek() const { return atEnd() ? '\0' : text_[pos_]; }

    void advance(std::size_t n) { pos_ += n; }

    std::string_view rest() const { return text_.substr(pos_); }

    std::optional<Number> number() {
        skipBlanks();
        Number n;
        while (!atEnd() && text_[pos_] >= '0' && text_[pos_] <= '9') {
            n.value = n.value >= kNumberCap ? kNumberCap : n.value * 10 + (text_[pos_] - '0');
            ++n.digits;
            ++pos_;
        }
        if (n.digits == 0)
            return std::nullopt;
        return n;
    }

    bool takeChar(char c) {
        skipBlanks();
        if (!atEnd() && text_[pos_] == c) {
            ++pos_;
            return true;
        }
        return false;
    }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

// Reads an AM or PM marker: the locale's strings or the English ones, letter case ignored.
// Answers 0 for AM, 12 for PM, -1 when there is none. The longest match wins, so a locale
// whose AM text begins like its PM text still reads right; empty strings (24-hour locales)
// never match.
int takeMarker(Scanner& sc, const FormatSettings& fs) {
    sc.skipBlanks();
    const struct {
        std::string_view text;
        int baseHour;
    } candidates[] = {{fs.timeAMString, 0}, {"AM", 0}, {fs.timePMString, 12}, {"PM", 12}};
    int found = -1;
    std::size_t foundLength = 0;
    for (const auto& candidate : candidates) {
        if (!candidate.text.empty() && candidate.text.size() > foundLength &&
            startsWithNoCase(sc.rest(), candidate.text)) {
            found = candidate.baseHour;
            foundLength = candidate.text.size();
        }
    }
    sc.advance(foundLength);
    return found;
}

enum class DateOrder { MonthDayYear, DayMonthYear, YearMonthDay };

// The first of d, M and y in the pattern decides; letters in quotes are literal text.
DateOrder dateOrderOf(std::string_view pattern) {
    bool quoted = false;
    for (const char c : pattern) {
        if (c == '\'') {
            quoted = !quoted;
            continue;
        }
        if (quoted)
            continue;
        switch (lowerAscii(c)) {
        case 'd':
            return DateOrder::DayMonthYear;
        case 'm':
            return DateOrder::MonthDayYear;
        case 'y':
            return DateOrder::YearMonthDay;
        default:
            break;
        }
    }
    return DateOrder::MonthDayYear;
}

// The separators a date may be written with: the locale's, and the usual '/', '-' and '.'.
// A date must use one of them throughout. Answers the separator read, or '\0'. When the
// locale separates by spaces, the blanks between two numbers are the separator.
char takeDateSeparator(Scanner& sc, char locale, char required) {
    const bool hadBlanks = sc.skipBlanks();
    const char c = sc.peek();
    const bool accepted = c != '\0' && (c == locale || c == '/' || c == '-' || c == '.');
    if (accepted && (required == '\0' || c == required)) {
        sc.advance(1);
        return c;
    }
    if (hadBlanks && locale == ' ' && (required == '\0' || required == ' '))
        return ' ';
    return '\0';
}

// A year written with one or two digits lands in the hundred years from 50 years before the
// current one to 49 years after it.
int widenYear(int shortYear, int currentYear) {
    const int windowStart = currentYear - 50;
    int century = windowStart / 100 * 100;
    if (windowStart < 0 && windowStart % 100 != 0)
        century -= 100;
    int year = century + shortYear;
    if (year < windowStart)
        year += 100;
    return year;
}

} // namespace

namespace {

// The checks every reading ends with: the 12-hour clock runs 12, 1, ..., 11, so "0 AM" and
// "13 PM" are no times.
std::optional<double> validTime(int h, int m, int s, int baseHour) {
    if (baseHour >= 0) {
        if (h < 1 || h > 12)
            return std::nullopt;
        h = h % 12 + baseHour;
    }
    if (h >= 24 || m >= 60 || s >= 60)
        return std::nullopt;
    return timeFraction(h, m, s);
}

// Reads a time the way the locale writes it, field by field along its pattern, for the
// locales whose times carry words or letters ("18 h 05", "18:05 ч.", "18時05分").
std::optional<double> parseTimeByPattern(std::string_view text, std::string_view pattern,
                                         const FormatSettings& fs) {
    if (pattern.empty())
        return std::nullopt;
    Scanner sc(text);
    int h = -1, m = 0, s = 0, baseHour = -1;
    bool twelveHour = false;
    for (std::size_t i = 0; i < pattern.size();) {
        const char c = pattern[i];
        std::size_t run = 1;
        while (i + run < pattern.size() && pattern[i + run] == c)
            ++run;
        if (c == 'h' || c == 'H' || c == 'm' || c == 's') {
            const auto n = sc.number();
            if (!n)
                return std::nullopt;
            if (c == 'm')
                m = n->value;
            else if (c == 's')
                s = n->value;
            else {
                h = n->value;
                twelveHour = c == 'h';
            }
            i += run;
        } else if (c == 't') {
            // An empty designator (a 24-hour locale) is simply absent.
            baseHour = takeMarker(sc, fs);
            i += run;
        } else if (c == '\'') {
            const std::size_t close = pattern.find('\'', i + 1);
            const std::string_view literal = pattern.substr(
                i + 1, close == std::string_view::npos ? std::string_view::npos : close - i - 1);
            sc.skipBlanks();
            if (!startsWithNoCase(sc.rest(), literal))
                return std::nullopt;
            sc.advance(literal.size());
            i = close == std::string_view::npos ? pattern.size() : close + 1;
        } else if (c == ' ') {
            sc.skipBlanks();
            ++i;
        } else {
            sc.skipBlanks();
            if (sc.peek() != c)
                return std::nullopt;
            sc.advance(1);
            ++i;
        }
    }
    sc.skipBlanks();
    if (h < 0 || !sc.atEnd())
        return std::nullopt;
    if (twelveHour && baseHour < 0 && !fs.timeAMString.empty())
        return std::nullopt;
    return validTime(h, m, s, baseHour);
}

std::optional<double> parseTimeFree(std::string_view text, const FormatSettings& fs) {
    Scanner sc(text);
    int baseHour = takeMarker(sc, fs);
    const auto hour = sc.number();
    if (!hour)
        return std::nullopt;
    int h = hour->value;
    int m = 0;
    int s = 0;
    const auto takeSeparator = [&] { return sc.takeChar(fs.timeSeparator) || sc.takeChar(':'); };
    if (takeSeparator()) {
        const auto minute = sc.number();
        if (!minute)
            return std::nullopt;
        m = minute->value;
        if (takeSeparator()) {
            const auto second = sc.number();
            if (!second)
                return std::nullopt;
            s = second->value;
        }
    }
    if (baseHour < 0)
        baseHour = takeMarker(sc, fs);
    sc.skipBlanks();
    if (!sc.atEnd())
        return std::nullopt;
    return validTime(h, m, s, baseHour);
}

} // namespace

std::optional<double> parseTimeText(std::string_view text, const FormatSettings& fs) {
    if (auto t = parseTimeFree(text, fs))
        return t;
    if (auto t = parseTimeByPattern(text, fs.shortTimeFormat, fs))
        return t;
    return parseTimeByPattern(text, fs.longTimeFormat, fs);
}

namespace {

// A marker as typed: the start of an AM or a PM text, full stops and letter case ignored.
// Answers 0 for AM, 12 for PM, -1 when the text starts neither or both.
int typedMarker(std::string_view typed, const FormatSettings& fs) {
    std::string letters;
    for (const char c : typed)
        if (c != '.')
            letters += c;
    while (!letters.empty() && letters.back() == ' ')
        letters.pop_back();
    if (letters.empty())
        return -1;
    const auto startsOne = [&](std::string_view a, std::string_view b) {
        std::string plainA, plainB;
        for (const char c : a)
            if (c != '.')
                plainA += c;
        for (const char c : b)
            if (c != '.')
                plainB += c;
        return (!plainA.empty() && startsWithNoCase(plainA, letters)) ||
               (!plainB.empty() && startsWithNoCase(plainB, letters));
    };
    const bool am = startsOne(fs.timeAMString, "AM");
    const bool pm = startsOne(fs.timePMString, "PM");
    if (am == pm)
        return -1;
    return am ? 0 : 12;
}

} // namespace

std::optional<double> parseTypedTime(std::string_view text, const FormatSettings& fs) {
    Scanner sc(text);
    sc.skipBlanks();
    const std::string_view start = sc.rest();
    std::size_t digits = 0;
    while (digits < start.size() && start[digits] >= '0' && start[digits] <= '9')
        ++digits;
    int h = -1;
    int m = 0;
    if (digits >= 1 && digits <= 4) {
        const auto number = [&](std::size_t from, std::size_t count) {
            int v = 0;
            for (std::size_t i = from; i < from + count; ++i)
                v = v * 10 + (start[i] - '0');
            return v;
        };
        sc.advance(digits);
        const char sep = sc.peek();
        if (digits <= 2 && sep != '\0' && (sep == ':' || sep == '.' || sep == fs.timeSeparator)) {
            // Hours, a separator, exactly two digits of minutes.
            sc.advance(1);
            const std::string_view rest = sc.rest();
            if (rest.size() >= 2 && rest[0] >= '0' && rest[0] <= '9' && rest[1] >= '0' &&
                rest[1] <= '9' && (rest.size() == 2 || rest[2] < '0' || rest[2] > '9')) {
                h = number(0, digits);
                m = (rest[0] - '0') * 10 + (rest[1] - '0');
                sc.advance(2);
            }
        } else if (digits <= 2) {
            h = number(0, digits);
        } else {
            // "930", "0930", "2130": the last two digits are the minutes.
            h = number(0, digits - 2);
            m = number(digits - 2, 2);
        }
    }
    if (h >= 0) {
        sc.skipBlanks();
        const std::string_view marker = sc.rest();
        int baseHour = -1;
        if (!marker.empty()) {
            baseHour = typedMarker(marker, fs);
            if (baseHour < 0)
                h = -1;
        }
        if (h >= 0)
            if (const auto t = validTime(h, m, 0, baseHour))
                return t;
    }
    // The locale's own texts ("18 h 05", "9:30 PM"), as the field shows them, to the minute.
    if (const auto t = parseTimeText(text, fs)) {
        const int minutes = static_cast<int>(*t * 1440 + 1e-6);
        return timeFraction(minutes / 60, minutes % 60);
    }
    return std::nullopt;
}

std::optional<int> parseShortDateText(std::string_view text, const FormatSettings& fs,
                                      int currentYear) {
    Scanner sc(text);
    const auto first = sc.number();
    if (!first)
        return std::nullopt;
    const char separator = takeDateSeparator(sc, fs.dateSeparator, '\0');
    if (separator == '\0')
        return std::nullopt;
    const auto second = sc.number();
    if (!second)
        return std::nullopt;
    std::optional<Number> third;
    // A separator may also end the text ("15.3." or "2000. 03. 15."), as some locales write.
    if (takeDateSeparator(sc, fs.dateSeparator, separator) != '\0') {
        third = sc.number();
        if (third)
            takeDateSeparator(sc, fs.dateSeparator, separator);
    }
    sc.skipBlanks();
    if (!sc.atEnd())
        return std::nullopt;

    const DateOrder order = dateOrderOf(fs.shortDateFormat);
    Number year{currentYear, 4};
    int month = 0;
    int day = 0;
    if (!third) {
        month = order == DateOrder::DayMonthYear ? second->value : first->value;
        day = order == DateOrder::DayMonthYear ? first->value : second->value;
    } else {
        switch (order) {
        case DateOrder::MonthDayYear:
            month = first->value;
            day = second->value;
            year = *third;
            break;
        case DateOrder::DayMonthYear:
            day = first->value;
            month = second->value;
            year = *third;
            break;
        case DateOrder::YearMonthDay:
            year = *first;
            month = second->value;
            day = third->value;
            break;
        }
    }
    int y = year.value;
    if (year.digits <= 2)
        y = widenYear(y, currentYear);
    if (!isValidDate(y, month, day))
        return std::nullopt;
    return dateSerialOf(y, month, day);
}

void fix2000(FormatSettings& fs) {
    std::string& shortDate = fs.shortDateFormat;
    if (shortDate.find("yyyy") == std::string::npos) {
        if (const auto at = shortDate.find("yy"); at != std::string::npos)
            shortDate.replace(at, 2, "yyyy");
    }
    if (const auto at = shortDate.find("MMM"); at != std::string::npos)
        shortDate.replace(at, 3, "MM");

    std::string& longTime = fs.longTimeFormat;
    for (const std::string_view seconds : {":ss", ".ss", "ss"}) {
        if (const auto at = longTime.find(seconds); at != std::string::npos) {
            longTime.erase(at, seconds.size());
            break;
        }
    }
}

} // namespace dw
