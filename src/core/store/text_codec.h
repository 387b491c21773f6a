#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace dw {

// Texts are UTF-8 in memory and in every file we write. Files from older installations
// are in Windows-1252: reading decides per line, a line that is valid UTF-8 is UTF-8 and
// any other line is Windows-1252. A UTF-8 byte-order mark at the start is skipped.
bool isValidUtf8(std::string_view bytes);
std::string cp1252ToUtf8(std::string_view bytes);
std::string decodeFileBytes(std::string bytes);

// Length limits count characters, not bytes.
std::size_t utf8Length(std::string_view text);
// The text cut to at most maxChars characters, never inside a character.
std::string truncateChars(std::string_view text, std::size_t maxChars);

// A text typed or pasted by the user, made safe for the table file: a TAB becomes a
// space and a backspace is dropped (the file format would turn them into line breaks),
// and every lone CR or LF becomes the program's CR LF.
std::string normalizeTypedText(std::string_view text);

// A text from another program (a calendar file, a calendar server) without the control
// characters a task's text never holds: every C0 control but TAB, CR and LF, DEL, and the
// C1 controls U+0080 to U+009F (an ESC or CSI in a task would reach a terminal that lists
// it). `dropped` is increased by the number taken out. The text must be UTF-8.
std::string dropControlCharacters(std::string_view text, int& dropped);

} // namespace dw
