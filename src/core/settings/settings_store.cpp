#include "core/settings/settings_store.h"

#include "core/text/lower_text.h"

#include <cstdint>
#include <limits>

namespace dw {

namespace {

// Section and value names are ASCII words; comparing them ignores case.
std::string mapKey(const std::string& section, const std::string& name) {
    return lowerAscii(section) + "/" + lowerAscii(name);
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

bool parseSettingsInteger(const std::string& text, int& value) {
    // "0x1F": hexadecimal from the third character. Up to eight digits, taken as the
    // 32-bit pattern, so a system colour such as 0x80000005 reads back as itself.
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        if (text.size() - 2 > 8)
            return false;
        std::uint32_t v = 0;
        for (std::size_t i = 2; i < text.size(); ++i) {
            int d = hexDigit(text[i]);
            if (d < 0)
                return false;
            v = (v << 4) | static_cast<std::uint32_t>(d);
        }
        value = static_cast<int>(v);
        return true;
    }
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i == text.size())
        return false;
    std::int64_t v = 0;
    const std::int64_t limit = negative
                                   ? -static_cast<std::int64_t>(std::numeric_limits<int>::min())
                                   : std::numeric_limits<int>::max();
    for (; i < text.size(); ++i) {
        char c = text[i];
        if (c < '0' || c > '9')
            return false;
        v = v * 10 + (c - '0');
        if (v > limit)
            return false;
    }
    value = static_cast<int>(negative ? -v : v);
    return true;
}

std::optional<std::string> MapSettingsBackend::value(const std::string& section,
                                                     const std::string& name) const {
    auto it = values_.find(mapKey(section, name));
    if (it == values_.end())
        return std::nullopt;
    return it->second;
}

bool MapSettingsBackend::setValue(const std::string& section, const std::string& name,
                                  const std::string& text) {
    values_[mapKey(section, name)] = text;
    return true;
}

void MapSettingsBackend::remove(const std::string& section, const std::string& name) {
    values_.erase(mapKey(section, name));
}

std::string SettingsStore::readString(const std::string& section, const std::string& name,
                                      const std::string& def) const {
    auto v = backend_.value(section, name);
    return v ? *v : def;
}

bool SettingsStore::writeString(const std::string& section, const std::string& name,
                                const std::string& text) {
    return backend_.setValue(section, name, text);
}

int SettingsStore::readInteger(const std::string& section, const std::string& name, int def) const {
    auto v = backend_.value(section, name);
    int result = def;
    if (v && parseSettingsInteger(*v, result))
        return result;
    return def;
}

bool SettingsStore::writeInteger(const std::string& section, const std::string& name, int value) {
    return backend_.setValue(section, name, std::to_string(value));
}

bool SettingsStore::readBool(const std::string& section, const std::string& name, bool def) const {
    return readInteger(section, name, def ? 1 : 0) != 0;
}

bool SettingsStore::writeBool(const std::string& section, const std::string& name, bool value) {
    return backend_.setValue(section, name, value ? "1" : "0");
}

} // namespace dw
