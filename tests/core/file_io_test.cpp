#include "core/store/file_io.h"
#include "support/temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace dw {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

TEST(WriteFileAtomic, FollowsLinksKeepsModesAndLeavesReadOnlyFilesAlone) {
    TempDir dir, target;
    const auto privateMode = fs::perms::owner_read | fs::perms::owner_write;
    const auto readOnly = fs::perms::owner_read | fs::perms::group_read;
    struct Case {
        const char* what;
        fs::perms mode;
        bool throughLink;
        bool saved;
    } cases[] = {
        {"a private file keeps its mode", privateMode, false, true},
        {"a link stays a link", privateMode | fs::perms::group_read, true, true},
        {"a read-only file stays", readOnly, false, false},
        {"a read-only file behind a link stays", readOnly, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string real = target.file("file.txt");
        const std::string named = c.throughLink ? dir.file("link.txt") : real;
        fs::remove(real);
        fs::remove(dir.file("link.txt"));
        target.write("file.txt", "old");
        fs::permissions(real, c.mode);
        if (c.throughLink)
            fs::create_symlink(real, named);

        std::string error;
        EXPECT_EQ(writeFileAtomic(named, "new", error), c.saved);
        EXPECT_EQ(target.read("file.txt"), c.saved ? "new" : "old");
        EXPECT_EQ(error, c.saved ? "" : "the file is read-only");
        EXPECT_EQ(fs::status(real).permissions(), c.mode);
        EXPECT_EQ(fs::is_symlink(named), c.throughLink);
        int files = 0;
        for (const auto& e : fs::directory_iterator(target.path()))
            files += e.is_regular_file() ? 1 : 0;
        EXPECT_EQ(files, 1) << "no temporary file left beside the target";
        fs::permissions(real, fs::perms::owner_write, fs::perm_options::add);
    }
}

} // namespace
} // namespace dw
