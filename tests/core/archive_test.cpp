#include "core/dates/date_serial.h"
#include "core/store/archive.h"
#include "core/store/clear_all.h"
#include "support/table_rows.h"
#include "support/temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace dw {
namespace {

using test::fileRows;
using test::Rows;
using test::rowsOf;
using test::setDataRows;
using test::TempDir;

TEST(ArchiveNames, CompanionsReplaceOrFollowTheExtension) {
    const struct {
        const char* main;
        const char* todo;
        const char* completed;
    } cases[] = {
        {"backup.arb", "backup.AR2", "backup.AR3"},
        {"/home/me/backup", "/home/me/backup.AR2", "/home/me/backup.AR3"},
        {"/home/me/my.backup.ARB", "/home/me/my.backup.AR2", "/home/me/my.backup.AR3"},
        // A full stop in a folder's name is no extension of the file's.
        {"/tmp/v1.2/backup", "/tmp/v1.2/backup.AR2", "/tmp/v1.2/backup.AR3"},
        {"C:\\data.old\\backup", "C:\\data.old\\backup.AR2", "C:\\data.old\\backup.AR3"},
    };
    for (const auto& c : cases) {
        const ArchiveNames n = archiveNames(c.main);
        EXPECT_EQ(n.main, c.main);
        EXPECT_EQ(n.todo, c.todo) << c.main;
        EXPECT_EQ(n.completed, c.completed) << c.main;
    }
}

TEST(ArchiveNames, DefaultExtensionAndRefusedMainNames) {
    EXPECT_EQ(withArchiveExtension("backup"), "backup.arb");
    EXPECT_EQ(withArchiveExtension("/tmp/v1.2/backup"), "/tmp/v1.2/backup.arb");
    EXPECT_EQ(withArchiveExtension("backup.bak"), "backup.bak");

    for (const char* refused : {"backup.AR2", "/tmp/backup.AR3", "backup.ar2", "x.Ar3"})
        EXPECT_TRUE(archiveNameProblem(refused)) << refused;
    for (const char* fine : {"backup.arb", "backup", "backup.AR2.arb", "/tmp/x.AR2/backup"})
        EXPECT_FALSE(archiveNameProblem(fine)) << fine;
}

// A data folder with its three task tables, and a folder to archive into.
class ArchiveTest : public ::testing::Test {
protected:
    ArchiveTest() : fs(FormatSettings::enUS()), store(fs, clock), completed(dataDir.path()) {
        store.setDataDir(dataDir.path());
        setDataRows(store.gridStore(), {{"36526.101", "9:00 AM", "Work", "Plan", "No", "No"},
                                        {"36527.101", "10:00 AM", "", "Shop", "Yes", "No"}});
        setDataRows(store.gridNonday(), {{"Home", "Milk", "No"}});
        setDataRows(completed.table(),
                    {{"1/1/2000", "9:00 AM", "Work", "Sat 1/1/2000", "Report", "Sent"}});
    }

    std::string archive(const std::string& name) const { return archiveDir.file(name); }

    // Writes an archive set straight from rows.
    void writeSet(const std::string& name, const std::vector<std::vector<std::string>>& dated,
                  const std::vector<std::vector<std::string>>& todo,
                  const std::vector<std::vector<std::string>>& done) {
        TaskStore other(fs, clock);
        CompletedTasks otherCompleted;
        setDataRows(other.gridStore(), dated);
        setDataRows(other.gridNonday(), todo);
        setDataRows(otherCompleted.table(), done);
        ASSERT_TRUE(writeArchive(archive(name), other.gridStore(), other.gridNonday(),
                                 otherCompleted.table())
                        .ok);
    }

    struct Snapshot {
        Rows dated, todo, done;
        bool operator==(const Snapshot&) const = default;
    };
    Snapshot tables() const {
        return {rowsOf(store.gridStore()), rowsOf(store.gridNonday()), rowsOf(completed.table())};
    }

