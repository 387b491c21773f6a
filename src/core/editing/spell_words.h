#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace dw {

// A word of a UTF-8 text: its first byte and its length in bytes.
struct WordSpan {
    std::size_t pos = 0;
    std::size_t len = 0;
    friend bool operator==(const WordSpan&, const WordSpan&) = default;
};

// The first word that starts at or after byte `from`, for the spell check's walk. A word
// is a run of letters (any script) that may hold apostrophes (' or U+2019) between
// letters; runs that hold digits ("3pm", "2nd") are not words to check. Punctuation,
// symbols and spaces separate words; so does a hyphen.
std::optional<WordSpan> nextWord(std::string_view text, std::size_t from);

} // namespace dw
