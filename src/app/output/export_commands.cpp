#include "app/output/export_commands.h"

#include "app/output/web_calendar_dialog.h"
#include "app/shell/app_prompts.h"
#include "app/shell/app_state.h"
#include "app/shell/command_places.h"
#include "app/shell/main_actions.h"
#include "app/widgets/shadow_label.h"
#include "core/output/table_writers.h"
#include "core/output/web_calendar.h"

#include <QAction>
#include <QMenu>
#include <QToolBar>
#include <filesystem>
#include <tuple>

namespace dw {

namespace {

constexpr const char* kHtmlFilter = "HTM files (*.htm)|*.htm|All files (*.*)|*.*";
constexpr const char* kTextFilter =
    "Text files (*.txt)|*.txt|Comma Separated (*.csv)|*.csv|All files (*.*)|*.*";

} // namespace

ExportDialog::ExportDialog(Prompts& prompts, Kind kind, std::string defaultName)
    : prompts_(prompts), kind_(kind), lastName_(std::move(defaultName)) {}

std::string ExportDialog::ask() {
    const bool html = kind_ == Html;
    std::string name =
        prompts_.saveFileName(html ? "Save as an HTML file" : "Save as comma-delimited", lastName_,
                              html ? kHtmlFilter : kTextFilter);
    if (name.empty())
        return {};
    if (!std::filesystem::path(name).has_extension())
        name += html ? ".htm" : ".txt";
    lastName_ = name;
    return name;
}

bool ExportDialog::exportTable(const CellTable& table) {
    const std::string name = ask();
    if (name.empty())
        return false;
    return !showErrors(prompts_, kind_ == Html ? writeHtmlTable(table, name)
                                               : writeCommaDelimited(table, name));
}

ExportCommands::ExportCommands(const CommandPlaces& places, SelectedDay selected,
                               const ShadowLabel& dateCaption, AppState& state)
    : QObject(places.window), window_(places.window), selected_(selected),
      dateCaption_(dateCaption), state_(state),
      html_(state.prompts(), ExportDialog::Html, "tasks.htm"),
      csv_(state.prompts(), ExportDialog::CommaDelimited, "tasks.txt") {
    const MainActions& a = *places.actions;
    connect(a.dayMenuExportHtml, &QAction::triggered, this, [this] { exportDay(html_); });
    connect(a.dayMenuExportCsv, &QAction::triggered, this, [this] { exportDay(csv_); });
    connect(a.todoMenuExportHtml, &QAction::triggered, this, [this] { exportTodo(html_); });
    connect(a.todoMenuExportCsv, &QAction::triggered, this, [this] { exportTodo(csv_); });
    connect(a.exportDailyHtml, &QAction::triggered, this, [this] { exportDailyTasks(html_); });
    connect(a.exportDailyCsv, &QAction::triggered, this, [this] { exportDailyTasks(csv_); });
    connect(a.exportTodoHtml, &QAction::triggered, this, [this] { exportTodo(html_); });
    connect(a.exportTodoCsv, &QAction::triggered, this, [this] { exportTodo(csv_); });
    connect(a.publishWebPage, &QAction::triggered, this, [this] { publishWebPage(); });
    placeActions(places);
}

void ExportCommands::placeActions(const CommandPlaces& places) {
    const MainActions& a = *places.actions;
    // Each pane's pop-up menu exports that pane, whichever grid had the focus before.
    for (auto [menu, html, csv] :
         {std::tuple{places.dayMenu, a.dayMenuExportHtml, a.dayMenuExportCsv},
          std::tuple{places.todoMenu, a.todoMenuExportHtml, a.todoMenuExportCsv}}) {
        if (!menu)
            continue;
        QMenu* exportMenu = menu->addMenu("Export");
        exportMenu->addActions({html, csv});
    }
    if (QMenu* file = places.fileMenu) {
        QAction* before = a.hide;
        auto* exportMenu = new QMenu("Export", file);
        exportMenu->setObjectName("exportMenu");
        QMenu* daily = exportMenu->addMenu("Daily Tasks");
        daily->addActions({a.exportDailyHtml, a.exportDailyCsv});
        QMenu* todo = exportMenu->addMenu("To-do tasks");
        todo->addActions({a.exportTodoHtml, a.exportTodoCsv});
        file->insertMenu(before, exportMenu);
        file->insertAction(before, a.publishWebPage);
    }
    if (QToolBar* bar = places.mainToolBar)
        bar->insertAction(a.help, a.publishWebPage);
}

void ExportCommands::exportDay(ExportDialog& dialog) {
    dialog.exportTable(state_.store().gridDay());
}

void ExportCommands::exportTodo(ExportDialog& dialog) {
    dialog.exportTable(state_.store().gridNonday());
}

void ExportCommands::exportDailyTasks(ExportDialog& dialog) {
    transferToPrintTable(state_.gridPrint(), state_.store().gridStore(), state_.printSelection(),
                         state_.fs());
    dialog.exportTable(state_.gridPrint());
}

void ExportCommands::publishWebPage() {
    WebCalendarDialog dialog(state_.settings(), state_.fs(), state_.prompts(), window_);
    dialog.setMonthDate(selected_.date());
    dialog.setSources(webPageSources(state_.store(), state_.gridHoliday(), state_.fs()));
    dialog.setTitleFont(dateCaption_.font());
    dialog.exec();
}

} // namespace dw
