#pragma once

#include <cstddef>

namespace dw {

// How long a task's texts may be, in characters (not bytes), wherever they are typed:
// the editor, the options' default category, the command line.
inline constexpr std::size_t kCategoryMaxChars = 20;
inline constexpr std::size_t kNotesMaxChars = 2048;
inline constexpr std::size_t kCompletionNotesMaxChars = 255;

} // namespace dw
