#pragma once

#include <string>
#include <string_view>

namespace dw {

// Lower case for case-insensitive matching of UTF-8 texts such as month and weekday names.
// Covers ASCII, Latin-1, Latin Extended-A, basic Greek and basic Cyrillic, which holds the
// capitals of the locales' month and weekday names. Every mapping keeps the byte length of
// its character; other characters and bytes that are not valid UTF-8 pass unchanged.
// Not a full Unicode case fold: enough to compare names, not to sort text.
std::string lowerText(std::string_view text);

// ASCII-only case helpers, for pattern letters, markers and settings names.
inline char lowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
std::string lowerAscii(std::string_view text);
bool equalsNoCase(std::string_view a, std::string_view b);
bool startsWithNoCase(std::string_view text, std::string_view prefix);

} // namespace dw
