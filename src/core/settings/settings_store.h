#pragma once

#include <map>
#include <optional>
#include <string>

namespace dw {

// Reads a settings text as an integer: signed decimal digits, or a text longer than two
// characters starting "0x"/"0X" read as hexadecimal from its third character. False (and
// `value` untouched) for anything else, including numbers that do not fit in an int.
bool parseSettingsInteger(const std::string& text, int& value);

// Where settings texts are kept: sections of named text values under the program's key
// (the section "" stands for values directly under the key). Names compare without
// regard to case. The app uses QSettings; tests use MapSettingsBackend.
class SettingsBackend {
public:
    virtual ~SettingsBackend() = default;
    virtual std::optional<std::string> value(const std::string& section,
                                             const std::string& name) const = 0;
    // False when the value could not be written.
    virtual bool setValue(const std::string& section, const std::string& name,
                          const std::string& text) = 0;
    virtual void remove(const std::string& section, const std::string& name) = 0;
};

// An in-memory backend for tests and for the command line.
class MapSettingsBackend : public SettingsBackend {
public:
    std::optional<std::string> value(const std::string& section,
                                     const std::string& name) const override;
    bool setValue(const std::string& section, const std::string& name,
                  const std::string& text) override;
    void remove(const std::string& section, const std::string& name) override;
    // Every value, keyed "section/name" in lower case, for tests to inspect.
    const std::map<std::string, std::string>& values() const { return values_; }

private:
    std::map<std::string, std::string> values_;
};

// The program's settings with their read and write rules: texts as they are, integers as
// signed decimal (reading also takes "0x" hexadecimal), flags as "1" and "0" (reading
// takes any integer, true when not 0). A missing or unreadable value gives the default.
class SettingsStore {
public:
    explicit SettingsStore(SettingsBackend& backend) : backend_(backend) {}

    std::string readString(const std::string& section, const std::string& name,
                           const std::string& def) const;
    bool writeString(const std::string& section, const std::string& name, const std::string& text);
    int readInteger(const std::string& section, const std::string& name, int def) const;
    bool writeInteger(const std::string& section, const std::string& name, int value);
    bool readBool(const std::string& section, const std::string& name, bool def) const;
    bool writeBool(const std::string& section, const std::string& name, bool value);

    SettingsBackend& backend() { return backend_; }

private:
    SettingsBackend& backend_;
};

} // namespace dw
