#include "platform/autostart.h"

#include "core/store/file_io.h"
#include "dayweaver_config.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>

namespace dw {

namespace {

QString configHome() {
    // A relative XDG_CONFIG_HOME is invalid and must be ignored.
    const QString env = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (!env.isEmpty() && QDir::isAbsolutePath(env))
        return env;
    return QDir::homePath() + "/.config";
}

// The Exec value of the [Desktop Entry] group, or empty.
QString execValue(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    bool inEntry = false;
    while (!f.atEnd()) {
        const QString line = QString::fromUtf8(f.readLine()).trimmed();
        if (line.startsWith('[')) {
            inEntry = line == "[Desktop Entry]";
            continue;
        }
        if (!inEntry)
            continue;
        const qsizetype eq = line.indexOf('=');
        if (eq > 0 && line.left(eq).trimmed() == "Exec")
            return line.mid(eq + 1).trimmed();
    }
    return {};
}

} // namespace

std::string autostartFilePath() {
    return (configHome() + "/autostart/dayweaver.desktop").toStdString();
}

bool autostartEntryExists() {
    return !execValue(QString::fromStdString(autostartFilePath())).isEmpty();
}

std::string desktopExecArgument(const std::string& programPath) {
    static const std::string reserved = " \t\n\"'\\><~|&;$*?#()`";
    std::string arg;
    if (programPath.find_first_of(reserved) == std::string::npos) {
        arg = programPath;
    } else {
        // Inside double quotes, '"', '`', '$' and '\' take a backslash.
        arg = "\"";
        for (char c : programPath) {
            if (c == '"' || c == '`' || c == '$' || c == '\\')
                arg += '\\';
            arg += c;
        }
        arg += '"';
    }
    // The value as a whole is a desktop-entry string: a backslash is written twice, and a
    // literal '%' is "%%" since '%' starts a field code.
    std::string value;
    for (char c : arg) {
        if (c == '\\')
            value += "\\\\";
        else if (c == '%')
            value += "%%";
        else
            value += c;
    }
    return value;
}

bool writeAutostart(bool on, const std::string& programPath, std::string& error) {
    const QString path = QString::fromStdString(autostartFilePath());
    if (!on) {
        if (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink())
            return true;
        if (QFile::remove(path))
            return true;
        error = "Could not remove the autostart entry " + path.toStdString() + ".";
        return false;
    }
    if (programPath.empty() || programPath.find_first_of("\r\n") != std::string::npos) {
        error = "The program's path cannot be written as an autostart entry.";
        return false;
    }
    const QString dir = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(dir)) {
        error = "Could not create the folder " + dir.toStdString() + " for the autostart entry.";
        return false;
    }
    const std::string content = "[Desktop Entry]\n"
                                "Type=Application\n"
                                "Name=Dayweaver\n"
                                "Comment=Day planner and task reminder\n"
                                "Exec=" +
                                desktopExecArgument(programPath) +
                                "\n"
                                "Icon=" +
                                kDesktopId +
                                "\n"
                                "Terminal=false\n"
                                "X-GNOME-Autostart-enabled=true\n";
    std::string why;
    if (!writeFileAtomic(path.toStdString(), content, why)) {
        error = "Could not write the autostart entry " + path.toStdString() + ": " + why;
        return false;
    }
    return true;
}

} // namespace dw
