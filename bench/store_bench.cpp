// The dated task store at 1 000, 10 000 and 100 000 tasks spread over 30 years: loading
// grid.grd (read, mapped, or only one date's rows), saving it, writing one edited date back (sort
// and atomic save included), marking four months of calendar cells, and reading a date into the day
// view. The floor beside them writes and flushes the same number of bytes with a plain loop.
#include "core/dates/date_format.h"
#include "core/dates/date_serial.h"
#include "core/store/file_io.h"
#include "core/store/task_store.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <unistd.h>

namespace {

using namespace dw;

const FormatSettings kFs = FormatSettings::enUS();
const FixedClock kClock(encodeDateTime(2026, 12, 9, 12, 0));
const int kFirstDay = dateSerialOf(1997, 1, 1);
const int kSpan = 30 * 365;

// A benchmark whose files could not be saved would measure nothing worth reading.
void mustSave(const Status& saved) {
    if (!saved) {
        std::fprintf(stderr, "%s\n", saved.message().c_str());
        std::exit(1);
    }
}

std::string benchDir() {
    const auto dir = std::filesystem::temp_directory_path() / "dayweaver-bench";
    std::filesystem::create_directories(dir);
    return dir.string();
}

// A sorted store of n tasks on random dates of the 30 years, saved as grid.grd.
TaskStore& storeOf(int n) {
    static std::map<int, std::unique_ptr<TaskStore>> stores;
    auto& slot = stores[n];
    if (!slot) {
        slot = std::make_unique<TaskStore>(kFs, kClock);
        slot->setDataDir(benchDir() + "/" + std::to_string(n));
        std::filesystem::create_directories(slot->dataDir());
        CellTable& s = slot->gridStore();
        s.setRowCount(n + 1);
        std::mt19937 rng(42);
        for (int r = 1; r <= n; ++r) {
            const int date = kFirstDay + static_cast<int>(rng() % kSpan);
            const double time =
                timeFraction(static_cast<int>(rng() % 24), static_cast<int>(rng() % 4) * 15);
            s.setCell(StoreCol::Key, r, storeKey(date, 101 + static_cast<int>(rng() % 3)));
            s.setCell(StoreCol::Time, r, formatDateTime("t", time, kFs));
            s.setCell(StoreCol::Category, r, r % 3 ? "Work" : "Home");
            s.setCell(StoreCol::What, r, "Task number " + std::to_string(r) + "\r\nwith a note");
            s.setCell(StoreCol::Done, r, r % 2 ? "Yes" : "No");
            s.setCell(StoreCol::Alarm, r, r % 5 ? "No" : "Yes");
        }
        mustSave(slot->sortAndSaveStore());
        // The program works on a store it loaded at start-up, whose rows lie in memory in
        // file order; a freshly generated and sorted one would have them scattered.
        slot->loadStoreFile();
    }
    return *slot;
}

void BM_LoadGridGrd(benchmark::State& state) {
    TaskStore& store = storeOf(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        CellTable t = makeGridStore(kFs);
        t.loadTable(store.storePath());
        benchmark::DoNotOptimize(t.rowCount());
    }
}

// The command line's way: the file mapped rather than read.
void BM_LoadGridGrdMapped(benchmark::State& state) {
    TaskStore& store = storeOf(static_cast<int>(state.range(0)));
    CellTable::setMapFilesWhenLoading(true);
    for (auto _ : state) {
        CellTable t = makeGridStore(kFs);
        t.loadTable(store.storePath());
        benchmark::DoNotOptimize(t.rowCount());
    }
    CellTable::setMapFilesWhenLoading(false);
}

// What `agenda DATE` loads: the rows of one date, sorted.
void BM_LoadOneDate(benchmark::State& state) {
    TaskStore& store = storeOf(static_cast<int>(state.range(0)));
    const int date = store.keyDate(store.gridStore().rowCount() / 2);
    for (auto _ : state) {
        TaskStore one(kFs, kClock);
        one.setDataDir(store.dataDir());
        one.loadStoreFileForDate(date);
        benchmark::DoNotOptimize(one.gridStore().rowCount());
    }
}

void BM_SaveTable(benchmark::State& state) {
    TaskStore& store = storeOf(static_cast<int>(state.range(0)));
    for (auto _ : state)
        mustSave(store.saveStoreFile());
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(std::filesystem::file_size(store.storePath())));
}

// The same bytes written and flushed to disk by a plain loop: the floor for any save.
void BM_RawWriteFloor(benchmark::State& state) {
    TaskStore& store = storeOf(static_cast<int>(state.range(0)));
    const std::string bytes = store.gridStore().toFileText();
    const std::string path = store.dataDir() + "/raw.bin";
    for (auto _ : state) {
        std::FILE* f = std::fopen(path.c_str(), "wb");
        for (size_t i = 0; i < bytes.size(); i += 65536)
            std::fwrite(bytes.data() + i, 1, std::min<size_t>(65536, bytes.size() - i), f);
        std::fflush(f);
        ::fsync(::fileno(f));
        std::fclose(f);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(bytes.size()));
}

int busyDate(const TaskStore& store) {
    const CellTable& s = store.gridStore();
    return store.keyDate(s.rowCount() / 2);
}

void BM_WriteToStore(benchmark::State& state) {
    TaskStore& store = storeOf(static_cast<int>(state.range(0)));
    const int date = busyDate(store);
    int edit = 0;
    for (auto _ : state) {
        state.PauseTiming();
        store.readFromStore(date);
        store.gridDay().setCell(DayCol::What, 1, "edited " + std::to_string(edit++));
        state.ResumeTiming();
        mustSave(store.writeToStore(date));
    }
}

void BM_MarkFourMonths(benchmark::State& state) {
    TaskStore& store = storeOf(static_cast<int>(state.range(0)));
    const int first = dateSerialOf(2010, 3, 1);
    for (auto _ : state) {
        int marks = 0;
        for (int d = first; d < first + 4 * 31; ++d) {
            marks += store.dateHighlight(d, false, true);
            marks += store.dateHighlight(d, true, false);
        }
        benchmark::DoNotOptimize(marks);
    }
}

void BM_ReadFromStore(benchmark::State& state) {
    TaskStore& store = storeOf(static_cast<int>(state.range(0)));
    const int date = busyDate(store);
    for (auto _ : state) {
        store.readFromStore(date);
        benchmark::DoNotOptimize(store.gridDay().rowCount());
    }
}

// The two halves of a save, to see where its time goes.
void BM_FileText(benchmark::State& state) {
    TaskStore& store = storeOf(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(store.gridStore().toFileText());
}

void BM_AtomicWrite(benchmark::State& state) {
    TaskStore& store = storeOf(static_cast<int>(state.range(0)));
    const std::string bytes = store.gridStore().toFileText();
    std::string error;
    for (auto _ : state)
        writeFileAtomic(store.dataDir() + "/atomic.grd", bytes, error);
}

#define SIZES ->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)
BENCHMARK(BM_LoadGridGrd) SIZES;
BENCHMARK(BM_LoadGridGrdMapped) SIZES;
BENCHMARK(BM_LoadOneDate) SIZES;
BENCHMARK(BM_SaveTable) SIZES;
BENCHMARK(BM_RawWriteFloor) SIZES;
BENCHMARK(BM_WriteToStore) SIZES;
BENCHMARK(BM_MarkFourMonths)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FileText)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AtomicWrite)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadFromStore)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
