#include "platform/data_lock.h"
#include "platform/runtime_dir.h"
#include "platform/single_instance.h"
#include "support/temp_dir.h"

#include <QSignalSpy>
#include <QTest>
#include <csignal>
#include <filesystem>
#include <future>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

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

TEST(SingleInstance, ServerNameIsOnePerFolderInTheUsersRuntimeFolder) {
    test::TempDir a, b;
    EXPECT_EQ(SingleInstance::serverNameFor(a.path()),
              SingleInstance::serverNameFor(a.path() + "/"));
    EXPECT_EQ(SingleInstance::serverNameFor(a.path()),
              SingleInstance::serverNameFor(a.path() + "/./"));
    EXPECT_NE(SingleInstance::serverNameFor(a.path()), SingleInstance::serverNameFor(b.path()));
    EXPECT_TRUE(SingleInstance::serverNameFor(a.path()).startsWith(
        QString::fromStdString(userRuntimeDir()) + "/dayweaver-"));
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

// ---------------------------------------------------------------------------------------
// The socket is the user's own

// A private runtime folder of the test's own for the socket and the start-up lock.
class PrivateRuntime : public ::testing::Test {
protected:
    void SetUp() override {
        ::chmod(runtime_.path().c_str(), 0700);
        old_ = qgetenv("XDG_RUNTIME_DIR");
        qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(runtime_.path()));
    }
    void TearDown() override { qputenv("XDG_RUNTIME_DIR", old_); }

    test::TempDir runtime_;
    test::TempDir data_;
    QByteArray old_;
};

sockaddr_un socketAddress(const std::string& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    path.copy(address.sun_path, sizeof address.sun_path - 1);
    return address;
}

// Waits for a child process while this thread's event loop runs; its exit status.
int waitServing(pid_t child) {
    int status = -1;
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return ::waitpid(child, &status, WNOHANG) == child; }, 15000));
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A child process that runs as another user (nobody) and does `act`, which may only use
// plain system calls; its exit status is what act answers.
template <typename Act> pid_t asAnotherUser(Act act) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        // The peer may hang up before the child writes; that must not kill the child.
        ::signal(SIGPIPE, SIG_IGN);
        if (::setgid(65534) != 0 || ::setuid(65534) != 0)
            ::_exit(100);
        ::_exit(act());
    }
    return pid;
}

// Reads what arrives within a second: the byte count, at most 99.
int bytesWithinASecond(int fd) {
    int total = 0;
    char buffer[256];
    pollfd p{fd, POLLIN, 0};
    while (::poll(&p, 1, 1000) > 0) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n <= 0)
            break;
        total += static_cast<int>(n);
    }
    return total > 99 ? 99 : total;
}

