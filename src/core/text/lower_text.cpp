#include "core/text/lower_text.h"

namespace dw {

namespace {

// Lower case of a code point between U+0080 and U+07FF (two UTF-8 bytes); the answer stays
// in that range so the text keeps its length.
char32_t lowerTwoByte(char32_t c) {
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) // Latin-1 capitals, not the multiplication sign
        return c + 0x20;
    if (c == 0x178) // Y with diaeresis, whose small form is in Latin-1
        return 0xFF;
    // Latin Extended-A pairs capitals and small letters as neighbours; the runs differ in
    // whether the capital is the even or the odd one. U+0130 (dotted I) is left alone: its
    // lower case is two characters.
    if ((c >= 0x100 && c <= 0x12F) || (c >= 0x132 && c <= 0x137) || (c >= 0x14A && c <= 0x177))
        return (c % 2 == 0) ? c + 1 : c;
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E))
        return (c % 2 == 1) ? c + 1 : c;
    if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) // Greek capitals
        return c + 0x20;
    if (c >= 0x410 && c <= 0x42F) // Cyrillic capitals
        return c + 0x20;
    if (c >= 0x400 && c <= 0x40F) // Cyrillic capitals with marks
        return c + 0x50;
    return c;
}

bool isContinuation(unsigned char b) {
    return (b & 0xC0) == 0x80;
}

} // namespace

std::string lowerText(std::string_view text) {
    std::string out(text);
    for (size_t i = 0; i < out.size(); ++i) {
        const auto b = static_cast<unsigned char>(out[i]);
        if (b >= 'A' && b <= 'Z') {
            out[i] = static_cast<char>(b + ('a' - 'A'));
        } else if (b >= 0xC2 && b <= 0xDF && i + 1 < out.size() &&
                   isContinuation(static_cast<unsigned char>(out[i + 1]))) {
            const auto b2 = static_cast<unsigned char>(out[i + 1]);
            const char32_t c = (static_cast<char32_t>(b & 0x1F) << 6) | (b2 & 0x3F);
            const char32_t lower = lowerTwoByte(c);
            out[i] = static_cast<char>(0xC0 | (lower >> 6));
            out[i + 1] = static_cast<char>(0x80 | (lower & 0x3F));
            ++i;
        }
    }
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
