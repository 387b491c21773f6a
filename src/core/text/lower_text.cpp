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

// The text through one of ICU's case mappings. Both leave every ASCII character but A to Z
// alone, so most texts need no ICU; a text that is not UTF-8 has only A to Z changed.
template <typename Map> std::string mappedCase(std::string_view text, Map map) {
    if (isAscii(text))
        return lowerAscii(text);
    std::optional<icu::UnicodeString> u = unicodeOfUtf8(text);
    if (!u)
        return lowerAscii(text);
    std::string out;
    map(*u).toUTF8String(out);
    return out;
}

} // namespace

std::string foldCase(std::string_view text) {
    return mappedCase(text, [](icu::UnicodeString& u) -> icu::UnicodeString& {
        return u.foldCase(U_FOLD_CASE_DEFAULT);
    });
}

std::string lowerCase(std::string_view text) {
    return mappedCase(text, [](icu::UnicodeString& u) -> icu::UnicodeString& {
        return u.toLower(icu::Locale::getRoot());
    });
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
