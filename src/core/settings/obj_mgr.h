#pragma once

#include "core/settings/settings_store.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dw {

// The program's key in the user's settings tree; the store's values live under it.
inline constexpr std::string_view kProgramKeyPath = "Software\\Velmora Corporation\\Task";

// One remembered property: "component;property;key path;value name;default;flag".
struct ObjMgrItem {
    std::string component;
    std::string property;
    std::string keyPath;
    std::string valueName;
    std::string defaultValue;
    std::string flag; // written "1"; not read
};

// Splits an item line into its six fields, each trimmed of leading and trailing spaces
// and control characters. Missing fields are empty; text after a sixth ';' is ignored.
ObjMgrItem parseObjMgrItem(std::string_view line);

// The window's properties, found by name. The window's own properties are addressed by
// its name exactly as written; its components' names ignore case, and so do property
// names. Values are integers.
class PropertyHost {
public:
    virtual ~PropertyHost() = default;
    virtual std::string ownerName() const = 0;
    virtual std::vector<std::string> componentNames() const = 0;
    // Property names of the owner (component == ownerName()) or of a component.
    virtual std::vector<std::string> propertyNames(const std::string& component) const = 0;
    virtual std::optional<int> property(const std::string& component,
                                        const std::string& property) const = 0;
    virtual void setProperty(const std::string& component, const std::string& property,
                             int value) = 0;
};

// A PropertyHost made of a table of getters and setters, enough for a window's few
// remembered properties.
class TablePropertyHost : public PropertyHost {
public:
    using Getter = std::function<int()>;
    using Setter = std::function<void(int)>;

    explicit TablePropertyHost(std::string ownerName) : owner_(std::move(ownerName)) {}
    void addOwnerProperty(const std::string& property, Getter get, Setter set);
    void addProperty(const std::string& component, const std::string& property, Getter get,
                     Setter set);

    std::string ownerName() const override { return owner_; }
    std::vector<std::string> componentNames() const override;
    std::vector<std::string> propertyNames(const std::string& component) const override;
    std::optional<int> property(const std::string& component,
                                const std::string& property) const override;
    void setProperty(const std::string& component, const std::string& property, int value) override;

private:
    struct Entry {
        bool owner;
        std::string component;
        std::string property;
        Getter get;
        Setter set;
    };
    const Entry* find(const std::string& component, const std::string& property) const;
    std::string owner_;
    std::vector<Entry> entries_;
};

// Keeps a window's properties from run to run: each item line names a property and the
// settings value that holds it. Lines naming what the window does not have are skipped.
class PropertyMemory {
public:
    explicit PropertyMemory(std::vector<std::string> items) : items_(std::move(items)) {}
    const std::vector<std::string>& items() const { return items_; }

    // Each property takes its stored value, or the item's default when there is none; a
    // text that is not an integer leaves the property as it is.
    void load(const SettingsStore& store, PropertyHost& host) const;
    // Each property's value is written as decimal text. Failures are ignored.
    void save(SettingsStore& store, const PropertyHost& host) const;

private:
    std::vector<std::string> items_;
};

// The main window's remembered layout: split2, client height and width, split1, splitDay.
std::vector<std::string> mainWindowObjMgrItems();

} // namespace dw
