#pragma once

#include <string>
#include <string_view>

namespace dw {

// Full Unicode case folding of a UTF-8 text, for comparing texts without regard to letter
// case: "ÉCOLE" and "école" fold alike, and so do "Straße" and "STRASSE". The answer is for
// comparing only (it may be longer than the text). A text that is not valid UTF-8 has only
// its ASCII letters folded, so that no two different byte strings become equal by
// substitution.
std::string foldCase(std::string_view text);

// The text in lower case, as a reader expects to see it ("9:00 AM" becomes "9:00 am").
// Not for comparing: use foldCase. A text that is not valid UTF-8 has only its ASCII
// letters lowered.
std::string lowerCase(std::string_view text);

// ASCII-only case helpers, for pattern letters, markers and settings names, whose case
// rules are ASCII by definition.
inline char lowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
std::string lowerAscii(std::string_view text);
bool equalsNoCase(std::string_view a, std::string_view b);
bool startsWithNoCase(std::string_view text, std::string_view prefix);

} // namespace dw
