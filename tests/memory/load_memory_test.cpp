// What loading a table costs in memory, counted by this program's own allocator: a
// hostile file stays within ten times its size plus 50 MiB or is refused with the
// documented message, and running out of memory while loading is that message too.
#include "core/dates/clock.h"
#include "core/dates/format_settings.h"
#include "core/store/task_store.h"
#include "support/temp_dir.h"

#include <atomic>
#include <cstdlib>
#include <gtest/gtest.h>
#include <new>
#include <string>

namespace {

// Every allocation carries its size in front, so the bytes in use are known at any time.
std::atomic<std::size_t> inUse{0};
std::atomic<std::size_t> peak{0};
std::atomic<std::size_t> limit{0}; // 0: none

constexpr std::size_t kHeader = 16;

void* allocate(std::size_t n) {
    const std::size_t now = inUse.fetch_add(n) + n;
    const std::size_t cap = limit.load();
    if (cap != 0 && now > cap) {
        inUse.fetch_sub(n);
        return nullptr;
    }
    std::size_t seen = peak.load();
    while (now > seen && !peak.compare_exchange_weak(seen, now)) {
    }
    auto* p = static_cast<char*>(std::malloc(n + kHeader));
    if (!p) {
        inUse.fetch_sub(n);
        return nullptr;
    }
    *reinterpret_cast<std::size_t*>(p) = n;
    return p + kHeader;
}

void release(void* q) {
    if (!q)
        return;
    char* p = static_cast<char*>(q) - kHeader;
    inUse.fetch_sub(*reinterpret_cast<std::size_t*>(p));
    std::free(p);
}

} // namespace

void* operator new(std::size_t n) {
    if (void* p = allocate(n))
        return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t n) {
    return ::operator new(n);
}
void* operator new(std::size_t n, const std::nothrow_t&) noexcept {
    return allocate(n);
}
void* operator new[](std::size_t n, const std::nothrow_t&) noexcept {
    return allocate(n);
}
void operator delete(void* p) noexcept {
    release(p);
}
void operator delete[](void* p) noexcept {
    release(p);
}
void operator delete(void* p, std::size_t) noexcept {
    release(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    release(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
    release(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
    release(p);
}

namespace dw {
namespace {

constexpr std::size_t kMiB = 1024 * 1024;

// A one-column table claiming `rows` rows, made up to `size` bytes with cell lines of
// row numbers when `withCells`, with one long junk line otherwise.
std::string oneColumnFile(long long rows, std::size_t size, bool withCells) {
    std::string bytes = "1," + std::to_string(rows) + "\r\ncw 0,64\r\n";
    // The file holds its last row: one cut short is refused before its size matters.
    const std::string last = "0," + std::to_string(rows - 1) + ",last\r\n";
    for (long long r = 1; withCells && bytes.size() + last.size() + 24 < size; ++r)
        bytes += "0," + std::to_string(r % rows) + "," + std::to_string(r) + "\r\n";
    if (bytes.size() + last.size() + 2 < size)
        bytes += std::string(size - bytes.size() - last.size() - 2, '#') + "\r\n";
    return bytes + last;
}

class LoadMemory : public ::testing::Test {
protected:
    FormatSettings fs = FormatSettings::enUS();
    FixedClock clock{36526.5};
    test::TempDir dir;
};

TEST_F(LoadMemory, HostileOneColumnFilesStayWithinTheirBound) {
    struct Case {
        const char* what;
        long long rows;
        bool withCells;
    };
    const Case cases[] = {
        {"rows as many as the budget could allow", 2000000, false},
        {"rows just under the budget", 200000, false},
        {"rows and cells", 150000, true},
        {"a billion rows", 1000000000, false},
    };
    const std::size_t size = kMiB;
    const std::size_t bound = 10 * size + 50 * kMiB;
    int loaded = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        dir.write("grid.grd", oneColumnFile(c.rows, size, c.withCells));
        const std::size_t base = inUse.load();
        peak.store(base);
        {
            TaskStore store(fs, clock);
            store.setDataDir(dir.path());
            try {
                store.loadStoreFile(false);
                // Loaded: even every row made into strings (a find over the whole store,
                // say) stays inside the bound.
                const CellTable& s = store.gridStore();
                ASSERT_EQ(s.colCount(), 6);
                std::size_t chars = 0;
                for (int r = 1; r < s.rowCount(); ++r)
                    chars += s.row(r).size() + s.cell(0, r).size();
                EXPECT_GT(chars, 0u);
                ++loaded;
            } catch (const TableFileError& e) {
                EXPECT_EQ(std::string(e.what()),
                          "File contains no data or corrupt file " + dir.file("grid.grd"));
            }
        }
        EXPECT_LE(peak.load() - base, bound) << "peak " << (peak.load() - base) / kMiB << " MiB";
    }
    EXPECT_EQ(loaded, 2); // the two files within the budget
}

TEST_F(LoadMemory, RunningOutOfMemoryIsTheCorruptFileError) {
    dir.write("grid.grd", oneColumnFile(200000, kMiB, true));
    for (const std::size_t room : {std::size_t{64 * 1024}, std::size_t{2 * kMiB}, 4 * kMiB}) {
        SCOPED_TRACE(room);
        TaskStore store(fs, clock);
        store.setDataDir(dir.path());
        limit.store(inUse.load() + room);
        try {
            store.loadStoreFile(false);
            ADD_FAILURE() << "loaded with too little memory";
        } catch (const TableFileError& e) {
            EXPECT_EQ(std::string(e.what()),
                      "File contains no data or corrupt file " + dir.file("grid.grd"));
        }
        limit.store(0);
        // The store is as it was before the load.
        EXPECT_EQ(store.gridStore().rowCount(), 4);
    }
}

} // namespace
} // namespace dw
