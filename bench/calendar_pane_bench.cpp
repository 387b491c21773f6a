// The month calendars with 100 000 tasks in grid.grd and a dozen holiday rules: the active
// calendar's next-month step in the main window (re-dating the four months, refilling the
// day view and captions, painting everything that changed), and the repaint of the four
// calendars alone, at the default window size and at 1280 x 900. Runs on the offscreen
// platform, so the figures are the program's own drawing, not the display server's.
#include "app/calendar/calendar_pane.h"
#include "app/settings/options_dialog.h"
#include "app/shell/app_state.h"
#include "app/shell/main_window.h"
#include "app/widgets/month_view.h"
#include "core/dates/date_format.h"
#include "core/dates/date_serial.h"
#include "core/holidays/holiday_rules.h"
#include "core/prompts/prompts.h"
#include "core/settings/settings_store.h"
#include "core/store/task_store.h"
#include "platform/system_clock.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <string>

namespace {

using namespace dw;

const int kFirstDay = dateSerialOf(1997, 1, 1);
const int kSpan = 30 * 365;

// A benchmark whose files could not be saved would measure nothing worth reading.
void mustSave(const Status& saved) {
    if (!saved) {
        std::fprintf(stderr, "%s\n", saved.message().c_str());
        std::exit(1);
    }
}

// grid.grd with n tasks on random dates of 30 years, and holiday.grd, in a fresh folder.
std::string makeDataDir(int n) {
    const auto dir = std::filesystem::temp_directory_path() / "dayweaver-calendar-bench";
    std::filesystem::create_directories(dir);
    const FormatSettings fs = FormatSettings::enUS();
    const FixedClock clock(encodeDateTime(2026, 12, 9, 12, 0));
    TaskStore store(fs, clock);
    store.setDataDir(dir.string());
    CellTable& s = store.gridStore();
    s.setRowCount(n + 1);
    std::mt19937 rng(42);
    for (int r = 1; r <= n; ++r) {
        const int date = kFirstDay + static_cast<int>(rng() % kSpan);
        s.setCell(StoreCol::Key, r, storeKey(date, 101 + static_cast<int>(rng() % 3)));
        s.setCell(StoreCol::Time, r, formatDateTime("t", timeFraction(9, 0), fs));
        s.setCell(StoreCol::Category, r, r % 3 ? "Work" : "Home");
        s.setCell(StoreCol::What, r, "Task number " + std::to_string(r));
        s.setCell(StoreCol::Done, r, r % 2 ? "Yes" : "No");
        s.setCell(StoreCol::Alarm, r, "No");
    }
    mustSave(store.sortAndSaveStore());

    const char* rules[][3] = {
        {"New Year", "January", "1"},
        {"Spring Day", "March", "Third : Monday"},
        {"May Day", "May", "1"},
        {"Summer", "June", "Last : Friday"},
        {"Founders", "July", "4"},
        {"Labour", "September", "First : Monday"},
        {"Harvest", "October", "Second : Monday"},
        {"Thanks", "November", "Fourth : Thursday"},
        {"Christmas Eve", "December", "24"},
        {"Christmas", "December", "25"},
        {"Boxing Day", "December", "26"},
        {"Year End", "December", "31"},
    };
    CellTable h(4, 13);
    for (int r = 1; r <= 12; ++r) {
        h.setCell(kHolidayName, r, rules[r - 1][0]);
        h.setCell(kHolidayMonth, r, rules[r - 1][1]);
        h.setCell(kHolidayRule, r, rules[r - 1][2]);
    }
    mustSave(h.saveTable((dir / "holiday.grd").string()));
    return dir.string();
}

// Nobody answers a benchmark: a message it would show goes to stderr, where it is seen.
class StderrPrompts : public UnattendedPrompts {
public:
    void error(const std::string& text) override { std::fprintf(stderr, "%s\n", text.c_str()); }
    void info(const std::string& text) override { std::fprintf(stderr, "%s\n", text.c_str()); }
};

struct Program {
    explicit Program(QSize size) {
        static const std::string dir = makeDataDir(100000);
        state = std::make_unique<AppState>(FormatSettings::enUS(), std::make_unique<SystemClock>(),
                                           std::make_unique<MapSettingsBackend>(),
                                           AppPaths{dir + "/dayweaver", dir, dir}, prompts);
        window = std::make_unique<MainWindow>(*state);
        options = std::make_unique<OptionsDialog>(state->options(), state->settings(), prompts,
                                                  dir + "/dayweaver");
        window->setOptionsWindow(options.get());
        window->resize(size);
        window->show();
        QApplication::processEvents();
    }
    StderrPrompts prompts;
    std::unique_ptr<AppState> state;
    std::unique_ptr<MainWindow> window;
    std::unique_ptr<OptionsDialog> options;
};

QSize sizeOf(const benchmark::State& state) {
    return state.range(0) ? QSize(1280, 860) : QSize(630, 450);
}

// Page Down on the active calendar, with everything it sets off painted before the clock
// stops.
void BM_NextMonthStep(benchmark::State& state) {
    Program p(sizeOf(state));
    CalendarPane* pane = p.window->calendarPane();
    for (auto _ : state) {
        pane->calendar(pane->activeIndex())->nextMonth();
        QApplication::processEvents();
    }
    state.counters["tasks"] = p.state->store().gridStore().rowCount() - 1;
    state.counters["holidays"] = p.state->gridHoliday().rowCount() - 1;
}

// The four calendars drawn again, every cell asking for its colours.
void BM_RepaintFourCalendars(benchmark::State& state) {
    Program p(sizeOf(state));
    CalendarPane* pane = p.window->calendarPane();
    for (auto _ : state)
        for (int i = 0; i < 4; ++i)
            pane->calendar(i)->repaint();
}

BENCHMARK(BM_NextMonthStep)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RepaintFourCalendars)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
