#include "platform/data_lock.h"
#include "platform/single_instance.h"
#include "support/temp_dir.h"

#include <QSignalSpy>
#include <QTest>
#include <future>
#include <gtest/gtest.h>

namespace dw {
namespace {

using Start = SingleInstance::Start;

// A second start runs on its own thread: its checks block, and the first program's server
// needs this thread's event loop to answer.
Start startElsewhere(const std::string& dir, int startupWaitMs, int dataWaitMs) {
    auto result = std::async(std::launch::async, [=] {
        SingleInstance second(dir);
        return second.start(startupWaitMs, 3000, dataWaitMs);
    });
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return result.wait_for(std::chrono::seconds(0)) == std::future_status::ready; },
        15000));
    return result.get();
}

TEST(SingleInstance, ServerNameIsOnePerFolder) {
    test::TempDir a, b;
    EXPECT_EQ(SingleInstance::serverNameFor(a.path()),
              SingleInstance::serverNameFor(a.path() + "/"));
    EXPECT_EQ(SingleInstance::serverNameFor(a.path()),
              SingleInstance::serverNameFor(a.path() + "/./"));
    EXPECT_NE(SingleInstance::serverNameFor(a.path()), SingleInstance::serverNameFor(b.path()));
    EXPECT_TRUE(SingleInstance::serverNameFor(a.path()).startsWith("dayweaver-"));
}

TEST(SingleInstance, ASecondStartBringsTheFirstForwardAndEnds) {
    test::TempDir dir;
    SingleInstance first(dir.path());
    ASSERT_EQ(first.start(1000, 500, 0), Start::Proceed);
    EXPECT_TRUE(first.isListening());
    first.finishStartup();
    QSignalSpy asked(&first, &SingleInstance::activationRequested);

    EXPECT_EQ(startElsewhere(dir.path(), 1000, 0), Start::Forwarded);
    EXPECT_EQ(asked.count(), 1);

    // The handshake itself, as a later start makes it.
    auto answered = std::async(std::launch::async, [name = first.serverName()] {
        return SingleInstance::requestActivation(name, 3000);
    });
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return answered.wait_for(std::chrono::seconds(0)) == std::future_status::ready; },
        10000));
    EXPECT_TRUE(answered.get());
    EXPECT_EQ(asked.count(), 2);
}

TEST(SingleInstance, NobodyListeningMeansNoForwarding) {
    test::TempDir dir;
    EXPECT_FALSE(SingleInstance::requestActivation(SingleInstance::serverNameFor(dir.path()), 200));
}

TEST(SingleInstance, AStartDuringAnotherStartGivesUp) {
    test::TempDir dir;
    SingleInstance first(dir.path());
    ASSERT_EQ(first.start(1000, 500, 0), Start::Proceed);
    // first has not finished starting: it still holds the start-up lock.
    EXPECT_EQ(startElsewhere(dir.path(), 100, 0), Start::StillStarting);
}

TEST(SingleInstance, AFolderHeldByAProcessThatDoesNotAnswerIsInUse) {
    test::TempDir dir;
    DataDirLock holder(dir.path());
    ASSERT_TRUE(holder.tryLock());
    EXPECT_EQ(startElsewhere(dir.path(), 1000, 200), Start::DataFolderInUse);

    // Once the folder is free the start goes ahead.
    holder.unlock();
    SingleInstance next(dir.path());
    EXPECT_EQ(next.start(1000, 500, 0), Start::Proceed);
}

TEST(SingleInstance, AFolderThatCannotBeWrittenRunsReadOnlyNotInUse) {
    // Nobody may create a file in /sys, not even root, whatever the permission bits say.
    const std::string unwritable = "/sys";
    DataDirLock probe(unwritable);
    ASSERT_EQ(probe.lock(), DataDirLock::Result::FolderNotWritable);

    SingleInstance first(unwritable);
    ASSERT_EQ(first.start(1000, 500, 0), Start::Proceed);
    EXPECT_TRUE(first.dataFolderReadOnly());
    EXPECT_TRUE(first.isListening());
    first.finishStartup();
    // A second start still finds the first instead of running a second read-only copy.
    EXPECT_EQ(startElsewhere(unwritable, 1000, 0), Start::Forwarded);

    // A lock held by a live process is something else.
    test::TempDir dir;
    DataDirLock holder(dir.path());
    ASSERT_EQ(holder.lock(), DataDirLock::Result::Locked);
    EXPECT_EQ(DataDirLock(dir.path()).lock(), DataDirLock::Result::HeldByAnother);
    SingleInstance writable(dir.path() + "/.");
    holder.unlock();
    EXPECT_EQ(writable.start(1000, 500, 0), Start::Proceed);
    EXPECT_FALSE(writable.dataFolderReadOnly());
}

} // namespace
} // namespace dw
