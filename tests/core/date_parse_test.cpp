#include "core/dates/date_format.h"
#include "core/dates/date_parse.h"
#include "core/dates/date_serial.h"
#include "core/dates/format_settings.h"

#include <gtest/gtest.h>
#include <optional>
#include <span>
#include <string>

namespace dw {
namespace {

// A parsed time as "h:m:s", or "invalid", so a failing case prints readably.
std::string clockOf(std::optional<double> fraction) {
    if (!fraction)
        return "invalid";
    const ClockTime t = decodeTime(*fraction);
    return std::to_string(t.hour) + ":" + std::to_string(t.minute) + ":" + std::to_string(t.second);
}

TEST(ParseTime, EnglishTexts) {
    const FormatSettings us = FormatSettings::enUS();
    const struct {
        const char* text;
        const char* expected;
    } cases[] = {
        {"6:05 PM", "18:5:0"},
        {"6:05:09 PM", "18:5:9"},
        {"18:05", "18:5:0"},
        {"9", "9:0:0"},
        {"9 am", "9:0:0"},
        {"9PM", "21:0:0"},
        {"  7:5  ", "7:5:0"},
        {"7 : 05", "7:5:0"},
        {"PM 6:05", "18:5:0"},
        {"pm6:05", "18:5:0"},
        {"12:00 AM", "0:0:0"},
        {"12:30 PM", "12:30:0"},
        {"0:00", "0:0:0"},
        {"23:59:59", "23:59:59"},
        // Out of range.
        {"24:00", "invalid"},
        {"7:60", "invalid"},
        {"7:05:60", "invalid"},
        {"13:00 PM", "invalid"},
        {"13 AM", "invalid"},
        {"0:30 AM", "invalid"},
        {"99999999999:00", "invalid"},
        // Not a time at all.
        {"", "invalid"},
        {"   ", "invalid"},
        {"PM", "invalid"},
        {"noon", "invalid"},
        {"7:", "invalid"},
        {"7:05:", "invalid"},
        {":05", "invalid"},
        {"7:05 XM", "invalid"},
        {"7:05 PM PM", "invalid"},
        {"AM 7:05 PM", "invalid"},
        {"-7:05", "invalid"},
        {"7:05:09:01", "invalid"},
        {"7.05", "invalid"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("\"") + c.text + "\"");
        EXPECT_EQ(clockOf(parseTimeText(c.text, us)), c.expected);
    }
    // The answer is the fraction of a day.
    EXPECT_DOUBLE_EQ(*parseTimeText("6:00 PM", us), 0.75);
}

TEST(ParseTime, LocaleSeparatorAndDesignators) {
    FormatSettings fi;
    fi.shortTimeFormat = "H.mm";
    fi.longTimeFormat = "H.mm.ss";
    fi.timeSeparator = '.';
    fi.timeAMString = "ap.";
    fi.timePMString = "ip.";
    FormatSettings es = FormatSettings::enUS();
    es.timeAMString = "a.\xC2\xA0m."; // with a no-break space, as the locale writes it
    es.timePMString = "p.\xC2\xA0m.";
    FormatSettings de;
    de.timeAMString = "";
    de.timePMString = "";

    const struct {
        const FormatSettings* fs;
        const char* text;
        const char* expected;
    } cases[] = {
        {&fi, "18.05", "18:5:0"},
        {&fi, "18.05.09", "18:5:9"},
        {&fi, "18:05", "18:5:0"}, // ':' is always understood
        {&fi, "6.05 ip.", "18:5:0"},
        {&fi, "6.05 IP.", "18:5:0"},
        {&fi, "6.05 PM", "18:5:0"}, // and so is English
        {&es, "6:05 p.\xC2\xA0m.", "18:5:0"},
        {&es, "12:05 a.\xC2\xA0m.", "0:5:0"},
        // A 24-hour locale has no designators of its own; an empty one must not match.
        {&de, "18:05", "18:5:0"},
        {&de, "6:05 PM", "18:5:0"},
        {&de, "6:05 ", "6:5:0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("\"") + c.text + "\"");
        EXPECT_EQ(clockOf(parseTimeText(c.text, *c.fs)), c.expected);
    }
}

struct DateCase {
    const char* text;
    int y, m, d; // y == 0: not a date
};

std::string ymd(const CivilDate& d) {
    return std::to_string(d.year) + "-" + std::to_string(d.month) + "-" + std::to_string(d.day);
}

void expectDates(const FormatSettings& fs, int currentYear, std::span<const DateCase> cases) {
    for (const DateCase& c : cases) {
        SCOPED_TRACE(std::string("\"") + c.text + "\" with " + fs.shortDateFormat);
        const std::optional<int> got = parseShortDateText(c.text, fs, currentYear);
        const std::string expected = c.y == 0 ? "invalid" : ymd(CivilDate{c.y, c.m, c.d});
        EXPECT_EQ(got ? ymd(decodeDate(*got)) : "invalid", expected);
    }
}

TEST(ParseShortDate, MonthDayYearOrder) {
    const DateCase cases[] = {
        {"3/15/2000", 2000, 3, 15},
        {" 03 / 15 / 2000 ", 2000, 3, 15},
        {"3/15", 2023, 3, 15}, // no year: the current one
        {"2/29/2000", 2000, 2, 29},
        {"12/31/9999", 9999, 12, 31},
        {"3-15-2000", 2000, 3, 15}, // the common separators are understood too
        {"3.15.2000", 2000, 3, 15},
        {"2/29/2001", 0, 0, 0},
        {"2/29", 0, 0, 0}, // 2023 has no 29 February
        {"15/3/2000", 0, 0, 0},
        {"0/1/2000", 0, 0, 0},
        {"1/0/2000", 0, 0, 0},
        {"1/1/10000", 0, 0, 0},
        {"1/1/0000", 0, 0, 0},
        {"3/15-2000", 0, 0, 0}, // mixed separators
        {"3 15 2000", 0, 0, 0}, // blanks are no separator here
        {"3/15/2000/1", 0, 0, 0},
        {"3/15/2000x", 0, 0, 0},
        {"3", 0, 0, 0},
        {"3/", 0, 0, 0},
        {"", 0, 0, 0},
        {"March 15, 2000", 0, 0, 0},
    };
    expectDates(FormatSettings::enUS(), 2023, cases);

    const DateCase leapYear[] = {{"2/29", 2024, 2, 29}};
    expectDates(FormatSettings::enUS(), 2024, leapYear);
}

TEST(ParseShortDate, OrderFollowsTheLocalePattern) {
    FormatSettings de;
    de.shortDateFormat = "dd.MM.yyyy";
    de.dateSeparator = '.';
    const DateCase german[] = {
        {"15.03.2000", 2000, 3, 15}, {"15.3.", 2024, 3, 15}, // a trailing separator is fine
        {"15.3", 2024, 3, 15},       {"15/3/2000", 2000, 3, 15}, {"3.15.2000", 0, 0, 0},
    };
    expectDates(de, 2024, german);

    FormatSettings hu;
    hu.shortDateFormat = "yyyy. MM. dd.";
    hu.dateSeparator = '.';
    const DateCase hungarian[] = {
        {"2000. 03. 15.", 2000, 3, 15},
        {"2000.3.15", 2000, 3, 15},
        {"3.15", 2024, 3, 15}, // without a year the month comes first
        {"15.3.2000", 0, 0, 0},
    };
    expectDates(hu, 2024, hungarian);

    // A pattern that separates by blanks lets blanks separate the numbers.
    FormatSettings spaced;
    spaced.shortDateFormat = "d MM yyyy";
    spaced.dateSeparator = ' ';
    const DateCase spacedCases[] = {
        {"15 3 2000", 2000, 3, 15},
        {"15  03", 2024, 3, 15},
        {"15/3/2000", 2000, 3, 15},
        {"15 3/2000", 0, 0, 0},
    };
    expectDates(spaced, 2024, spacedCases);

    // Letters in quotes do not decide the order.
    FormatSettings quoted;
    quoted.shortDateFormat = "'Day' d/M/yyyy";
    const DateCase quotedCases[] = {{"15/3/2000", 2000, 3, 15}};
    expectDates(quoted, 2024, quotedCases);
}

TEST(ParseShortDate, ShortYearsLandNearTheCurrentYear) {
    // With 2024 as the current year the window runs from 1974 to 2073.
    const DateCase cases[] = {
        {"1/1/74", 1974, 1, 1},
        {"1/1/73", 2073, 1, 1},
        {"1/1/00", 2000, 1, 1},
        {"1/1/0", 2000, 1, 1},
        {"1/1/99", 1999, 1, 1},
        {"1/1/5", 2005, 1, 1},
        // Three or four digits are taken as they stand.
        {"1/1/074", 74, 1, 1},
        {"1/1/0099", 99, 1, 1},
        {"1/1/1850", 1850, 1, 1},
    };
    expectDates(FormatSettings::enUS(), 2024, cases);

    // A window that straddles a century boundary the other way.
    const DateCase early[] = {{"1/1/49", 1949, 1, 1}, {"1/1/48", 2048, 1, 1}};
    expectDates(FormatSettings::enUS(), 1999, early);
}

TEST(Fix2000, AdjustsTheLocaleFormats) {
    const struct {
        const char* shortDate;
        const char* expectedShortDate;
    } dates[] = {
        {"dd-MMM-yy", "dd-MM-yyyy"},
        {"M/d/yy", "M/d/yyyy"},
        {"M/d/yyyy", "M/d/yyyy"},
        {"d MMMM yyyy", "d MMM yyyy"}, // only the first three of four letters
        {"yy/MM/dd 'yy'", "yyyy/MM/dd 'yy'"},
        {"d.M.y", "d.M.y"},       // no "yy": nothing to widen
        {"YY-MM-DD", "YY-MM-DD"}, // the rules are case-sensitive
    };
    for (const auto& c : dates) {
        SCOPED_TRACE(c.shortDate);
        FormatSettings fs;
        fs.shortDateFormat = c.shortDate;
        fix2000(fs);
        EXPECT_EQ(fs.shortDateFormat, c.expectedShortDate);
    }

    const struct {
        const char* longTime;
        const char* expectedLongTime;
    } times[] = {
        {"hh:mm:ss tt", "hh:mm tt"},
        {"h:mm:ss tt", "h:mm tt"},
        {"H.mm.ss", "H.mm"},
        {"HH:mm:ss.ss", "HH:mm.ss"},  // ":ss" first, even when ".ss" comes too
        {"H時mm分ss秒", "H時mm分秒"}, // no separator: the bare "ss" goes
        {"ss", ""},
        {"HH:mm", "HH:mm"},
    };
    for (const auto& c : times) {
        SCOPED_TRACE(c.longTime);
        FormatSettings fs;
        fs.longTimeFormat = c.longTime;
        fix2000(fs);
        EXPECT_EQ(fs.longTimeFormat, c.expectedLongTime);
    }

    // Nothing else changes.
    FormatSettings fs = FormatSettings::enUS();
    fix2000(fs);
    EXPECT_EQ(fs.shortTimeFormat, "h:mm tt");
    EXPECT_EQ(fs.longDateFormat, "dddd, MMMM d, yyyy");
    EXPECT_EQ(fs.longTimeFormat, "h:mm tt");
}

} // namespace
} // namespace dw

