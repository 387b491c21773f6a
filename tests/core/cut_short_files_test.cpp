// Every table file the program keeps, loaded as the program loads it: a file that is empty,
// cut short or not a file at all is an error that names it, leaves the table as it was and
// keeps the damaged bytes; what the program itself writes always loads.
#include "core/dates/date_serial.h"
#include "core/holidays/holiday_table.h"
#include "core/output/completed_tasks.h"
#include "core/store/helpers.h"
#include "core/store/save_guard.h"
#include "core/store/task_store.h"
#include "support/table_rows.h"
#include "support/temp_dir.h"

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>

namespace dw {
namespace {

namespace fs = std::filesystem;
using test::Rows;
using test::rowsOf;
using test::setDataRows;
using test::TempDir;

// A table as a load leaves it: the header row and the data rows.
struct Loaded {
    std::string error; // empty: loaded
    Rows header;
    Rows rows;
};

Rows headerOf(const CellTable& t) {
    std::string line;
    for (int c = 0; c < t.colCount(); ++c)
        line += (c ? "|" : "") + t.cell(c, 0);
    return {line};
}

class CutShortFiles : public ::testing::Test {
protected:
    CutShortFiles() { clearSaveRefusals(); }
    ~CutShortFiles() override { clearSaveRefusals(); }

    // One of the program's table files: how its table is made, and how the program loads it
    // at start (a damaged file kept aside).
    struct DataFile {
        const char* name;
        std::function<CellTable()> make;
        std::function<Loaded(const std::string& dir)> load;
    };

    std::vector<DataFile> dataFiles() {
        const auto throughStore = [this](bool todo) {
            return [this, todo](const std::string& dir) {
                TaskStore store(fs_, clock_);
                store.setDataDir(dir);
                Loaded out;
                try {
                    todo ? store.loadTodoFile() : store.loadStoreFile();
                } catch (const TableFileError& e) {
                    out.error = e.what();
                }
                const CellTable& t = todo ? store.gridNonday() : store.gridStore();
                out.header = headerOf(t);
                out.rows = rowsOf(t);
                return out;
            };
        };
        return {
            {"grid.grd", [this] { return makeGridStore(fs_); }, throughStore(false)},
            {"gridNon.grd", [] { return makeGridNonday(); }, throughStore(true)},
            {"holiday.grd", [] { return makeHolidayTable(); },
             [](const std::string& dir) {
                 CellTable t = makeHolidayTable();
                 Loaded out;
                 try {
                     loadTableIfPresent(t, joinPath(dir, "holiday.grd"));
                 } catch (const TableFileError& e) {
                     out.error = e.what();
                 }
                 out.header = headerOf(t);
                 out.rows = rowsOf(t);
                 return out;
             }},
            {"gridComp.grd", [] { return CompletedTasks().table(); },
             [](const std::string& dir) {
                 CompletedTasks completed(dir);
                 const Status loaded = completed.load();
                 Loaded out;
                 out.error = loaded.message();
                 out.header = headerOf(completed.table());
                 out.rows = rowsOf(completed.table());
                 return out;
             }},
        };
    }

    // Five data rows, each with its column 0 filled and one cell saying which row it is.
    static std::vector<std::vector<std::string>> fiveRows(int cols) {
        std::vector<std::vector<std::string>> rows;
        for (int r = 1; r <= 5; ++r) {
            std::vector<std::string> row(static_cast<size_t>(cols), "No");
            row[0] = storeKey(kDay + r, 101);
            row[1] = "row " + std::to_string(r) + " text";
            rows.push_back(row);
        }
        return rows;
    }

    // The file as the program writes it from these rows.
    std::string written(const DataFile& f, const std::vector<std::vector<std::string>>& rows) {
        CellTable t = f.make();
        setDataRows(t, rows);
        EXPECT_TRUE(t.saveTable(dir_.file(f.name)));
        return dir_.read(f.name);
    }

