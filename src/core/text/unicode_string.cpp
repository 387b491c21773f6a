#include "core/text/unicode_string.h"

#include <unicode/utf8.h>

namespace dw {

std::optional<icu::UnicodeString> unicodeOfUtf8(std::string_view text) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    const auto length = static_cast<int32_t>(text.size());
    if (static_cast<std::size_t>(length) != text.size())
        return std::nullopt;
    for (int32_t i = 0; i < length;) {
        UChar32 c = 0;
        U8_NEXT(bytes, i, length, c);
        if (c < 0)
            return std::nullopt;
    }
    return icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), length));
}

} // namespace dw
