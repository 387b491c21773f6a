#pragma once

#include "core/settings/settings_store.h"

#include <QString>

namespace dw {

// The settings store's backend over QSettings("Velmora Corporation", "Task"): the registry
// on Windows, an INI file under ~/.config on Linux. Sections are groups; the section ""
// holds values directly under the key. Names are looked up without regard to case, so a
// hand-edited file spelt differently still works, and a write replaces the existing
// value instead of adding a second spelling. Each call opens the settings afresh, so
// nothing is cached between calls.
class QSettingsBackend : public SettingsBackend {
public:
    QSettingsBackend();
    // Settings kept in the given INI file (tests, portable installs).
    explicit QSettingsBackend(const QString& iniPath);

    std::optional<std::string> value(const std::string& section,
                                     const std::string& name) const override;
    // False when the settings could not be written out.
    bool setValue(const std::string& section, const std::string& name,
                  const std::string& text) override;
    void remove(const std::string& section, const std::string& name) override;

private:
    QString iniPath_; // empty: the native per-user store
};

} // namespace dw