    static constexpr int kDay = 36526;
    FormatSettings fs_ = FormatSettings::enUS();
    FixedClock clock_{encodeDateTime(2000, 1, 1, 9, 0)};
    TempDir dir_;
};

TEST_F(CutShortFiles, ADamagedFileIsAnErrorThatChangesNothingAndLosesNothing) {
    for (const DataFile& f : dataFiles()) {
        SCOPED_TRACE(f.name);
        const int cols = f.make().colCount();
        const std::string whole = written(f, fiveRows(cols));
        const std::string dimension = std::to_string(cols) + ",6\r\n";
        ASSERT_EQ(whole.rfind(dimension, 0), 0u);
        const struct {
            const char* what;
            std::string bytes; // empty: see `folder`
            bool folder = false;
        } cases[] = {
            {"0-byte", ""},
            {"cut in a row", whole.substr(0, whole.find("row 3 text") + 5)},
            {"cut in the header", whole.substr(0, whole.find("cw 1,") + 4)},
            {"cut exactly at a line end", whole.substr(0, whole.find("\r\n0,2,") + 2)},
            {"a dimension larger than the rows",
             std::to_string(cols) + ",11\r\n" + whole.substr(dimension.size())},
            {"a folder in the file's place", "", true},
        };
        // What the program holds when there is no file at all.
        fs::remove(dir_.file(f.name));
        const Loaded asCreated = f.load(dir_.path());
        ASSERT_EQ(asCreated.error, "");

        for (const auto& c : cases) {
            SCOPED_TRACE(c.what);
            const std::string path = dir_.file(f.name);
            fs::remove_all(path);
            fs::remove(path + ".damaged");
            if (c.folder)
                fs::create_directory(path);
            else
                dir_.write(f.name, c.bytes);

            const Loaded l = f.load(dir_.path());
            if (std::string(f.name) == "gridNon.grd" && c.bytes.empty() && !c.folder) {
                // The one exception: an empty to-do file is an empty to-do list.
                EXPECT_EQ(l.error, "");
                EXPECT_EQ(l.header, (Rows{"Category|What|Done?"}));
                EXPECT_EQ(l.rows, (Rows{"||"}));
                continue;
            }
            EXPECT_NE(l.error.find(path), std::string::npos) << l.error;
            EXPECT_EQ(l.header, asCreated.header);
            EXPECT_EQ(l.rows, asCreated.rows);
            if (c.folder) {
                EXPECT_TRUE(fs::is_directory(path));
            } else {
                // Kept aside before anything could be saved over it, and left where it was.
                EXPECT_EQ(dir_.read(std::string(f.name) + ".damaged"), c.bytes);
                EXPECT_EQ(dir_.read(f.name), c.bytes);
            }
        }
    }
}

TEST_F(CutShortFiles, WhatTheProgramWritesLoadsAsItWas) {
    for (const DataFile& f : dataFiles()) {
        SCOPED_TRACE(f.name);
        const int cols = f.make().colCount();
        const std::vector<std::vector<std::string>> rows = fiveRows(cols);
        // Blank rows the program leaves at a table's end, which its file has no line for:
        // a to-do list sorted with an emptied row last, and a holiday list of an older
        // version, whose fresh table had three blank rows, with holidays put in above them.
        const std::string name = f.name;
        std::vector<std::vector<std::string>> withBlanks = rows;
        withBlanks.resize(rows.size() + (name == "gridNon.grd"   ? 1
                                         : name == "holiday.grd" ? 3
                                                                 : 0));
        const struct {
            const char* what;
            std::vector<std::vector<std::string>> rows;
        } cases[] = {
            {"five rows", rows},
            {"one blank data row", {{}}},
            {"blank rows at the end", withBlanks},
        };
        for (const auto& c : cases) {
            SCOPED_TRACE(c.what);
            CellTable t = f.make();
            setDataRows(t, c.rows);
            const std::string bytes = written(f, c.rows);
            const Loaded l = f.load(dir_.path());
            EXPECT_EQ(l.error, "");
            EXPECT_EQ(l.rows, rowsOf(t));

            // The same file with bare line feeds, as a text editor may leave it.
            std::string lineFeeds;
            for (const char ch : bytes)
                if (ch != '\r')
                    lineFeeds += ch;
            dir_.write(f.name, lineFeeds);
            EXPECT_EQ(f.load(dir_.path()).rows, rowsOf(t));
        }
    }
}

TEST_F(CutShortFiles, AStoreWithoutTasksLoadsAsTheProgramWroteIt) {
    // A fresh store (three blank rows) written when the window hides before any task
    // exists, and the store Clear all leaves (one blank row).
    for (const int rows : {1, 2, 4}) {
        SCOPED_TRACE(rows);
        CellTable store = makeGridStore(fs_);
        store.setRowCount(rows);
        ASSERT_TRUE(store.saveTable(dir_.file("grid.grd")));
        TaskStore loaded(fs_, clock_);
        loaded.setDataDir(dir_.path());
        EXPECT_NO_THROW(loaded.loadStoreFile());
        EXPECT_EQ(loaded.gridStore().rowCount(), rows);
    }
}

TEST_F(CutShortFiles, TheToDoHeaderIsAlwaysTheProgramsOwn) {
    const Rows own{"Category|What|Done?"};
    const struct {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"no header cells", "3,2\r\ncw 0,62\r\ncw 1,503\r\ncw 2,52\r\n1,1,Milk\r\n"},
        {"other header texts", "3,2\r\n0,0,Kategorie\r\n1,0,Was\r\n1,1,Milk\r\n"},
        {"two columns", "2,2\r\n1,1,Milk\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        dir_.write("gridNon.grd", c.bytes);
        TaskStore store(fs_, clock_);
        store.setDataDir(dir_.path());
        store.loadTodoFile();
        EXPECT_EQ(headerOf(store.gridNonday()), own);
        EXPECT_EQ(rowsOf(store.gridNonday()), (Rows{"|Milk|"}));
    }
}

} // namespace
} // namespace dw
