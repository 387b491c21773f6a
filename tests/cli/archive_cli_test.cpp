#include "support/cli_in_process.h"
#include "support/shell_run.h"
#include "support/table_rows.h"
#include "support/temp_dir.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using dw::CellTable;
using dw::test::fileRows;
using dw::test::quoted;
using dw::test::Result;
using dw::test::runShell;
using dw::test::TempDir;

Result runCli(const TempDir& data, const std::vector<std::string>& args) {
    return dw::test::InProcessCli(data.path()).run(args);
}

// The real program, which hands a restore to a running program or names the one that holds
// the folder.
Result runProgram(const TempDir& data, const std::vector<std::string>& args) {
    std::string cmd = "LC_ALL=en_US.UTF-8 LANG=en_US.UTF-8 DAYWEAVER_DATA=" + quoted(data.path()) +
                      " " + quoted(DAYWEAVER_CLI);
    return runShell(cmd, args);
}

void writeTable(int cols, const std::vector<std::vector<std::string>>& rows,
                const std::string& path) {
    ASSERT_TRUE(dw::test::saveDataRows(CellTable(cols, 1), rows, path));
}

// A data folder with a task of each kind.
void fillDataFolder(const TempDir& data) {
    writeTable(6,
               {{"36600.101", "9:00 AM", "Work", "Plan, then act", "No", "Yes"},
                {"36601.101", "10:00 AM", "", "Two\r\nlines", "Yes", "No"}},
               data.file("grid.grd"));
    writeTable(3, {{"Home", "Milk", "No"}}, data.file("gridNon.grd"));
    writeTable(6, {{"3/14/2000", "9:00 AM", "Work", "Tue 3/14/2000", "Report", "Sent"}},
               data.file("gridComp.grd"));
}

TEST(CliArchive, ArchiveThenRestoreIntoAnotherFolderGivesTheSameTables) {
    TempDir data, other, archives;
    fillDataFolder(data);
    const Result archived = runCli(data, {"archive", archives.file("nightly")});
    ASSERT_EQ(archived.status, 0) << archived.err;
    EXPECT_EQ(archived.out, archives.file("nightly.arb") + "\n" + archives.file("nightly.AR2") +
                                "\n" + archives.file("nightly.AR3") + "\n");

    writeTable(3, {{"", "Lost on restore", "No"}}, other.file("gridNon.grd"));
    const Result restored = runCli(other, {"restore", archives.file("nightly.arb")});
    ASSERT_EQ(restored.status, 0) << restored.err;
    for (const char* name : {"grid.grd", "gridNon.grd"})
        EXPECT_EQ(fileRows(other.file(name)), fileRows(data.file(name))) << name;
    EXPECT_EQ(fileRows(other.file("gridComp.grd")), fileRows(data.file("gridComp.grd")));
}

TEST(CliArchive, ADataFileThatCannotBeReadStopsTheArchive) {
    TempDir data, archives;
    fillDataFolder(data);
    data.write("gridNon.grd", "damaged\r\n");
    const Result r = runCli(data, {"archive", archives.file("set.arb")});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("gridNon.grd"), std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(archives.file("set.arb")));
}

TEST(CliArchive, RestoreIsAllOrNothingAndNamesTheFailingFile) {
    TempDir data, other, archives;
    fillDataFolder(data);
    ASSERT_EQ(runCli(data, {"archive", archives.file("set.arb")}).status, 0);
    fillDataFolder(other);
    writeTable(3, {{"", "Kept", "No"}}, other.file("gridNon.grd"));
    const std::string before = other.read("grid.grd") + other.read("gridNon.grd");

    archives.write("set.AR2", "6,2\r\n1,1,a dated store is no to-do table\r\n");
    Result r = runCli(other, {"restore", archives.file("set.arb")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "dayweaver-cli: Could not load up the archive ... must be corrupt: " +
                         archives.file("set.AR2") + "\n");

    std::filesystem::remove(archives.file("set.AR2"));
    r = runCli(other, {"restore", archives.file("set.arb")});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("there seems to be a missing file"), std::string::npos) << r.err;
    EXPECT_EQ(other.read("grid.grd") + other.read("gridNon.grd"), before);

    // A companion's name as the main file is a usage error.
    EXPECT_EQ(runCli(other, {"restore", archives.file("set.AR3")}).status, 2);
}

TEST(CliArchive, AnEmptyOrCutShortPartStopsTheRestoreAndIsNamed) {
    TempDir data, other, archives;
    fillDataFolder(data);
    ASSERT_EQ(runCli(data, {"archive", archives.file("set.arb")}).status, 0);
    fillDataFolder(other);
    const auto filesOf = [&other] {
        return other.read("grid.grd") + other.read("gridNon.grd") + other.read("gridComp.grd");
    };
    const std::string before = filesOf();
    for (const char* part : {"set.arb", "set.AR2", "set.AR3"}) {
        const std::string whole = archives.read(part);
        const struct {
            const char* what;
            std::string bytes;
        } cases[] = {
            {"0-byte", ""},
            {"cut in a row", whole.substr(0, whole.size() - 3)},
            // As a part cut at a line end: it promises rows it does not hold.
            {"a dimension larger than the rows",
             whole.substr(0, whole.find(',')) + ",9" + whole.substr(whole.find("\r\n"))},
        };
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(part) + ", " + c.what);
            archives.write(part, c.bytes);
            const Result r = runCli(other, {"restore", archives.file("set.arb")});
            EXPECT_EQ(r.status, 1);
            EXPECT_EQ(r.err, "dayweaver-cli: Could not load up the archive ... must be corrupt: " +
                                 archives.file(part) + "\n");
            EXPECT_EQ(filesOf(), before);
        }
        archives.write(part, whole);
    }
    ASSERT_EQ(runCli(other, {"restore", archives.file("set.arb")}).status, 0);
}

TEST(CliArchive, RestoreIsRefusedWhileTheProgramHoldsTheFolder) {
    TempDir data, archives;
    fillDataFolder(data);
    ASSERT_EQ(runCli(data, {"archive", archives.file("set.arb")}).status, 0);
    ASSERT_TRUE(dw::test::startLockHolder(DAYWEAVER_LOCK_HOLDER, data));
    const Result r = runProgram(data, {"restore", archives.file("set.arb")});
    std::system(("kill " + data.read("holder.pid")).c_str());
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("Dayweaver is running"), std::string::npos) << r.err;
}

} // namespace