TEST_F(PrivateRuntime, AServerOfAnotherUserIsSentNothingAndNotTrusted) {
    if (::getuid() != 0)
        GTEST_SKIP() << "needs root to run a process as another user";
    // Another user's server on a name in a folder that user may write: it answers a show
    // request at once, as a server that took the name first would.
    test::TempDir open;
    ::chmod(open.path().c_str(), 0777);
    const std::string path = open.file("dayweaver-taken");
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t server = asAnotherUser([&] {
        const int s = ::socket(AF_UNIX, SOCK_STREAM, 0);
        const sockaddr_un address = socketAddress(path);
        if (::bind(s, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
            ::listen(s, 4) != 0)
            return 101;
        (void)!::write(ready[1], "r", 1);
        int received = 0;
        for (int i = 0; i < 2; ++i) {
            pollfd p{s, POLLIN, 0};
            if (::poll(&p, 1, 5000) <= 0)
                return 102;
            const int c = ::accept(s, nullptr, nullptr);
            (void)!::write(c, "ok\n", 3);
            received += bytesWithinASecond(c);
            ::close(c);
        }
        return received;
    });
    char r = 0;
    ASSERT_EQ(::read(ready[0], &r, 1), 1) << "the other user's server did not start";
    ::close(ready[0]);
    ::close(ready[1]);

    const QString name = QString::fromStdString(path);
    EXPECT_FALSE(SingleInstance::requestActivation(name, 2000));
    EXPECT_FALSE(SingleInstance::sendCommand(name, {"todo", "add", "my secret"}, 2000, 2000));
    EXPECT_EQ(waitServing(server), 0) << "bytes the other user's server received";
}

TEST_F(PrivateRuntime, TheProgramDropsAConnectionFromAnotherUser) {
    if (::getuid() != 0)
        GTEST_SKIP() << "needs root to run a process as another user";
    SingleInstance first(data_.path());
    ASSERT_EQ(first.start(1000, 500, 0), Start::Proceed);
    first.finishStartup();
    ASSERT_TRUE(first.isListening());
    QSignalSpy asked(&first, &SingleInstance::activationRequested);
    // Opened up by mistake: the folder and the socket let the other user connect, so only
    // the peer check stands in the way.
    ::chmod(runtime_.path().c_str(), 0711);
    const std::string path = first.serverName().toStdString();
    ::chmod(path.c_str(), 0777);

    const pid_t client = asAnotherUser([&] {
        const int s = ::socket(AF_UNIX, SOCK_STREAM, 0);
        const sockaddr_un address = socketAddress(path);
        if (::connect(s, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
            return 101;
        (void)!::write(s, "show\n", 5);
        return bytesWithinASecond(s);
    });
    EXPECT_EQ(waitServing(client), 0) << "bytes the other user got back";
    EXPECT_EQ(asked.count(), 0);

    // This user is still answered.
    auto answered = std::async(std::launch::async, [name = first.serverName()] {
        return SingleInstance::requestActivation(name, 3000);
    });
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return answered.wait_for(std::chrono::seconds(0)) == std::future_status::ready; },
        10000));
    EXPECT_TRUE(answered.get());
}

TEST_F(PrivateRuntime, APlantedFileOrAStaleSocketDoesNotStopTheStart) {
    const std::string path = SingleInstance::serverNameFor(data_.path()).toStdString();
    // A stale socket: bound by a process that ended without removing it.
    const pid_t stale = ::fork();
    if (stale == 0) {
        const int s = ::socket(AF_UNIX, SOCK_STREAM, 0);
        const sockaddr_un address = socketAddress(path);
        ::_exit(::bind(s, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 ? 0
                                                                                            : 1);
    }
    int status = -1;
    ::waitpid(stale, &status, 0);
    ASSERT_EQ(status, 0);
    for (const bool planted : {false, true}) {
        SCOPED_TRACE(planted ? "a planted file" : "a stale socket");
        if (planted) {
            std::filesystem::remove(path);
            std::ofstream(path) << "ok\n";
        }
        SingleInstance first(data_.path());
        ASSERT_EQ(first.start(1000, 500, 0), Start::Proceed);
        EXPECT_TRUE(first.isListening());
        first.finishStartup();
        EXPECT_EQ(startElsewhere(data_.path(), 1000, 0), Start::Forwarded);
    }
}

TEST_F(PrivateRuntime, ACommandTravelsWordForWordAndItsAnswerComesBack) {
    SingleInstance first(data_.path());
    ASSERT_EQ(first.start(1000, 500, 0), Start::Proceed);
    first.finishStartup();
    std::vector<std::string> received;
    first.setCommandHandler([&](const std::vector<std::string>& words) {
        received = words;
        return CommandOutcome{3, "out\n", "dayweaver-cli: err\n"};
    });
    const std::vector<std::string> words = {"todo", "add", "", "caf\xe9 \n line", "--category"};
    auto sent = std::async(std::launch::async, [&] {
        return SingleInstance::sendCommand(first.serverName(), words, 2000, 5000);
    });
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return sent.wait_for(std::chrono::seconds(0)) == std::future_status::ready; },
        10000));
    const std::optional<CommandOutcome> answer = sent.get();
    ASSERT_TRUE(answer);
    EXPECT_EQ(received, words);
    EXPECT_EQ(answer->status, 3);
    EXPECT_EQ(answer->out, "out\n");
    EXPECT_EQ(answer->err, "dayweaver-cli: err\n");

    // Nobody on the name: no answer, and no waiting for one.
    test::TempDir other;
    EXPECT_FALSE(SingleInstance::sendCommand(SingleInstance::serverNameFor(other.path()), words,
                                             2000, 5000));
}

} // namespace
} // namespace dw
