#include "core/store/file_io.h"

#include "core/store/save_guard.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#if defined(__unix__) || defined(__APPLE__)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#define DW_HAVE_POSIX 1
#endif

namespace dw {

namespace fs = std::filesystem;

bool readFileBytes(const std::string& path, std::string& bytes, std::string* error) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
        if (error)
            *error = std::strerror(errno);
        return false;
    }
    std::string out;
    char buf[1 << 16];
    bool ok = true;
    for (;;) {
        const std::size_t n = std::fread(buf, 1, sizeof buf, f);
        out.append(buf, n);
        if (n < sizeof buf) {
            ok = !std::ferror(f);
            if (!ok && error)
                *error = std::strerror(errno);
            break;
        }
    }
    std::fclose(f);
    if (ok)
        bytes = std::move(out);
    return ok;
}

namespace {

// The file a path names after following its symbolic links (the file need not exist yet).
// Empty when the links go round in a circle.
fs::path followLinks(const fs::path& path) {
    fs::path p = path;
    for (int hops = 0; hops < 40; ++hops) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(p, ec)))
            return p;
        const fs::path next = fs::read_symlink(p, ec);
        if (ec)
            return p;
        p = next.is_absolute() ? next : p.parent_path() / next;
    }
    return {};
}

#ifdef DW_HAVE_POSIX
// A rename is only durable once its folder is flushed too.
void syncFolder(const fs::path& file) {
    const fs::path dir = file.has_parent_path() ? file.parent_path() : fs::path(".");
    const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}
#endif

} // namespace

bool writeFileAtomic(const std::string& path, const std::string& bytes, std::string& error) {
    error.clear();
    if (const auto refusal = saveRefusal(path)) {
        error = *refusal;
        return false;
    }
    // A link (into a synced folder, say) stays a link: the file it names is replaced, with
    // the temporary file beside that file so that the rename stays within one folder.
    const fs::path target = followLinks(path);
    if (target.empty()) {
        error = "too many levels of symbolic links";
        return false;
    }
    std::error_code ec;
    const fs::file_status old = fs::status(target, ec);
    const bool replacing = !ec && fs::exists(old);
    if (replacing && fs::is_directory(old)) {
        error = "it is a folder";
        return false;
    }
    constexpr auto anyWrite =
        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    if (replacing && (old.permissions() & anyWrite) == fs::perms::none) {
        error = "the file is read-only";
        return false;
    }

    static std::atomic<unsigned> counter{0};
    const std::string temp = target.string() + ".~" + std::to_string(counter++) + ".tmp";
    std::FILE* f = std::fopen(temp.c_str(), "wb");
    if (!f) {
        error = std::strerror(errno);
        return false;
    }
    bool ok = true;
    // The new file gets the old one's permission bits (and owner, where we may set it)
    // before any content goes in, so a private file is never readable by others.
    if (replacing) {
#ifdef DW_HAVE_POSIX
        struct stat st {};
        if (::stat(target.c_str(), &st) == 0) {
            [[maybe_unused]] const int owned = ::fchown(::fileno(f), st.st_uid, st.st_gid);
            ok = ::fchmod(::fileno(f), st.st_mode & 07777) == 0;
        }
#else
        fs::permissions(temp, old.permissions(), fs::perm_options::replace, ec);
        ok = !ec;
#endif
        if (!ok)
            error = std::strerror(errno);
    }
    ok = ok && std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = ok && std::fflush(f) == 0;
#ifdef DW_HAVE_POSIX
    ok = ok && ::fsync(::fileno(f)) == 0;
#endif
    if (!ok && error.empty())
        error = std::strerror(errno);
    if (std::fclose(f) != 0 && ok) {
        error = std::strerror(errno);
        ok = false;
    }
    if (ok) {
        fs::rename(temp, target, ec);
        if (ec) {
            error = ec.message();
            ok = false;
        }
    }
    if (!ok) {
        std::error_code ignored;
        fs::remove(temp, ignored);
        return false;
    }
#ifdef DW_HAVE_POSIX
    syncFolder(target);
#endif
    return true;
}

bool fileExists(const std::string& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

bool pathExists(const std::string& path) {
    std::error_code ec;
    return fs::exists(path, ec);
}

std::string keepDamagedCopy(const std::string& path) {
    for (int n = 1; n < 1000; ++n) {
        std::string copy = path + ".damaged" + (n == 1 ? "" : "-" + std::to_string(n));
        std::error_code ec;
        if (fs::exists(copy, ec))
            continue;
        if (fs::copy_file(path, copy, ec))
            return copy;
        return {};
    }
    return {};
}

bool fileMissingOrEmpty(const std::string& path) {
    std::error_code ec;
    const auto size = fs::file_size(path, ec);
    return ec || size == 0;
}

} // namespace dw
