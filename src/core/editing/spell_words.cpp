#include "core/editing/spell_words.h"

namespace dw {

namespace {

// Decodes the code point at i and its byte length; a byte that starts no valid sequence
// reads as itself, one byte long.
char32_t codePointAt(std::string_view s, std::size_t i, std::size_t& len) {
    const auto c = static_cast<unsigned char>(s[i]);
    len = 1;
    std::size_t extra = 0;
    char32_t cp = c;
    if (c >= 0xC0 && c < 0xE0) {
        extra = 1;
        cp = c & 0x1F;
    } else if (c >= 0xE0 && c < 0xF0) {
        extra = 2;
        cp = c & 0x0F;
    } else if (c >= 0xF0 && c < 0xF8) {
        extra = 3;
        cp = c & 0x07;
    }
    if (extra == 0 || extra >= s.size() - i)
        return c;
    for (std::size_t k = 1; k <= extra; ++k) {
        const auto b = static_cast<unsigned char>(s[i + k]);
        if ((b & 0xC0) != 0x80)
            return c;
        cp = (cp << 6) | (b & 0x3F);
    }
    len = extra + 1;
    return cp;
}

bool isDigit(char32_t c) {
    return c >= U'0' && c <= U'9';
}

bool isApostrophe(char32_t c) {
    return c == U'\'' || c == U'\u2019';
}

// Letters of any script, near enough for finding words: ASCII letters, the Latin, Greek
// and Cyrillic letters, and the other scripts' characters, but not the punctuation,
// symbol, space and emoji blocks.
bool isLetter(char32_t c) {
    if (c < 0x80)
        return (c >= U'a' && c <= U'z') || (c >= U'A' && c <= U'Z');
    if (c < 0xC0)
        return c == 0xAA || c == 0xB5 || c == 0xBA;
    if (c == 0xD7 || c == 0xF7)
        return false;
    if (c >= 0x2000 && c <= 0x2BFF) // punctuation, symbols, arrows, shapes
        return false;
    if (c >= 0x3000 && c <= 0x303F) // CJK punctuation
        return false;
    if (c >= 0xD800 && c <= 0xF8FF) // surrogates, private use
        return false;
    if (c >= 0xFE30 && c <= 0xFE4F) // compatibility punctuation
        return false;
    if (c >= 0xFF00 && c <= 0xFF20) // full-width punctuation and digits
        return false;
    if (c >= 0xFFF0 && c <= 0xFFFF)
        return false;
    if (c >= 0x1F000) // emoji and pictographs
        return false;
    return true;
}

} // namespace

std::optional<WordSpan> nextWord(std::string_view text, std::size_t from) {
    std::size_t i = from;
    // Step back onto a character boundary, so a position inside one is safe.
    while (i > 0 && i < text.size() && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80)
        --i;
    while (i < text.size()) {
        std::size_t len = 0;
        const char32_t c = codePointAt(text, i, len);
        if (!isLetter(c) && !isDigit(c)) {
            i += len;
            continue;
        }
        // A run of letters, digits and inner apostrophes.
        const std::size_t start = i;
        std::size_t end = i;
        bool digits = false;
        while (i < text.size()) {
            std::size_t l = 0;
            const char32_t d = codePointAt(text, i, l);
            if (isLetter(d) || isDigit(d)) {
                digits = digits || isDigit(d);
                i += l;
                end = i;
                continue;
            }
            if (isApostrophe(d) && i + l < text.size()) {
                std::size_t l2 = 0;
                const char32_t after = codePointAt(text, i + l, l2);
                if (isLetter(after) || isDigit(after)) {
                    i += l;
                    continue;
                }
            }
            break;
        }
        if (!digits)
            return WordSpan{start, end - start};
        i = end;
    }
    return std::nullopt;
}

} // namespace dw