namespace dw {
namespace {

// Locales whose times carry words or letters are read along their own patterns, so a
// stored time reads back (the day view's order and the alarms depend on it).
TEST(ParseTime, TimesWithWordsReadAlongTheLocalePattern) {
    struct Case {
        const char* shortTime;
        const char* longTime;
        const char* am;
        const char* pm;
    } locales[] = {
        {"H:mm 'ч.'", "H:mm:ss 'ч.'", "", ""},           // Bulgarian
        {"HH 'h' mm", "HH 'h' mm 'min' ss 's'", "", ""}, // Canadian French
        {"H\xe6\x99\x82mm\xe5\x88\x86", "H\xe6\x99\x82mm\xe5\x88\x86ss\xe7\xa7\x92", "", ""},
        {"'Kl'. HH.mm", "'Kl'. HH.mm.ss", "", ""},
        {"tt h:mm", "tt h:mm:ss", "\xec\x98\xa4\xec\xa0\x84", "\xec\x98\xa4\xed\x9b\x84"}, // Korean
    };
    for (const auto& l : locales) {
        FormatSettings fs = FormatSettings::enUS();
        fs.shortTimeFormat = l.shortTime;
        fs.longTimeFormat = l.longTime;
        fs.timeAMString = l.am;
        fs.timePMString = l.pm;
        fix2000(fs);
        SCOPED_TRACE(l.shortTime);
        for (const double t :
             {timeFraction(0, 5), timeFraction(9, 30), timeFraction(18, 5), timeFraction(23, 59)}) {
            for (const char* pattern : {"t", "tt"}) {
                const std::string text = formatDateTime(pattern, t, fs);
                const auto back = parseTimeText(text, fs);
                ASSERT_TRUE(back.has_value()) << text;
                EXPECT_NEAR(*back, t, 1e-9) << text;
            }
        }
        EXPECT_FALSE(parseTimeText("18 x 05", fs).has_value());
    }
}

TEST(ParseTypedTime, TheFormsPeopleType) {
    FormatSettings fi; // Finnish: '.' between hours and minutes, "ap." and "ip."
    fi.shortTimeFormat = "H.mm";
    fi.timeSeparator = '.';
    fi.timeAMString = "ap.";
    fi.timePMString = "ip.";
    const FormatSettings us = FormatSettings::enUS();
    const struct {
        const FormatSettings* fs;
        const char* text;
        const char* expected;
    } cases[] = {
        {&us, "930", "9:30:0"},
        {&us, "0930", "9:30:0"},
        {&us, "2130", "21:30:0"},
        {&us, "9:30", "9:30:0"},
        {&us, "9.30", "9:30:0"},
        {&us, "21:30", "21:30:0"},
        {&us, "9", "9:0:0"},
        {&us, "0", "0:0:0"},
        {&us, " 9:30 ", "9:30:0"},
        // A marker, whole or begun: "p" is PM, "a" is AM.
        {&us, "9:30p", "21:30:0"},
        {&us, "9.30 pm", "21:30:0"},
        {&us, "11:45 P", "23:45:0"},
        {&us, "930p", "21:30:0"},
        {&us, "9 a.m.", "9:0:0"},
        {&us, "12a", "0:0:0"},
        {&us, "12:15 PM", "12:15:0"},
        {&fi, "18.05", "18:5:0"},
        {&fi, "6.05 i", "18:5:0"},
        {&fi, "6.05 ip.", "18:5:0"},
        // The locale's own texts read to the minute.
        {&us, "9:30:45 PM", "21:30:0"},
        // No time: nothing, words, out of range, a marker on a 24-hour hour, half a marker
        // that is no marker, minutes cut short, too many digits.
        {&us, "", "invalid"},
        {&us, "noon", "invalid"},
        {&us, "24", "invalid"},
        {&us, "9:60", "invalid"},
        {&us, "21:30 pm", "invalid"},
        {&us, "0 am", "invalid"},
        {&us, "9:30 x", "invalid"},
        {&us, "9:30 pmx", "invalid"},
        {&us, "12345", "invalid"},
        {&us, "4:28  P", "16:28:0"},
        {&us, "9:3", "9:3:0"}, // the locale reading's own leniency, shown back as 9:03
        {&us, "9:", "invalid"},
        {&us, "::", "invalid"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("\"") + c.text + "\"");
        EXPECT_EQ(clockOf(parseTypedTime(c.text, *c.fs)), c.expected);
    }
}

} // namespace
} // namespace dw