    FormatSettings fs;
    FixedClock clock{encodeDateTime(2000, 1, 1, 9, 0)};
    TempDir dataDir;
    TempDir archiveDir;
    TaskStore store;
    CompletedTasks completed;
};

TEST_F(ArchiveTest, ArchiveThenRestoreBringsBackAllThreeTablesAndWritesThem) {
    const ArchiveResult written = writeArchive(archive("backup.arb"), store.gridStore(),
                                               store.gridNonday(), completed.table());
    ASSERT_TRUE(written.ok);
    for (const char* name : {"backup.arb", "backup.AR2", "backup.AR3"})
        EXPECT_TRUE(std::filesystem::exists(archive(name))) << name;
    EXPECT_EQ(archiveStoredMessage(written.names),
              "Archive stored in the files - " + archive("backup.arb") + ", " +
                  archive("backup.AR2") + " and " + archive("backup.AR3"));

    const Snapshot before = tables();
    setDataRows(store.gridStore(), {{"40000.101", "8:00 AM", "X", "Other", "No", "No"}});
    setDataRows(store.gridNonday(), {{"", "Other", "No"}, {"", "More", "No"}});
    clearCompletedRecords(completed.table());

    const ArchiveResult restored = restoreArchive(archive("backup.arb"), store, completed);
    ASSERT_TRUE(restored.ok) << (restored.problems.empty() ? "" : restored.problems[0]);
    EXPECT_TRUE(restored.replaced);
    EXPECT_TRUE(tables() == before);
    // Written to the data folder at once.
    EXPECT_EQ(fileRows(dataDir.file("grid.grd")), before.dated);
    EXPECT_EQ(fileRows(dataDir.file("gridNon.grd")), before.todo);
    EXPECT_EQ(fileRows(dataDir.file("gridComp.grd")), before.done);
}

TEST_F(ArchiveTest, RestoredStoreIsSortedByKeyAndUsableByDate) {
    // Text order, as older versions wrote: the four-digit serial (1927) sorts last as text.
    writeSet("old.arb",
             {{"36526.101", "9:00 AM", "", "New year", "No", "No"},
              {}, // an emptied row goes
              {"9999.101", "9:00 AM", "", "Long ago", "No", "No"}},
             {}, {});
    ASSERT_TRUE(restoreArchive(archive("old.arb"), store, completed).ok);
    EXPECT_EQ(rowsOf(store.gridStore()),
              (Rows{"9999.101|9:00 AM||Long ago|No|No", "36526.101|9:00 AM||New year|No|No"}));
    store.readFromStore(9999);
    EXPECT_EQ(rowsOf(store.gridDay()), (Rows{"9:00 AM||Long ago|No|No"}));
}

TEST_F(ArchiveTest, ACellTheArchiveLacksIsEmptyAfterRestore) {
    // The current first task has a category; the archive's has none.
    writeSet("set.arb", {{"36526.101", "9:00 AM", "", "Plan", "No", "No"}}, {{"", "Milk", "No"}},
             {});
    ASSERT_TRUE(restoreArchive(archive("set.arb"), store, completed).ok);
    EXPECT_EQ(store.gridStore().cell(StoreCol::Category, 1), "");
    EXPECT_EQ(rowsOf(store.gridNonday()), (Rows{"|Milk|No"}));
}

TEST_F(ArchiveTest, AMissingFileStopsRestoreBeforeAnythingChanges) {
    writeSet("set.arb", {{"40000.101", "8:00 AM", "", "New", "No", "No"}}, {}, {});
    std::filesystem::remove(archive("set.AR3"));
    const Snapshot before = tables();
    const ArchiveResult r = restoreArchive(archive("set.arb"), store, completed);
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.replaced);
    EXPECT_EQ(r.problems, std::vector<std::string>{kRestoreMissingFile});
    EXPECT_TRUE(tables() == before);
    EXPECT_FALSE(std::filesystem::exists(dataDir.file("grid.grd")));
}

