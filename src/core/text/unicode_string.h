#pragma once

// Included by the core's own sources only, so that ICU's headers stay out of the core's
// interface.
#include <optional>
#include <string_view>
#include <unicode/unistr.h>

namespace dw {

// The text as ICU's string, or nothing when it is not valid UTF-8 (an ill-formed byte would
// otherwise become U+FFFD, and two different texts could compare equal).
std::optional<icu::UnicodeString> unicodeOfUtf8(std::string_view text);

} // namespace dw
