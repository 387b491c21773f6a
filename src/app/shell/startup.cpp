#include "app/shell/startup.h"

#include "app/calendar/calendar_pane.h"
#include "app/shell/app_state.h"
#include "app/shell/command_line.h"
#include "app/shell/command_server.h"
#include "app/shell/first_frame.h"
#include "app/shell/main_window.h"
#include "app/shell/resources.h"
#include "app/shell/tray_controller.h"
#include "app/shell/window_composition.h"
#include "app/widgets/cell_grid.h"
#include "app/widgets/dialog_frame.h"
#include "app/widgets/qt_prompts.h"
#include "core/store/save_guard.h"
#include "dayweaver_config.h"
#include "platform/autostart.h"
#include "platform/data_dir.h"
#include "platform/locale_settings.h"
#include "platform/qsettings_backend.h"
#include "platform/single_instance.h"
#include "platform/system_clock.h"
#include "platform/termination_signals.h"

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QSessionManager>
#include <QTimer>
#include <memory>

namespace dw {

int runDayweaver(int argc, char** argv) {
    // Answered before any window system is needed.
    if (const auto status = answerCommandLine(argc, argv))
        return *status;
    QApplication app(argc, argv);
    // No display name: Qt would add " — Dayweaver" to every dialog's title, which cuts the
    // short titles of small dialogs; the main window says "Dayweaver" itself.
    QApplication::setApplicationName("Dayweaver");
    QApplication::setApplicationVersion(kVersion);
    // Ties the windows to the installed desktop entry (its icon and name in docks and
    // task bars, the Wayland app id).
    QGuiApplication::setDesktopFileName(kDesktopId);
    initResources();
    QApplication::setWindowIcon(QIcon(":/icons/dayweaver.png"));
    // The program lives on in the tray with no window shown; it ends when the main window
    // closes.
    QApplication::setQuitOnLastWindowClosed(false);

    DialogFrameFilter dialogFrames;
    app.installEventFilter(&dialogFrames);

    // The run's dialogs; start-up reports what stops it here, before the state exists.
    QtPrompts qtPrompts;

    AppPaths paths;
    paths.programPath = QDir::toNativeSeparators(QApplication::applicationFilePath()).toStdString();
    paths.programDir = QDir::toNativeSeparators(QApplication::applicationDirPath()).toStdString();
    paths.shippedDir = shippedFilesDir(paths.programDir);
    paths.dataDir = resolveDataDir(paths.programDir);
    if (paths.dataDir.empty()) {
        qtPrompts.error("Dayweaver cannot create its data folder.");
        return 1;
    }

    // From here on a logout, a shutdown or Ctrl+C saves like closing the window; a signal
    // that arrives before the window exists waits in the pipe until the loop runs.
    TerminationSignals terminationSignals;

    SingleInstance instance(paths.dataDir);
    switch (instance.start()) {
    case SingleInstance::Start::Proceed:
        if (instance.dataFolderReadOnly()) {
            // Said once; from here on every save in the folder is refused with its reason,
            // and the window keeps what it shows.
            qtPrompts.error(readOnlyDataFolderNotice(paths.dataDir));
            setReadOnlyDataFolder(paths.dataDir);
        }
        break;
    case SingleInstance::Start::Forwarded:
    case SingleInstance::Start::StillStarting:
        return 0;
    case SingleInstance::Start::DataFolderInUse:
        qtPrompts.error("Dayweaver cannot start: its data folder " + paths.dataDir +
                        " is in use by another program.");
        return 1;
    }

    AppState state(systemFormatSettings(), std::make_unique<SystemClock>(),
                   std::make_unique<QSettingsBackend>(), paths, qtPrompts);
    // The store is read while the windows are built; the main window takes it as it loads.
    state.store().startLoadingStoreFile();
    state.loadOptions(autostartEntryExists());

    // The windows and everything beside them, in the order they are set up.
    WindowComposition windows(state);
    MainWindow& window = windows.window();
    qtPrompts.setParentWindow(&window);
    QObject::connect(&instance, &SingleInstance::activationRequested, &window.tray(),
                     &TrayController::bringBack);
    // The command line's writing commands, handed over while the program runs.
    CommandServer& commandServer = windows.commandServer();
    instance.setCommandHandler([&commandServer](const std::vector<std::string>& words) {
        return commandServer.run(words);
    });
    QObject::connect(&window, &MainWindow::closed, &app, &QApplication::quit, Qt::QueuedConnection);
    QObject::connect(&terminationSignals, &TerminationSignals::received, &window,
                     [&window] { window.endSession(); });
    // The session manager asks for the data before a logout: everything is saved; the
    // program ends when the session ends it (a cancelled logout leaves it running).
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &window,
                     [&window](QSessionManager&) { window.saveAll(); });
    // The window exists before a later start may look for it.
    window.winId();
    instance.finishStartup();

    // For timing a start and for waiting on it: told once the first frame is on screen (or
    // once it starts, when it starts in the tray), and with DAYWEAVER_QUIT_WHEN_IDLE the
    // program then ends. Set up before the window shows, so that no first paint is missed.
    std::unique_ptr<FirstFrameReport> firstFrame;
    if (firstFrameWanted()) {
        std::vector<QWidget*> watched;
        if (!state.options().autoStart) {
            for (int i = 0; i < 4; ++i)
                if (QWidget* month = window.calendarPane()->calendar(i);
                    month->isVisibleTo(&window))
                    watched.push_back(month);
            if (window.gridDay()->isVisibleTo(&window))
                watched.push_back(window.gridDay()->viewport());
        }
        firstFrame = std::make_unique<FirstFrameReport>(
            std::move(watched), [&state] { return state.store().taskCount(); },
            [] {
                if (quitWhenShown())
                    QTimer::singleShot(0, qApp, &QApplication::quit);
            });
    }
    if (state.options().autoStart)
        window.tray().startInTray();
    else
        window.show();
    return QApplication::exec();
}

} // namespace dw
