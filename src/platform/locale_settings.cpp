#include "platform/locale_settings.h"

#include <QLocale>
#include <cstddef>

namespace dw {

namespace {

bool isAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// Qt's locale data writes U+00A0 and U+202F where a plain blank is meant, and puts
// invisible direction marks between the numbers of right-to-left dates. A date or time text
// the program writes must read back, and match what the user types, so they go.
std::string typeableText(const QString& text) {
    QString plain = text;
    plain.replace(QChar(0x00A0), QChar(' '));
    plain.replace(QChar(0x202F), QChar(' '));
    plain.remove(QChar(0x200E));
    plain.remove(QChar(0x200F));
    plain.remove(QChar(0x061C));
    return plain.toStdString();
}

// Length of a 'quoted' section starting at i, closing quote included ('' inside is a quote).
std::size_t quotedLength(std::string_view p, std::size_t i) {
    std::size_t j = i + 1;
    while (j < p.size()) {
        if (p[j] == '\'') {
            if (j + 1 < p.size() && p[j + 1] == '\'') {
                j += 2;
                continue;
            }
            return j + 1 - i;
        }
        ++j;
    }
    return p.size() - i;
}

std::size_t runOf(std::string_view p, std::size_t i, char c) {
    std::size_t n = 0;
    while (i + n < p.size() && p[i + n] == c)
        ++n;
    return n;
}

bool hasUnquotedAmPm(std::string_view p) {
    for (std::size_t i = 0; i < p.size();) {
        if (p[i] == '\'') {
            i += quotedLength(p, i);
            continue;
        }
        if (p[i] == 'a' || p[i] == 'A' || p[i] == 'B')
            return true;
        ++i;
    }
    return false;
}

void trimTrailingBlanks(std::string& s) {
    while (!s.empty() && s.back() == ' ')
        s.pop_back();
}

} // namespace

std::string windowsPatternFromQt(const QString& qtPattern, bool& hasAmPm) {
    const std::string qt = typeableText(qtPattern);
    const std::string_view p = qt;
    hasAmPm = hasUnquotedAmPm(p);

    std::string out;
    std::size_t i = 0;
    while (i < p.size()) {
        const char c = p[i];
        if (c == '\'') {
            const std::size_t n = quotedLength(p, i);
            out.append(p.substr(i, n));
            i += n;
            continue;
        }
        const std::size_t n = runOf(p, i, c);
        switch (c) {
        case 'h':
            out.append(n, hasAmPm ? 'h' : 'H');
            i += n;
            break;
        case 'a':
        case 'A':
            // "AP", "ap", "Ap", "aP" or a lone "A"/"a": all one designator.
            out += "tt";
            i += (i + 1 < p.size() && (p[i + 1] == 'p' || p[i + 1] == 'P')) ? 2 : 1;
            break;
        case 'B':
            // A day period Qt passes through from its locale data unconverted (zh_TW
            // writes "Bh:mm"); the AM/PM designator is the nearest we have.
            out += "tt";
            i += n;
            break;
        case 't': {
            // The time zone has no place in a time the program stores; drop it with the
            // brackets, comma and blank that set it off.
            i += n;
            if (!out.empty() && i < p.size() &&
                ((out.back() == '(' && p[i] == ')') || (out.back() == '[' && p[i] == ']'))) {
                out.pop_back();
                ++i;
            }
            const std::size_t before = out.size();
            trimTrailingBlanks(out);
            if (!out.empty() && out.back() == ',') {
                out.pop_back();
                trimTrailingBlanks(out);
            }
            if (out.size() == before || out.empty()) {
                while (i < p.size() && p[i] == ' ')
                    ++i;
            }
            break;
        }
        case 'z':
            i += n;
            if (!out.empty() && (out.back() == '.' || out.back() == ',' || out.back() == ':'))
                out.pop_back();
            break;
        default:
            // d, M, y, H, m and s mean the same in both styles; anything else is literal.
            out.append(p.substr(i, n));
            i += n;
            break;
        }
    }
    return out;
}

char fieldSeparatorOf(std::string_view pattern, std::string_view fieldLetters, char fallback) {
    bool afterField = false;
    bool sawBlank = false;
    for (std::size_t i = 0; i < pattern.size();) {
        const char c = pattern[i];
        if (c == '\'') {
            i += quotedLength(pattern, i);
            continue;
        }
        if (fieldLetters.find(c) != std::string_view::npos) {
            if (afterField && sawBlank)
                return ' ';
            afterField = true;
            sawBlank = false;
            i += runOf(pattern, i, c);
            continue;
        }
        if (afterField) {
            const auto byte = static_cast<unsigned char>(c);
            if (c == ' ')
                sawBlank = true;
            else if (byte < 0x80 && !isAsciiLetter(c))
                return c;
            // Letters and non-ASCII marks (such as the bidi marks of right-to-left
            // locales) are no separator.
        }
        ++i;
    }
    return fallback;
}

FormatSettings formatSettingsFrom(const QLocale& locale) {
    FormatSettings fs;
    bool ignored = false;
    fs.shortDateFormat = windowsPatternFromQt(locale.dateFormat(QLocale::ShortFormat), ignored);
    fs.longDateFormat = windowsPatternFromQt(locale.dateFormat(QLocale::LongFormat), ignored);
    bool shortTimeAmPm = false;
    bool longTimeAmPm = false;
    fs.shortTimeFormat =
        windowsPatternFromQt(locale.timeFormat(QLocale::ShortFormat), shortTimeAmPm);
    fs.longTimeFormat = windowsPatternFromQt(locale.timeFormat(QLocale::LongFormat), longTimeAmPm);

    // Qt answers AM/PM texts even for 24-hour locales; such a locale shows none.
    if (shortTimeAmPm || longTimeAmPm) {
        fs.timeAMString = typeableText(locale.amText());
        fs.timePMString = typeableText(locale.pmText());
    } else {
        fs.timeAMString.clear();
        fs.timePMString.clear();
    }

    fs.dateSeparator = fieldSeparatorOf(fs.shortDateFormat, "dMy", '/');
    fs.timeSeparator = fieldSeparatorOf(fs.shortTimeFormat, "hHms", ':');

    // A separator outside ASCII (the Arabic decimal mark, say) does not fit in one char;
    // '.' is then the best stand-in.
    const QString decimal = locale.decimalPoint();
    fs.decimalSeparator = !decimal.isEmpty() && decimal.at(0).unicode() < 0x80
                              ? static_cast<char>(decimal.at(0).unicode())
                              : '.';

    for (int month = 1; month <= 12; ++month) {
        const auto at = static_cast<std::size_t>(month - 1);
        fs.longMonthNames[at] = locale.monthName(month, QLocale::LongFormat).toStdString();
        fs.shortMonthNames[at] = locale.monthName(month, QLocale::ShortFormat).toStdString();
    }
    // Qt counts weekdays 1 = Monday to 7 = Sunday; ours start on Sunday.
    for (std::size_t at = 0; at < 7; ++at) {
        const int qtDay = at == 0 ? 7 : static_cast<int>(at);
        fs.longDayNames[at] = locale.dayName(qtDay, QLocale::LongFormat).toStdString();
        fs.shortDayNames[at] = locale.dayName(qtDay, QLocale::ShortFormat).toStdString();
    }
    return fs;
}

FormatSettings systemFormatSettings() {
    // The bare C locale (a server, a container) has no real conventions: its short date
    // names the month in letters and its short time shows seconds. Use en-US instead.
    const QLocale system = QLocale::system();
    if (system.language() == QLocale::C)
        return formatSettingsFrom(QLocale(QLocale::English, QLocale::UnitedStates));
    return formatSettingsFrom(system);
}

} // namespace dw
