#include "app/shell/command_line.h"

#include "app/shell/help_window.h"
#include "app/shell/resources.h"
#include "core/settings/option_keys.h"
#include "dayweaver_config.h"
#include "platform/data_dir.h"
#include "platform/qsettings_backend.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <cstring>
#include <iostream>
#include <string>

namespace dw {

namespace {

const char* kUsage = "Usage: dayweaver [--version | --help | --files]\n"
                     "\n"
                     "Starts the day planner; a second start brings the running one forward.\n"
                     "  --version  print the version\n"
                     "  --files    print where the program finds its files, one a line:\n"
                     "             program, data, alarm-sound, help (name, tab, place)\n"
                     "\n"
                     "DAYWEAVER_DATA, when set, names the data folder.\n";

// The title of the help page compiled into the program, or empty when it cannot be read.
std::string helpPageTitle() {
    initResources();
    QFile page(helpPageFile());
    if (!page.open(QIODevice::ReadOnly))
        return {};
    static const QRegularExpression title("<title>([^<]*)</title>",
                                          QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = title.match(QString::fromUtf8(page.readAll()));
    return m.hasMatch() ? m.captured(1).trimmed().toStdString() : std::string();
}

int printFiles(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const std::string programDir =
        QDir::toNativeSeparators(QCoreApplication::applicationDirPath()).toStdString();
    const std::string dataDir = resolveDataDir(programDir);
    QSettingsBackend settingsBackend;
    const SettingsStore settings(settingsBackend);
    // The sound the alarm plays: the stored choice, or the shipped one by default.
    const std::string sound = readOptions(settings, shippedFilesDir(programDir), false).alarmPath;
    const bool soundFound = QFileInfo(QString::fromStdString(sound)).isFile();
    const std::string title = helpPageTitle();

    std::cout << "program\t"
              << QDir::toNativeSeparators(QCoreApplication::applicationFilePath()).toStdString()
              << '\n'
              << "data\t" << dataDir << '\n'
              << "alarm-sound\t" << sound << '\t' << (soundFound ? "found" : "missing") << '\n'
              << "help\t" << helpPageFile().toStdString() << '\t'
              << (title.empty() ? "missing" : title) << '\n';
    // Missing pieces are only reported: the program itself runs without any of them.
    return dataDir.empty() || !soundFound || title.empty() ? 1 : 0;
}

} // namespace

std::optional<int> answerCommandLine(int argc, char** argv) {
    if (argc != 2)
        return std::nullopt;
    const char* arg = argv[1];
    if (std::strcmp(arg, "--version") == 0) {
        std::cout << "dayweaver " << kVersion << '\n';
        return 0;
    }
    if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0) {
        std::cout << kUsage;
        return 0;
    }
    if (std::strcmp(arg, "--files") == 0)
        return printFiles(argc, argv);
    return std::nullopt;
}

} // namespace dw
