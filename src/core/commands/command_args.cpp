#include "core/commands/command_args.h"

#include "core/commands/listing_text.h"
#include "core/dates/date_serial.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace dw {

std::optional<std::string> Args::takeOption(const std::string& name) {
    const auto it = std::find(args_.begin(), args_.end(), name);
    if (it == args_.end())
        return std::nullopt;
    if (it + 1 == args_.end())
        throw UsageError{name + " needs a value"};
    std::string value = *(it + 1);
    args_.erase(it, it + 2);
    return value;
}

bool Args::takeFlag(const std::string& name) {
    const auto it = std::find(args_.begin(), args_.end(), name);
    if (it == args_.end())
        return false;
    args_.erase(it);
    return true;
}

std::optional<std::string> Args::takePositional() {
    const auto it = std::find_if(args_.begin(), args_.end(), [](const std::string& a) {
        return a.size() < 2 || a.compare(0, 2, "--") != 0;
    });
    if (it == args_.end())
        return std::nullopt;
    std::string value = *it;
    args_.erase(it);
    return value;
}

std::string Args::requirePositional(const std::string& what) {
    auto v = takePositional();
    if (!v)
        throw UsageError{"missing " + what};
    return *v;
}

void Args::expectEnd() const {
    if (!args_.empty())
        throw UsageError{"unexpected argument: " + args_.front()};
}

namespace {

bool allDigits(const std::string& s, size_t from, size_t count) {
    if (from + count > s.size())
        return false;
    for (size_t i = from; i < from + count; ++i)
        if (s[i] < '0' || s[i] > '9')
            return false;
    return true;
}

} // namespace

int parseIsoDate(const std::string& text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-' || !allDigits(text, 0, 4) ||
        !allDigits(text, 5, 2) || !allDigits(text, 8, 2))
        throw UsageError{"not a date (YYYY-MM-DD): " + text};
    const int y = std::stoi(text.substr(0, 4));
    const int m = std::stoi(text.substr(5, 2));
    const int d = std::stoi(text.substr(8, 2));
    if (!isValidDate(y, m, d))
        throw UsageError{"no such date: " + text};
    return dateSerialOf(y, m, d);
}

namespace {

bool endsWithMarker(const std::string& text, std::size_t at, const char* marker) {
    if (text.size() != at + 2)
        return false;
    for (std::size_t i = 0; i < 2; ++i)
        if (std::tolower(static_cast<unsigned char>(text[at + i])) != marker[i])
            return false;
    return true;
}

} // namespace

double parseTimeArgument(const std::string& text) {
    // "H:MM" or "HH:MM", then nothing, or am/pm after at most one space.
    const std::size_t colon = text.find(':');
    const bool shaped =
        (colon == 1 || colon == 2) && allDigits(text, 0, colon) && allDigits(text, colon + 1, 2);
    const std::size_t end = colon + 3;
    int baseHour = -1; // none: 24-hour
    if (shaped && end < text.size()) {
        const std::size_t marker = text[end] == ' ' ? end + 1 : end;
        if (endsWithMarker(text, marker, "am"))
            baseHour = 0;
        else if (endsWithMarker(text, marker, "pm"))
            baseHour = 12;
    }
    if (shaped && (end == text.size() || baseHour >= 0)) {
        int h = std::stoi(text.substr(0, colon));
        const int m = std::stoi(text.substr(colon + 1, 2));
        const bool valid = baseHour < 0 ? h <= 23 : h >= 1 && h <= 12;
        if (valid && m <= 59) {
            if (baseHour >= 0)
                h = h % 12 + baseHour;
            return timeFraction(h, m);
        }
    }
    throw UsageError{"not a time: \"" + visibleField(text) +
                     "\"; a time is H:MM or HH:MM, 24-hour (9:00, 21:30), or 12-hour with am "
                     "or pm (9:30pm, 9:30 PM, 12:00 AM)"};
}

std::string isoDate(int serial) {
    const CivilDate d = decodeDate(serial);
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", d.year, d.month, d.day);
    return buf;
}

} // namespace dw
