#include "core/dates/date_serial.h"
#include "core/store/task_store.h"
#include "support/temp_dir.h"

#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <sys/stat.h>

namespace dw {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

const int kDay = 36526; // 1 January 2000

class SavingChanges : public ::testing::Test {
protected:
    SavingChanges() : clock(encodeDateTime(2000, 1, 1, 12, 0)) {
        dir.write("grid.grd", "6,3\r\ncw 0,110\r\ncw 1,94\r\ncw 2,146\r\ncw 3,64\r\ncw 4,64\r\n"
                              "cw 5,64\r\n0,1,36526.101\r\n1,1,9:00 AM\r\n3,1,Plumber\r\n"
                              "4,1,No\r\n5,1,No\r\n0,2,36527.101\r\n1,2,10:00 AM\r\n"
                              "3,2,Dentist\r\n4,2,No\r\n5,2,No\r\n");
        dir.write("gridNon.grd", "3,2\r\ncw 0,62\r\ncw 1,503\r\ncw 2,52\r\n0,0,Category\r\n"
                                 "1,0,What\r\n2,0,Done?\r\n1,1,Call\r\n2,1,No\r\n");
    }

    // Both files dated a day back, so that a rewrite shows in their times; saves replace a
    // file by a new one, so a rewrite shows in its inode too.
    void ageFiles() {
        for (const char* name : {"grid.grd", "gridNon.grd"}) {
            fs::last_write_time(dir.file(name), old);
            inodes[name] = inodeOf(name);
        }
    }
    ino_t inodeOf(const std::string& name) const {
        struct stat st {};
        ::stat(dir.file(name).c_str(), &st);
        return st.st_ino;
    }
    bool written(const char* name) {
        const bool replaced = inodeOf(name) != inodes[name];
        if (!replaced) {
            EXPECT_EQ(fs::last_write_time(dir.file(name)), old) << name;
        }
        return replaced;
    }

    std::map<std::string, ino_t> inodes;

    TempDir dir;
    FormatSettings formats = FormatSettings::enUS();
    FixedClock clock;
    fs::file_time_type old = fs::file_time_type::clock::now() - std::chrono::hours(24);
};

TEST_F(SavingChanges, OnlyChangedTablesAreWritten) {
    struct Case {
        const char* what;
        void (*change)(TaskStore&);
        bool storeWritten, todoWritten;
    };
    const Case cases[] = {
        {"nothing changed", [](TaskStore&) {}, false, false},
        {"the day view read, a date looked up",
         [](TaskStore& s) {
             s.readFromStore(kDay);
             (void)s.firstVisibleRow(kDay + 1);
         },
         false, false},
        {"a to-do task edited", [](TaskStore& s) { s.gridNonday().setCell(1, 1, "Call Bob"); },
         false, true},
        {"a cell set to the text it holds",
         [](TaskStore& s) { s.gridStore().setCell(3, 1, "Plumber"); }, false, false},
        {"a dated task changed in place", [](TaskStore& s) { s.gridStore().setCell(4, 2, "Yes"); },
         true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TaskStore store(formats, clock);
        store.setDataDir(dir.path());
        ageFiles();
        store.loadStoreFile();
        store.loadTodoFile();
        c.change(store);
        EXPECT_TRUE(store.saveChangedFiles(true));
        EXPECT_EQ(written("grid.grd"), c.storeWritten);
        EXPECT_EQ(written("gridNon.grd"), c.todoWritten);
        // Once written, a second close has nothing left to write.
        for (const char* name : {"grid.grd", "gridNon.grd"})
            inodes[name] = inodeOf(name);
        old = fs::last_write_time(dir.file("grid.grd"));
        fs::last_write_time(dir.file("gridNon.grd"), old);
        store.loadTodoFile();
        EXPECT_TRUE(store.saveChangedFiles(false));
        EXPECT_FALSE(written("grid.grd"));
        EXPECT_FALSE(written("gridNon.grd"));
    }
}

TEST_F(SavingChanges, AFileChangedOrRemovedBehindOurBackIsWrittenAgain) {
    TaskStore store(formats, clock);
    store.setDataDir(dir.path());
    store.loadStoreFile();
    store.loadTodoFile();
    const std::string todoText = dir.read("gridNon.grd");
    fs::remove(dir.file("grid.grd"));
    dir.write("gridNon.grd", "3,2\r\n1,1,Someone else's\r\n");
    EXPECT_TRUE(store.saveChangedFiles(true));
    EXPECT_TRUE(fs::exists(dir.file("grid.grd")));
    EXPECT_EQ(dir.read("gridNon.grd"), todoText);
}

TEST_F(SavingChanges, AnInsertedTaskIsSavedOnceNotAgainAtClose) {
    TaskStore store(formats, clock);
    store.setDataDir(dir.path());
    store.loadStoreFile();
    ASSERT_TRUE(store.insertTask(kDay, DatedTask{"8:00 AM", "", "Early", false, false}));
    inodes["grid.grd"] = inodeOf("grid.grd");
    old = fs::last_write_time(dir.file("grid.grd"));
    EXPECT_TRUE(store.saveChangedFiles(true));
    EXPECT_FALSE(written("grid.grd"));
}

} // namespace
} // namespace dw
