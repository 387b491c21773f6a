#include "core/settings/obj_mgr.h"

#include "core/text/lower_text.h"

#include <algorithm>

namespace dw {

namespace {

bool isTrimmed(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

std::string trimmed(std::string_view s) {
    std::size_t b = 0, e = s.size();
    while (b < e && isTrimmed(s[b]))
        ++b;
    while (e > b && isTrimmed(s[e - 1]))
        --e;
    return std::string(s.substr(b, e - b));
}

// The settings section that a key path stands for: "" for the program's key itself, the
// rest of the path for a key below it. A leading backslash and letter case do not
// matter. Paths outside the program's key cannot be reached.
std::optional<std::string> sectionOfKeyPath(std::string_view path) {
    while (!path.empty() && path.front() == '\\')
        path.remove_prefix(1);
    while (!path.empty() && path.back() == '\\')
        path.remove_suffix(1);
    if (path.size() < kProgramKeyPath.size() ||
        !equalsNoCase(path.substr(0, kProgramKeyPath.size()), kProgramKeyPath))
        return std::nullopt;
    path.remove_prefix(kProgramKeyPath.size());
    if (path.empty())
        return std::string();
    if (path.front() != '\\')
        return std::nullopt;
    path.remove_prefix(1);
    if (path.empty() || path.find('\\') != std::string_view::npos)
        return std::nullopt;
    return std::string(path);
}

struct Resolved {
    std::string component;
    std::string property;
    std::optional<std::string> section; // none: the key cannot be reached
    ObjMgrItem item;
};

// Load and save steps 1 to 3 of an item line, plus where its value lives.
std::optional<Resolved> resolve(const std::string& line, const PropertyHost& host) {
    ObjMgrItem item = parseObjMgrItem(line);
    if (item.component.empty() && item.property.empty() && item.keyPath.empty() &&
        item.valueName.empty())
        return std::nullopt;
    Resolved r;
    if (item.component == host.ownerName()) {
        r.component = host.ownerName();
    } else {
        for (const auto& name : host.componentNames())
            if (equalsNoCase(name, item.component)) {
                r.component = name;
                break;
            }
        if (r.component.empty())
            return std::nullopt;
    }
    for (const auto& name : host.propertyNames(r.component))
        if (equalsNoCase(name, item.property)) {
            r.property = name;
            break;
        }
    if (r.property.empty())
        return std::nullopt;
    r.section = sectionOfKeyPath(item.keyPath);
    r.item = std::move(item);
    return r;
}

} // namespace

ObjMgrItem parseObjMgrItem(std::string_view line) {
    std::string fields[6];
    for (int i = 0; i < 6; ++i) {
        const std::size_t semi = line.find(';');
        fields[i] = trimmed(line.substr(0, semi));
        if (semi == std::string_view::npos) {
            line = {};
        } else {
            line.remove_prefix(semi + 1);
        }
    }
    return {fields[0], fields[1], fields[2], fields[3], fields[4], fields[5]};
}

void TablePropertyHost::addOwnerProperty(const std::string& property, Getter get, Setter set) {
    entries_.push_back({true, owner_, property, std::move(get), std::move(set)});
}

void TablePropertyHost::addProperty(const std::string& component, const std::string& property,
                                    Getter get, Setter set) {
    entries_.push_back({false, component, property, std::move(get), std::move(set)});
}

std::vector<std::string> TablePropertyHost::componentNames() const {
    std::vector<std::string> names;
    for (const auto& e : entries_)
        if (!e.owner && std::find(names.begin(), names.end(), e.component) == names.end())
            names.push_back(e.component);
    return names;
}

std::vector<std::string> TablePropertyHost::propertyNames(const std::string& component) const {
    const bool owner = component == owner_;
    std::vector<std::string> names;
    for (const auto& e : entries_)
        if (e.owner == owner && e.component == component)
            names.push_back(e.property);
    return names;
}

const TablePropertyHost::Entry* TablePropertyHost::find(const std::string& component,
                                                        const std::string& property) const {
    const bool owner = component == owner_;
    for (const auto& e : entries_)
        if (e.owner == owner && e.component == component && e.property == property)
            return &e;
    return nullptr;
}

std::optional<int> TablePropertyHost::property(const std::string& component,
                                               const std::string& property) const {
    const Entry* e = find(component, property);
    if (!e || !e->get)
        return std::nullopt;
    return e->get();
}

void TablePropertyHost::setProperty(const std::string& component, const std::string& property,
                                    int value) {
    const Entry* e = find(component, property);
    if (e && e->set)
        e->set(value);
}

void PropertyMemory::load(const SettingsStore& store, PropertyHost& host) const {
    for (const auto& line : items_) {
        auto r = resolve(line, host);
        if (!r)
            continue;
        const std::string text =
            r->section ? store.readString(*r->section, r->item.valueName, r->item.defaultValue)
                       : r->item.defaultValue;
        int value = 0;
        if (parseSettingsInteger(text, value))
            host.setProperty(r->component, r->property, value);
    }
}

void PropertyMemory::save(SettingsStore& store, const PropertyHost& host) const {
    for (const auto& line : items_) {
        auto r = resolve(line, host);
        if (!r || !r->section || r->item.valueName.empty())
            continue;
        if (auto value = host.property(r->component, r->property))
            store.writeInteger(*r->section, r->item.valueName, *value);
    }
}

std::vector<std::string> mainWindowObjMgrItems() {
    const std::string key(kProgramKeyPath);
    return {
        "split2;Position;" + key + ";Split2;296;1",
        "frmMain;ClientHeight;" + key + ";ClientHeight;450;1",
        "frmMain;ClientWidth;" + key + ";ClientWidth;630;1",
        "split1;Position;" + key + ";Split1;314;1",
        "splitDay;Position;" + key + ";SplitDay;156;1",
    };
}

} // namespace dw
