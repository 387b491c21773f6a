#pragma once

#include "core/store/cell_table.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace dw {

// The command line prints for scripts and terminals: one record a line, fields split by
// TABs. A stored text may hold control characters (an old file, a text editor, another
// program); printed raw, an ESC sequence would recolour or retitle the user's terminal and
// a TAB or line break would shift a script's fields.

// A field's text with every control character (C0, DEL and the C1 range) and every byte
// that is no UTF-8 shown as "\xHH", one escape a byte. A backslash that would itself read
// as such an escape is shown as "\x5c", so a field reads back one way only; every other
// text, backslashes included, prints as it is.
std::string visibleField(std::string_view text);

// A whole output made elsewhere (lines of fields): the same escapes, but TABs and line
// ends stay, and backslashes are left alone, so fields already shown stay as they are.
std::string withoutRawControls(std::string_view text);

// A control character in a typed text: where (1 for the first character) and which.
struct ControlCharacter {
    std::size_t position = 0;
    std::uint32_t codePoint = 0;
};
// The first control character of a UTF-8 text other than TAB, CR and LF (which people type
// into a text), or none.
std::optional<ControlCharacter> firstControlCharacter(std::string_view text);

// A dated task as `agenda` lists it, ending in a line break: its number among the date's
// tasks, time, category, done flag, alarm flag and the first line of its text. Also what
// edit, done and delete print of the task they changed.
std::string agendaLine(int number, const CellTable& store, int row);
// A to-do task as `todo` lists it: category, done flag and the first line of its text.
std::string todoLine(const CellTable& todo, int row);

} // namespace dw
