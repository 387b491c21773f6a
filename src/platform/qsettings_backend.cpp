#include "platform/qsettings_backend.h"

#include <QSettings>
#include <QStringList>
#include <memory>

namespace dw {

namespace {

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

// The entry of `names` equal to `name` ignoring case, or `name` itself.
QString existingSpelling(const QStringList& names, const QString& name) {
    for (const QString& n : names)
        if (n.compare(name, Qt::CaseInsensitive) == 0)
            return n;
    return name;
}

bool containsIgnoringCase(const QStringList& names, const QString& name) {
    return names.contains(name, Qt::CaseInsensitive);
}

// Enters the group of `section` as it is spelt in the store; false when it is absent
// (and `create` is not set).
bool enterSection(QSettings& s, const std::string& section, bool create) {
    if (section.empty())
        return true;
    const QStringList groups = s.childGroups();
    if (!create && !containsIgnoringCase(groups, q(section)))
        return false;
    s.beginGroup(existingSpelling(groups, q(section)));
    return true;
}

std::unique_ptr<QSettings> openSettings(const QString& iniPath) {
    if (iniPath.isEmpty())
        return std::make_unique<QSettings>("Velmora Corporation", "Task");
    return std::make_unique<QSettings>(iniPath, QSettings::IniFormat);
}

} // namespace

QSettingsBackend::QSettingsBackend() = default;

QSettingsBackend::QSettingsBackend(const QString& iniPath) : iniPath_(iniPath) {}

std::optional<std::string> QSettingsBackend::value(const std::string& section,
                                                   const std::string& name) const {
    auto s = openSettings(iniPath_);
    if (!enterSection(*s, section, false))
        return std::nullopt;
    const QStringList keys = s->childKeys();
    if (!containsIgnoringCase(keys, q(name)))
        return std::nullopt;
    const QVariant v = s->value(existingSpelling(keys, q(name)));
    // A hand-written INI value with commas reads as a list; keep it as the text it was.
    if (v.typeId() == QMetaType::QStringList)
        return v.toStringList().join(", ").toStdString();
    return v.toString().toStdString();
}

bool QSettingsBackend::setValue(const std::string& section, const std::string& name,
                                const std::string& text) {
    auto s = openSettings(iniPath_);
    enterSection(*s, section, true);
    s->setValue(existingSpelling(s->childKeys(), q(name)), q(text));
    s->sync();
    return s->status() == QSettings::NoError;
}

void QSettingsBackend::remove(const std::string& section, const std::string& name) {
    auto s = openSettings(iniPath_);
    if (!enterSection(*s, section, false))
        return;
    const QStringList keys = s->childKeys();
    if (!containsIgnoringCase(keys, q(name)))
        return;
    s->remove(existingSpelling(keys, q(name)));
    s->sync();
}

} // namespace dw
