#include "support/cli_in_process.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using dw::test::TempDir;

using dw::test::Result;

// A data folder with its own settings file, as the program would have written it.
class AlarmsCli : public ::testing::Test {
protected:
    void settings(const std::string& ini) { config.write("Task.conf", ini); }
    Result run(const std::vector<std::string>& args) {
        return dw::test::InProcessCli(data.path(), config.file("Task.conf")).run(args);
    }
    void add(const std::vector<std::string>& args) {
        std::vector<std::string> all{"add"};
        all.insert(all.end(), args.begin(), args.end());
        ASSERT_EQ(run(all).status, 0);
    }
    TempDir data;
    TempDir config;
};

TEST_F(AlarmsCli, ReadsTheLeadTimeAndTheFilterAsTheProgramDoes) {
    add({"2000-01-01", "10:30", "Dentist\nbring the card", "--alarm", "--category", "Health"});
    add({"2000-01-01", "10:30", "Call the office", "--alarm", "--category", "Work"});
    add({"2000-01-02", "00:05", "Night train", "--alarm"});
    data.write("category.xxx", "Health\r\nWork\r\n");
    data.write("category.yyy", "Health\r\n");
    settings("[Options]\nAlarmMin=10\n");

    Result r = run({"alarms", "--from", "2000-01-01 10:00", "--to", "2000-01-02 00:00"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "2000-01-01 10:20:00\t2000-01-01\t10:30 AM\tDentist\n"
                     "2000-01-01 23:55:00\t2000-01-02\t12:05 AM\tNight train\n");

    // --lead replaces the saved lead time; a stall over the due minute makes it late.
    r = run({"alarms", "--from", "2000-01-01 10:00", "--to", "2000-01-01 11:00", "--lead", "0",
             "--stall", "2000-01-01 10:29,2000-01-01 10:31:30"});
    EXPECT_EQ(r.status, 2) << "seconds are not part of the format";
    r = run({"alarms", "--from", "2000-01-01 10:00", "--to", "2000-01-01 11:00", "--lead", "0",
             "--stall", "2000-01-01 10:29,2000-01-01 10:31"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "2000-01-01 10:31:00\t2000-01-01\t10:30 AM\tDentist\tmissed\n");

    // With alarms switched off nothing is announced.
    settings("[Options]\nPlayAlarm=0\n");
    r = run({"alarms", "--from", "2000-01-01 10:00", "--to", "2000-01-02 00:00"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "");
}

TEST_F(AlarmsCli, MalformedArgumentsAreUsageErrors) {
    const std::vector<std::vector<std::string>> cases = {
        {"alarms", "--from", "2000-01-01 10:00"},
        {"alarms", "--from", "2000-01-01", "--to", "2000-01-01 11:00"},
        {"alarms", "--from", "2000-01-01 10:00", "--to", "2000-01-01 09:00"},
        {"alarms", "--from", "2000-01-01 10:00", "--to", "2000-01-01 11:00", "--lead", "121"},
        {"alarms", "--from", "2000-01-01 10:00", "--to", "2000-01-01 11:00", "--stall", "x"},
        {"alarms", "--from", "2000-01-01 10:00", "--to", "2000-01-01 11:00", "--checks-every", "0"},
    };
    for (const auto& args : cases) {
        const Result r = run(args);
        EXPECT_EQ(r.status, 2) << args.back();
        EXPECT_EQ(r.out, "");
    }
}

TEST_F(AlarmsCli, AgendaWithTheSavedFilterSaysHowManyItHid) {
    add({"2000-03-20", "13:00", "Report", "--category", "work"});
    add({"2000-03-20", "14:00", "Plumber", "--category", "Home", "--done"});
    add({"2000-03-20", "15:00", "Garden", "--category", "Garden"});
    data.write("category.xxx", "Work\r\nHome\r\n");
    data.write("category.yyy", "Work\r\nHome\r\n");
    settings("[Filter]\nDone=0\n");
    Result r = run({"agenda", "2000-03-20", "--filter"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("1\t1:00 PM\twork\tNo\tNo\tReport\n3\t3:00 PM\tGarden\tNo\tNo\tGarden\n"
                         "1 task hidden by the filter\n"),
              std::string::npos)
        << r.out;
    // Without --filter every task is listed and no count follows.
    r = run({"agenda", "2000-03-20"});
    EXPECT_NE(r.out.find("Plumber"), std::string::npos);
    EXPECT_EQ(r.out.find("hidden"), std::string::npos);
}

} // namespace
