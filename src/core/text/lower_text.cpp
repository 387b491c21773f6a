#include "core/text/lower_text.h"

#include "core/text/unicode_string.h"

#include <unicode/locid.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>

namespace dw {

namespace {

bool isAscii(std::string_view text) {
    for (const char c : text)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

} // namespace

std::string foldCase(std::string_view text) {
    // Folding leaves every ASCII character but A to Z alone: most texts need no ICU.
    if (isAscii(text))
        return lowerAscii(text);
    std::optional<icu::UnicodeString> u = unicodeOfUtf8(text);
    if (!u)
        return lowerAscii(text);
    std::string out;
    u->foldCase(U_FOLD_CASE_DEFAULT).toUTF8String(out);
    return out;
}

std::string lowerCase(std::string_view text) {
    if (isAscii(text))
        return lowerAscii(text);
    std::optional<icu::UnicodeString> u = unicodeOfUtf8(text);
    if (!u)
        return lowerAscii(text);
    std::string out;
    u->toLower(icu::Locale::getRoot()).toUTF8String(out);
    return out;
}

std::string lowerAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = lowerAscii(c);
    return out;
}

bool equalsNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && startsWithNoCase(a, b);
}

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (lowerAscii(text[i]) != lowerAscii(prefix[i]))
            return false;
    return true;
}

} // namespace dw
