#include "core/commands/listing_text.h"

#include "core/store/helpers.h"
#include "core/store/task_store.h"

#include <cstdio>

namespace dw {

namespace {

// The length of the UTF-8 sequence at `at` and its code point; length 0 when the bytes
// there are no UTF-8 (a stray byte, an overlong or cut short sequence, a surrogate).
std::size_t utf8At(std::string_view s, std::size_t at, std::uint32_t& codePoint) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char lead = byte(at);
    std::size_t length = 0;
    std::uint32_t min = 0;
    if (lead < 0x80) {
        codePoint = lead;
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        codePoint = lead & 0x1Fu;
        min = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        codePoint = lead & 0x0Fu;
        min = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        codePoint = lead & 0x07u;
        min = 0x10000;
    } else {
        return 0;
    }
    if (at + length > s.size())
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80)
            return 0;
        codePoint = (codePoint << 6) | (byte(at + i) & 0x3Fu);
    }
    if (codePoint < min || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
        return 0;
    return length;
}

bool isControl(std::uint32_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

bool isHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

void appendEscaped(std::string& out, std::string_view bytes) {
    for (const char b : bytes) {
        char buf[5];
        std::snprintf(buf, sizeof buf, "\\x%02x", static_cast<unsigned char>(b));
        out += buf;
    }
}

std::string shown(std::string_view text, bool whole) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        std::uint32_t c = 0;
        const std::size_t length = utf8At(text, i, c);
        if (length == 0) {
            appendEscaped(out, text.substr(i, 1));
            ++i;
            continue;
        }
        const std::string_view bytes = text.substr(i, length);
        if (whole && (c == '\t' || c == '\n'))
            out += bytes;
        else if (isControl(c))
            appendEscaped(out, bytes);
        else if (!whole && c == '\\' && i + 3 < text.size() && text[i + 1] == 'x' &&
                 isHexDigit(text[i + 2]) && isHexDigit(text[i + 3]))
            appendEscaped(out, bytes);
        else
            out += bytes;
        i += length;
    }
    return out;
}

} // namespace

std::string visibleField(std::string_view text) {
    return shown(text, false);
}

std::string withoutRawControls(std::string_view text) {
    return shown(text, true);
}

std::optional<ControlCharacter> firstControlCharacter(std::string_view text) {
    std::size_t position = 1;
    for (std::size_t i = 0; i < text.size(); ++position) {
        std::uint32_t c = 0;
        const std::size_t length = utf8At(text, i, c);
        if (length == 0)
            return std::nullopt; // no UTF-8: refused for that before
        if (isControl(c) && c != '\t' && c != '\r' && c != '\n')
            return ControlCharacter{position, c};
        i += length;
    }
    return std::nullopt;
}

std::string agendaLine(int number, const CellTable& store, int row) {
    return std::to_string(number) + '\t' + visibleField(store.cellView(StoreCol::Time, row)) +
           '\t' + visibleField(store.cellView(StoreCol::Category, row)) + '\t' +
           visibleField(store.cellView(StoreCol::Done, row)) + '\t' +
           visibleField(store.cellView(StoreCol::Alarm, row)) + '\t' +
           visibleField(firstLine(store.cellView(StoreCol::What, row))) + '\n';
}

std::string todoLine(const CellTable& todo, int row) {
    return visibleField(todo.cellView(TodoCol::Category, row)) + '\t' +
           visibleField(todo.cellView(TodoCol::Done, row)) + '\t' +
           visibleField(firstLine(todo.cellView(TodoCol::What, row))) + '\n';
}

} // namespace dw
