// The private folder of the socket and the start-up lock: only a folder of our own that
// nobody else can use will do.
#include "platform/runtime_dir.h"
#include "support/temp_dir.h"

#include <QByteArray>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace dw {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

// Sets an environment variable for one scope.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value)
        : name_(name), old_(qgetenv(name)), had_(qEnvironmentVariableIsSet(name)) {
        qputenv(name, QByteArray::fromStdString(value));
    }
    ~ScopedEnv() {
        if (had_)
            qputenv(name_, old_);
        else
            qunsetenv(name_);
    }

private:
    const char* name_;
    QByteArray old_;
    bool had_;
};

TEST(RuntimeDir, OnlyAPrivateFolderOfOurOwnIsAccepted) {
    TempDir base;
    const unsigned me = ::getuid();
    const std::string good = base.file("good");
    fs::create_directory(good);
    ::chmod(good.c_str(), 0700);
    const std::string open = base.file("open");
    fs::create_directory(open);
    ::chmod(open.c_str(), 0755);
    const std::string groupOnly = base.file("group");
    fs::create_directory(groupOnly);
    ::chmod(groupOnly.c_str(), 0710);
    const std::string link = base.file("link");
    fs::create_directory_symlink(good, link);
    base.write("file", "x");

    const struct {
        std::string path;
        bool accepted;
        const char* reason;
    } cases[] = {
        {good, true, ""},
        {open, false, "can be used by other users"},
        {groupOnly, false, "can be used by other users"},
        {link, false, "symbolic link"},
        {base.file("file"), false, "not a folder"},
        {base.file("missing"), false, "No such file"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        std::string why;
        EXPECT_EQ(isPrivateDir(c.path, me, &why), c.accepted);
        EXPECT_NE(why.find(c.reason), std::string::npos) << why;
    }
    std::string why;
    EXPECT_FALSE(isPrivateDir(good, me + 1, &why)) << "another user's folder";
    EXPECT_NE(why.find("belongs to another user"), std::string::npos) << why;
}

TEST(RuntimeDir, TheSessionsRuntimeFolderWhenItIsPrivate) {
    TempDir runtime;
    ::chmod(runtime.path().c_str(), 0700);
    ScopedEnv xdg("XDG_RUNTIME_DIR", runtime.path());
    EXPECT_EQ(userRuntimeDir(), runtime.path());
}

TEST(RuntimeDir, ElseAPrivateFolderOfOurOwnInTheTemporaryFolder) {
    TempDir tmp;
    TempDir openRuntime; // left 0755: not good enough
    ::chmod(openRuntime.path().c_str(), 0755);
    ScopedEnv tmpdir("TMPDIR", tmp.path());
    ScopedEnv xdg("XDG_RUNTIME_DIR", openRuntime.path());
    const std::string own = tmp.file("dayweaver-" + std::to_string(::getuid()));

    EXPECT_EQ(userRuntimeDir(), own);
    struct stat st {};
    ASSERT_EQ(::lstat(own.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    EXPECT_EQ(userRuntimeDir(), own) << "found again";

    // Made by someone else or opened up since: not used, and not repaired behind our back.
    ::chmod(own.c_str(), 0777);
    std::string why;
    EXPECT_EQ(userRuntimeDir(&why), "");
    EXPECT_NE(why.find("other users"), std::string::npos) << why;
    fs::remove(own);
    fs::create_directory_symlink(openRuntime.path(), own);
    EXPECT_EQ(userRuntimeDir(&why), "");
    EXPECT_NE(why.find("symbolic link"), std::string::npos) << why;
    fs::remove(own);
    if (::getuid() == 0) {
        fs::create_directory(own);
        ::chmod(own.c_str(), 0700);
        ASSERT_EQ(::chown(own.c_str(), 65534, 65534), 0);
        EXPECT_EQ(userRuntimeDir(&why), "");
        EXPECT_NE(why.find("another user"), std::string::npos) << why;
    }
}

} // namespace
} // namespace dw
