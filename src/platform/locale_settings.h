#pragma once

#include "core/dates/format_settings.h"

#include <QString>
#include <string>
#include <string_view>

class QLocale;

namespace dw {

// Turns a Qt date or time pattern into the Windows locale style that FormatSettings holds:
// "AP"/"ap"/"A"/"a" (and a stray day period "B") become "tt"; Qt's "h"/"hh" mean the
// 12-hour clock only when the pattern has an AM/PM marker, so without one they become
// "H"/"HH"; the time zone ("t" to "tttt") is dropped with the blank, comma or brackets
// around it, and milliseconds with the separator before them; no-break spaces become plain
// spaces and direction marks go, so texts the program writes can be typed back. Sets
// hasAmPm when the pattern shows AM/PM.
std::string windowsPatternFromQt(const QString& qtPattern, bool& hasAmPm);

// The separator between the first two fields of a Windows-style pattern whose letters are
// in `fieldLetters` ("dMy" for dates, "hHms" for times): the first ASCII mark between them,
// else a blank when only blanks stand there, else `fallback`.
char fieldSeparatorOf(std::string_view pattern, std::string_view fieldLetters, char fallback);

FormatSettings formatSettingsFrom(const QLocale& locale);

// The user's locale, from QLocale::system().
FormatSettings systemFormatSettings();

} // namespace dw
