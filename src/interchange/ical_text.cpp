#include "interchange/ical_components.h"

// The text form of calendar objects: values escaped, lines folded at 75 octets between
// characters, and folds joined again on the bytes.

#include "core/text/lower_text.h"

#include <cstdlib>
#include <string>

namespace dw::ical {
namespace {

bool startsWithNoCaseAscii(const char* text, std::string_view prefix) {
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (!text[i])
            return false;
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        if (lower(text[i]) != lower(prefix[i]))
            return false;
    }
    return true;
}

// The library's own line for a property, joined again where it folded it.
std::string unfoldedLine(icalproperty* p) {
    char* s = icalproperty_as_ical_string_r(p);
    std::string line = unfoldedBytes(s ? s : "");
    std::free(s);
    return line.substr(0, line.find_first_of("\r\n"));
}

// Where the value starts: the first colon outside a quoted parameter value.
std::size_t valueStart(const std::string& line) {
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '"')
            quoted = !quoted;
        else if (line[i] == ':' && !quoted)
            return i;
    }
    return std::string::npos;
}

// Folded at 75 octets, never inside a UTF-8 sequence.
void appendFolded(std::string& out, const std::string& line) {
    std::size_t width = 0;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const auto byte = static_cast<unsigned char>(line[i]);
        const bool continuation = (byte & 0xC0) == 0x80;
        if (!continuation) {
            std::size_t length = 1;
            if (byte >= 0xF0)
                length = 4;
            else if (byte >= 0xE0)
                length = 3;
            else if (byte >= 0xC0)
                length = 2;
            if (width + length > 75) {
                out += "\r\n ";
                width = 1;
            }
        }
        out += line[i];
        ++width;
    }
    out += "\r\n";
}

void appendComponent(std::string& out, icalcomponent* c) {
    const icalcomponent_kind k = icalcomponent_isa(c);
    if (k == ICAL_X_COMPONENT || k == ICAL_NO_COMPONENT) {
        // A component of another program's own kind: the library alone knows its name.
        char* s = icalcomponent_as_ical_string_r(c);
        out += s ? s : "";
        std::free(s);
        return;
    }
    const std::string kind = icalcomponent_kind_to_string(k);
    out += "BEGIN:" + kind + "\r\n";
    for (icalproperty* p = icalcomponent_get_first_property(c, ICAL_ANY_PROPERTY); p;
         p = icalcomponent_get_next_property(c, ICAL_ANY_PROPERTY)) {
        const char* propertyName = icalproperty_get_property_name(p);
        if (!propertyName || startsWithNoCaseAscii(propertyName, "X-LIC-"))
            continue;
        std::string line = unfoldedLine(p);
        icalvalue* v = icalproperty_get_value(p);
        const icalvalue_kind valueKind = v ? icalvalue_isa(v) : ICAL_NO_VALUE;
        const std::size_t colon = valueStart(line);
        if (colon != std::string::npos &&
            (valueKind == ICAL_TEXT_VALUE || valueKind == ICAL_X_VALUE)) {
            const char* raw =
                valueKind == ICAL_TEXT_VALUE ? icalvalue_get_text(v) : icalvalue_get_x(v);
            line = line.substr(0, colon + 1) + escapedText(raw ? raw : "");
        }
        appendFolded(out, line);
    }
    for (icalcomponent* sub = icalcomponent_get_first_component(c, ICAL_ANY_COMPONENT); sub;
         sub = icalcomponent_get_next_component(c, ICAL_ANY_COMPONENT))
        appendComponent(out, sub);
    out += "END:" + kind + "\r\n";
}

} // namespace

std::string calendarText(icalcomponent* c) {
    std::string out;
    appendComponent(out, c);
    return out;
}

std::string escapedText(std::string_view raw) {
    std::string out;
    out.reserve(raw.size() + raw.size() / 8);
    for (std::size_t i = 0; i < raw.size(); ++i) {
        const char ch = raw[i];
        switch (ch) {
        case '\\':
        case ',':
        case ';':
            out += '\\';
            out += ch;
            break;
        case '\r':
            if (i + 1 < raw.size() && raw[i + 1] == '\n')
                ++i;
            out += "\\n";
            break;
        case '\n':
            out += "\\n";
            break;
        default:
            if ((static_cast<unsigned char>(ch) < 0x20 && ch != '\t') || ch == 0x7F)
                break;
            out += ch;
        }
    }
    return out;
}

std::string unfoldedBytes(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            std::size_t next = i + 1;
            if (text[i] == '\r' && next < text.size() && text[next] == '\n')
                ++next;
            if (next < text.size() && (text[next] == ' ' || text[next] == '\t')) {
                i = next;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

} // namespace dw::ical