TEST_F(ArchiveTest, AFileThatDoesNotLoadLeavesEverythingUnchangedAndIsNamed) {
    const std::string storeFile = "3,2\r\ncw 0,1\r\ncw 1,1\r\ncw 2,1\r\n0,1,x\r\n";
    const struct {
        const char* what;
        const char* file;     // replaced in a good set
        std::string contents; // empty: a folder in its place
    } cases[] = {
        {"damaged .AR2", "set.AR2", "garbage without dimensions\r\n"},
        {"no rows in .AR2", "set.AR2", "3,0\r\n"},
        {"a dated store as .AR2", "set.AR2", "6,2\r\n1,1,x\r\n"},
        {"a to-do table as main", "set.arb", storeFile},
        {"a folder as .AR3", "set.AR3", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        writeSet("set.arb", {{"40000.101", "8:00 AM", "", "New", "No", "No"}},
                 {{"", "Other", "No"}}, {});
        std::filesystem::remove(archive(c.file));
        if (c.contents.empty())
            std::filesystem::create_directory(archive(c.file));
        else
            archiveDir.write(c.file, c.contents);
        const Snapshot before = tables();
        const ArchiveResult r = restoreArchive(archive("set.arb"), store, completed);
        EXPECT_FALSE(r.replaced);
        EXPECT_EQ(r.problems,
                  std::vector<std::string>{"Could not load up the archive ... must be corrupt: " +
                                           archive(c.file)});
        EXPECT_TRUE(tables() == before);
        EXPECT_FALSE(std::filesystem::exists(dataDir.file("gridNon.grd")));
        std::filesystem::remove_all(archive(c.file));
    }
}

TEST_F(ArchiveTest, AnEmptyOrCutShortPartChangesNothingAndIsNamed) {
    // A part cut at a line end promises more rows than it holds.
    const auto moreRows = [](const std::string& bytes) {
        const std::size_t comma = bytes.find(',');
        return bytes.substr(0, comma) + ",9" + bytes.substr(bytes.find("\r\n"));
    };
    const struct {
        const char* what;
        std::string (*damage)(const std::string&);
    } damages[] = {
        {"0-byte", [](const std::string&) { return std::string(); }},
        {"cut in a row", [](const std::string& b) { return b.substr(0, b.size() - 3); }},
        {"cut at a line end", +moreRows},
    };
    for (const char* part : {"set.arb", "set.AR2", "set.AR3"}) {
        for (const auto& d : damages) {
            SCOPED_TRACE(std::string(part) + ", " + d.what);
            writeSet("set.arb",
                     {{"40000.101", "8:00 AM", "", "New", "No", "No"},
                      {"40001.101", "8:00 AM", "", "Newer", "No", "No"}},
                     {{"", "Other", "No"}, {"", "More", "No"}},
                     {{"1/1/2000", "9:00 AM", "", "Sat 1/1/2000", "Done", ""}});
            archiveDir.write(part, d.damage(archiveDir.read(part)));
            const Snapshot before = tables();
            const ArchiveResult r = restoreArchive(archive("set.arb"), store, completed);
            EXPECT_FALSE(r.replaced);
            EXPECT_EQ(r.problems, std::vector<std::string>{archiveCorruptMessage(archive(part))});
            EXPECT_TRUE(tables() == before);
            for (const char* name : {"grid.grd", "gridNon.grd", "gridComp.grd"})
                EXPECT_FALSE(std::filesystem::exists(dataDir.file(name))) << name;
        }
    }
}

TEST_F(ArchiveTest, EveryFailingFileIsNamed) {
    writeSet("set.arb", {}, {}, {});
    archiveDir.write("set.arb", "0,0\r\n");
    archiveDir.write("set.AR3", "1,1\r\n");
    const ArchiveResult r = restoreArchive(archive("set.arb"), store, completed);
    EXPECT_EQ(r.problems, (std::vector<std::string>{archiveCorruptMessage(archive("set.arb")),
                                                    archiveCorruptMessage(archive("set.AR3"))}));
}

TEST_F(ArchiveTest, ACompanionNameIsRefusedAsMainName) {
    writeSet("set.arb", {}, {}, {});
    const Snapshot before = tables();
    const ArchiveResult restored = restoreArchive(archive("set.AR2"), store, completed);
    ASSERT_EQ(restored.problems.size(), 1u);
    EXPECT_NE(restored.problems[0].find(".AR2 or .AR3"), std::string::npos);
    EXPECT_TRUE(tables() == before);

    const ArchiveResult written =
        writeArchive(archive("x.ar3"), store.gridStore(), store.gridNonday(), completed.table());
    EXPECT_FALSE(written.ok);
    EXPECT_FALSE(std::filesystem::exists(archive("x.ar3")));
}

TEST_F(ArchiveTest, AFileThatCannotBeWrittenIsReported) {
    const std::string main = archiveDir.file("no/such/folder/backup.arb");
    const ArchiveResult r =
        writeArchive(main, store.gridStore(), store.gridNonday(), completed.table());
    EXPECT_FALSE(r.ok);
    ASSERT_EQ(r.problems.size(), 3u);
    EXPECT_NE(r.problems[1].find("Could not save file " + r.names.todo), std::string::npos);
}

TEST_F(ArchiveTest, ARestoreThatCannotBeWrittenSaysSoAfterReplacing) {
    writeSet("set.arb", {{"40000.101", "8:00 AM", "", "New", "No", "No"}}, {}, {});
    store.setDataDir(dataDir.file("gone")); // no such folder
    const ArchiveResult r = restoreArchive(archive("set.arb"), store, completed);
    EXPECT_TRUE(r.replaced);
    EXPECT_FALSE(r.ok);
    ASSERT_EQ(r.problems.size(), 2u);
    EXPECT_NE(r.problems[0].find("grid.grd"), std::string::npos);
    EXPECT_EQ(store.gridStore().cell(StoreCol::What, 1), "New");
}

// ---------------------------------------------------------------------------------------
// Clear all

class ClearAllTest : public ArchiveTest {
protected:
    const int mar1 = dateSerialOf(2024, 3, 1);
    const int mar31 = dateSerialOf(2024, 3, 31);
    std::string key(int y, int m, int d, int seq = 101) {
        return storeKey(dateSerialOf(y, m, d), seq);
    }
    void setStore(const std::vector<std::string>& keys) {
        std::vector<std::vector<std::string>> rows;
        for (const auto& k : keys)
            rows.push_back({k, "9:00 AM", "", "t" + k, rows.size() % 2 ? "Yes" : "No", "No"});
        setDataRows(store.gridStore(), rows);
    }
    std::vector<std::string> keys() const {
        std::vector<std::string> out;
        for (int r = 1; r < store.gridStore().rowCount(); ++r)
            out.push_back(store.gridStore().cell(StoreCol::Key, r));
        return out;
    }
    PrintSelection march() const {
        PrintSelection sel;
        sel.allDates = false;
        sel.fromDate = mar1;
        sel.toDate = mar31;
        sel.todo = false;
        return sel;
    }
};

TEST_F(ClearAllTest, ADateRangeRemovesExactlyItsDatesWhereverTheyLie) {
    const Rows todoBefore = rowsOf(store.gridNonday());
    // The range ends the store, then lies inside it.
    setStore({key(2024, 2, 29), key(2024, 3, 1), key(2024, 3, 31, 102), key(2024, 4, 1)});
    ClearedCounts counts = clearSelectedTasks(store.gridStore(), store.gridNonday(), march(), fs);
    EXPECT_EQ(keys(), (std::vector<std::string>{key(2024, 2, 29), key(2024, 4, 1)}));
    EXPECT_EQ(counts.dated, 2);

    // The store's first row is in the range: it is emptied, not removed.
    setStore({key(2024, 3, 1), key(2024, 3, 15), key(2024, 4, 1)});
    counts = clearSelectedTasks(store.gridStore(), store.gridNonday(), march(), fs);
    EXPECT_EQ(rowsOf(store.gridStore()),
              (Rows{"|||||", key(2024, 4, 1) + "|9:00 AM||t" + key(2024, 4, 1) + "|No|No"}));
    EXPECT_EQ(counts.dated, 2);
    EXPECT_EQ(rowsOf(store.gridNonday()), todoBefore);
}

TEST_F(ClearAllTest, DoneStateAndCategoryNarrowTheDatedTasks) {
    setStore({key(2024, 3, 1), key(2024, 3, 2), key(2024, 3, 3)}); // No, Yes, No
    store.gridStore().setCell(StoreCol::Category, 3, "Work");
    PrintSelection sel = march();
    sel.done = false;
    sel.byCategory = true;
    sel.categories = {"Work"};
    clearSelectedTasks(store.gridStore(), store.gridNonday(), sel, fs);
    EXPECT_EQ(keys(), (std::vector<std::string>{key(2024, 3, 1), key(2024, 3, 2)}));
}

TEST_F(ClearAllTest, ToDoOnlyRemovesToDoTasksWithOrWithoutCategory) {
    setStore({key(2024, 3, 1), key(2024, 3, 2)});
    const Rows datedBefore = rowsOf(store.gridStore());
    setDataRows(store.gridNonday(), {{"Home", "Milk", "No"}, {"", "No category", "Yes"}, {}});
    PrintSelection sel;
    sel.done = sel.notDone = false;
    const ClearedCounts counts = clearSelectedTasks(store.gridStore(), store.gridNonday(), sel, fs);
    EXPECT_EQ(rowsOf(store.gridStore()), datedBefore);
    // The first row emptied; the blank row was no task and stays.
    EXPECT_EQ(rowsOf(store.gridNonday()), (Rows{"||", "||"}));
    EXPECT_EQ(counts.todo, 2);
    EXPECT_EQ(counts.dated, 0);
}

TEST_F(ClearAllTest, EverythingLeavesOneBlankRowEachAndTheCompletedTasksAlone) {
    setStore({key(2024, 3, 1), key(2024, 5, 2), key(2025, 1, 1)});
    setDataRows(store.gridNonday(), {{"Home", "Milk", "No"}, {"Work", "Mail", "No"}});
    const Rows completedBefore = rowsOf(completed.table());
    ASSERT_TRUE(clearAllData(store, PrintSelection{}, fs));
    EXPECT_EQ(rowsOf(store.gridStore()), (Rows{"|||||"}));
    EXPECT_EQ(rowsOf(store.gridNonday()), (Rows{"||"}));
    EXPECT_EQ(rowsOf(completed.table()), completedBefore);
    // Both files written at once, the store as it is.
    EXPECT_EQ(fileRows(dataDir.file("grid.grd")), (Rows{"|||||"}));
    EXPECT_EQ(fileRows(dataDir.file("gridNon.grd")), (Rows{"||"}));
    store.readFromStore(mar1);
    EXPECT_EQ(rowsOf(store.gridDay()), (Rows{"||||"}));
}

} // namespace
} // namespace dw
