#include "app/output/ical_commands.h"

#include "app/calendar/calendar_pane.h"
#include "app/editing/date_fields.h"
#include "app/output/ical_import_dialog.h"
#include "app/shell/app_state.h"
#include "app/shell/command_places.h"
#include "app/shell/main_actions.h"
#include "core/store/file_io.h"
#include "interchange/ical_export.h"

#include <QAction>
#include <QDateTime>
#include <QMenu>
#include <QMenuBar>
#include <filesystem>

namespace dw {

namespace {

constexpr const char* kIcalFilter = "iCalendar files (*.ics)|*.ics|All files (*.*)|*.*";

// A submenu of the File menu by its object name, made (before `before`) when missing.
QMenu* fileSubmenu(QMenu* file, const char* name, const char* title, QAction* before) {
    if (auto* menu = file->findChild<QMenu*>(name))
        return menu;
    auto* menu = new QMenu(title, file);
    menu->setObjectName(name);
    file->insertMenu(before, menu);
    return menu;
}

} // namespace

IcalCommands::IcalCommands(const CommandPlaces& places, AppState& state)
    : QObject(places.window), window_(places.window), state_(state) {
    const MainActions& a = *places.actions;
    connect(a.exportIcal, &QAction::triggered, this, [this] { exportCalendarFile(); });
    connect(a.importIcal, &QAction::triggered, this, [this] { importCalendarFile(); });
    placeActions(places);
}

void IcalCommands::placeActions(const CommandPlaces& places) {
    QMenu* file = places.fileMenu;
    if (!file)
        return;
    const MainActions& a = *places.actions;
    QMenu* exportMenu = fileSubmenu(file, "exportMenu", "Export", a.hide);
    exportMenu->addAction(a.exportIcal);
    // Import sits right after Export.
    const QList<QAction*> items = file->actions();
    const qsizetype at = items.indexOf(exportMenu->menuAction());
    QAction* after = at >= 0 && at + 1 < items.size() ? items[at + 1] : a.hide;
    fileSubmenu(file, "importMenu", "Import", after)->addAction(a.importIcal);
}

bool IcalCommands::exportCalendarFile() {
    std::string name =
        state_.prompts().saveFileName("Export as iCalendar", lastExport_, kIcalFilter);
    if (name.empty())
        return false;
    // The dialog asked about the name it was given; a name that gains the extension here
    // may name another file, which is asked about here.
    if (!std::filesystem::path(name).has_extension()) {
        name += ".ics";
        if (pathExists(name) &&
            !state_.prompts().askYesNo(name + " already exists.\nDo you want to replace it?",
                                       "Export as iCalendar"))
            return false;
    }
    lastExport_ = name;

    IcalExportSettings settings;
    settings.alarmLeadMinutes = state_.options().alarmMin;
    const DateSerial now = state_.clock().now();
    settings.stampUtcSeconds =
        QDateTime(toQDate(now), toQTime(dayFraction(now))).toSecsSinceEpoch();
    const CalendarExport out =
        exportCalendar(state_.store().gridStore(), state_.store().gridNonday(),
                       state_.gridHoliday(), settings, state_.fs());
    std::string error;
    if (!writeFileAtomic(name, out.text, error)) {
        state_.prompts().error("Cannot create file " + name);
        return false;
    }
    return true;
}

void IcalCommands::importCalendarFile() {
    const std::string name =
        state_.prompts().openFileName("Import iCalendar", lastImport_, kIcalFilter);
    if (name.empty())
        return;
    lastImport_ = name;
    std::string text;
    try {
        text = readCalendarFile(name);
        // A file that is no calendar at all is said at once, not in an empty preview.
        readCalendar(text, defaultImportRange(wholeDays(state_.clock().now())), toLocal_);
    } catch (const IcalFileError& e) {
        state_.prompts().error(name + ": " + e.what());
        return;
    }
    IcalImportDialog dialog(state_, std::move(text), name, toLocal_, window_);
    if (dialog.exec() != QDialog::Accepted)
        return;
    showAddedTasks();
}

void IcalCommands::showAddedTasks() {
    // The added tasks may lie on any date of the range, the shown one too.
    state_.storeEvents().publish(StoreChange::everything());
    window_->update();
}

} // namespace dw
