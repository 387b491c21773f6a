#include "core/editing/spell_words.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace dw {
namespace {

std::vector<std::string> words(std::string_view text) {
    std::vector<std::string> out;
    std::size_t from = 0;
    while (const auto w = nextWord(text, from)) {
        out.emplace_back(text.substr(w->pos, w->len));
        from = w->pos + w->len;
    }
    return out;
}

using W = std::vector<std::string>;

TEST(SpellWords, SplitsOnPunctuationAndKeepsInnerApostrophes) {
    struct Case {
        const char* text;
        W words;
    } cases[] = {
        {"", {}},
        {"  ,.! ", {}},
        {"Call Bob at noon.", {"Call", "Bob", "at", "noon"}},
        {"don't 'quoted' O’Brien’s", {"don't", "quoted", "O’Brien’s"}},
        {"well-known e-mail", {"well", "known", "e", "mail"}},
        {"meet at 3pm on the 2nd, 10:30", {"meet", "at", "on", "the"}},
        {"Café naïve Straße — «Москва»", {"Café", "naïve", "Straße", "Москва"}},
        {"smile 😀 ok", {"smile", "ok"}},
        {"line one\r\nline\ttwo", {"line", "one", "line", "two"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(words(c.text), c.words) << c.text;
}

TEST(SpellWords, PositionsAreBytesAndAWalkCanResumeAnywhere) {
    const std::string text = "Übung macht";
    const auto first = nextWord(text, 0);
    ASSERT_TRUE(first);
    EXPECT_EQ(*first, (WordSpan{0, 6}));
    // From inside the first character the walk starts at that character.
    EXPECT_EQ(*nextWord(text, 1), (WordSpan{0, 6}));
    EXPECT_EQ(*nextWord(text, 7), (WordSpan{7, 5}));
    EXPECT_FALSE(nextWord(text, text.size()));
    EXPECT_FALSE(nextWord(text, text.size() + 5));
    // Bytes that are not UTF-8 end nothing badly.
    EXPECT_EQ(words("ab\xff\xfe cd"), (W{"ab\xff\xfe", "cd"}));
}

} // namespace
} // namespace dw
