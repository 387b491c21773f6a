#include "core/store/file_io.h"

#include "core/store/save_guard.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <new>
#include <system_error>
#include <utility>

#if defined(__unix__) || defined(__APPLE__)
#include <fcntl.h>
#include <sys/mman.h>
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

void preferLargePages(void* block, std::size_t size) {
#if defined(DW_HAVE_POSIX) && defined(MADV_HUGEPAGE)
    constexpr std::uintptr_t kLarge = 2u << 20;
    if (size < 2 * kLarge)
        return;
    const auto start = reinterpret_cast<std::uintptr_t>(block);
    const std::uintptr_t first = (start + kLarge - 1) & ~(kLarge - 1);
    const std::uintptr_t last = (start + size) & ~(kLarge - 1);
    if (last > first)
        ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
#else
    (void)block, (void)size;
#endif
}

#ifdef DW_HAVE_POSIX
FileReader::~FileReader() {
    if (fd_ >= 0)
        ::close(fd_);
}

ReadResult FileReader::open(const std::string& path, std::string& error) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        error = std::strerror(errno);
        return ReadResult::Failed;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        error = S_ISDIR(st.st_mode) ? std::strerror(EISDIR) : std::strerror(errno);
        ::close(fd);
        return ReadResult::Failed;
    }
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = fd;
    sizeHint_ = st.st_size > 0 ? static_cast<std::size_t>(st.st_size) : 0;
    return ReadResult::Ok;
}

bool FileReader::read(char* into, std::size_t n, std::size_t& got, std::string& error) {
    for (;;) {
        const ssize_t r = ::read(fd_, into, n);
        if (r >= 0) {
            got = static_cast<std::size_t>(r);
            return true;
        }
        if (errno != EINTR) {
            error = std::strerror(errno);
            return false;
        }
    }
}
#else
FileReader::~FileReader() {
    if (file_)
        std::fclose(static_cast<std::FILE*>(file_));
}

ReadResult FileReader::open(const std::string& path, std::string& error) {
    std::error_code ec;
    if (fs::is_directory(path, ec)) {
        error = std::strerror(EISDIR);
        return ReadResult::Failed;
    }
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
        error = std::strerror(errno);
        return ReadResult::Failed;
    }
    if (file_)
        std::fclose(static_cast<std::FILE*>(file_));
    file_ = f;
    const auto size = fs::file_size(path, ec);
    sizeHint_ = ec ? 0 : static_cast<std::size_t>(size);
    return ReadResult::Ok;
}

bool FileReader::read(char* into, std::size_t n, std::size_t& got, std::string& error) {
    auto* f = static_cast<std::FILE*>(file_);
    got = std::fread(into, 1, n, f);
    if (got < n && std::ferror(f)) {
        error = std::strerror(errno);
        return false;
    }
    return true;
}
#endif

ReadResult readWholeFile(const std::string& path, std::size_t maxSize, FileBytes& out,
                         std::string& error) {
    FileReader file;
    if (const ReadResult opened = file.open(path, error); opened != ReadResult::Ok)
        return opened;
    // The size is a hint (a device or a file that grows): reading goes on to the end, one
    // read for a regular file, growing the buffer only when the hint was short.
    std::size_t capacity = file.sizeHint() > 0 ? file.sizeHint() + 1 : 4096;
    if (capacity > maxSize + 1)
        return ReadResult::TooLarge;
    std::unique_ptr<char[]> data(new (std::nothrow) char[capacity]);
    if (!data)
        return ReadResult::TooLarge;
    preferLargePages(data.get(), capacity);
    std::size_t size = 0;
    for (;;) {
        if (size == capacity) {
            if (capacity > maxSize)
                return ReadResult::TooLarge;
            const std::size_t bigger = std::min(capacity * 2, maxSize + 1);
            std::unique_ptr<char[]> grown(new (std::nothrow) char[bigger]);
            if (!grown)
                return ReadResult::TooLarge;
            std::memcpy(grown.get(), data.get(), size);
            data = std::move(grown);
            capacity = bigger;
        }
        std::size_t got = 0;
        if (!file.read(data.get() + size, capacity - size, got, error))
            return ReadResult::Failed;
        if (got == 0)
            break;
        size += got;
    }
    if (size > maxSize)
        return ReadResult::TooLarge;
    out.data = std::move(data);
    out.size = size;
    return ReadResult::Ok;
}

MappedFile::MappedFile(MappedFile&& other) noexcept
    : read_(std::move(other.read_)), data_(std::exchange(other.data_, nullptr)),
      size_(std::exchange(other.size_, 0)), mapped_(std::exchange(other.mapped_, 0)) {}

MappedFile& MappedFile::operator=(MappedFile&& other) noexcept {
    if (this != &other) {
        MappedFile gone(std::move(*this));
        read_ = std::move(other.read_);
        data_ = std::exchange(other.data_, nullptr);
        size_ = std::exchange(other.size_, 0);
        mapped_ = std::exchange(other.mapped_, 0);
    }
    return *this;
}

MappedFile::~MappedFile() {
#ifdef DW_HAVE_POSIX
    if (mapped_ != 0)
        ::munmap(data_, mapped_);
#endif
}

namespace {

// The whole pages inside bytes [from, to) of a mapping.
bool wholePages(char* base, std::size_t from, std::size_t to, char*& first, std::size_t& length) {
#ifdef DW_HAVE_POSIX
    const auto page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    const std::size_t start = (from + page - 1) / page * page;
    const std::size_t end = to / page * page;
    if (end <= start)
        return false;
    first = base + start;
    length = end - start;
    return true;
#else
    (void)base, (void)from, (void)to, (void)first, (void)length;
    return false;
#endif
}

} // namespace

void MappedFile::readIn(std::size_t from, std::size_t to) const {
#if defined(DW_HAVE_POSIX) && defined(MADV_POPULATE_READ)
    char* first = nullptr;
    std::size_t length = 0;
    // Widened to whole pages around the stretch: reading in more is harmless.
    const auto page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    if (mapped_ != 0 && wholePages(data_, from / page * page,
                                   std::min(mapped_, (to + page - 1) / page * page), first, length))
        ::madvise(first, length, MADV_POPULATE_READ);
#else
    (void)from, (void)to;
#endif
}

void MappedFile::dropFromMemory(std::size_t from, std::size_t to) const {
#ifdef DW_HAVE_POSIX
    char* first = nullptr;
    std::size_t length = 0;
    if (mapped_ != 0 && wholePages(data_, from, to, first, length))
        ::madvise(first, length, MADV_DONTNEED);
#else
    (void)from, (void)to;
#endif
}

ReadResult mapWholeFile(const std::string& path, std::size_t maxSize, MappedFile& out,
                        std::string& error, bool populate) {
#ifdef DW_HAVE_POSIX
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
        struct stat st {};
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0) {
            const auto size = static_cast<std::size_t>(st.st_size);
            if (size > maxSize) {
                ::close(fd);
                return ReadResult::TooLarge;
            }
            // Every page at once unless asked otherwise (the whole file is parsed at once).
            void* p = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE | (populate ? MAP_POPULATE : 0),
                             fd, 0);
            ::close(fd);
            if (p != MAP_FAILED) {
                MappedFile mapped;
                mapped.data_ = static_cast<char*>(p);
                mapped.size_ = size;
                mapped.mapped_ = size;
                out = std::move(mapped);
                return ReadResult::Ok;
            }
        } else {
            ::close(fd);
        }
    }
#endif
    return readWholeFile(path, maxSize, out, error);
}

ReadResult readWholeFile(const std::string& path, std::size_t maxSize, MappedFile& out,
                         std::string& error) {
    FileBytes bytes;
    const ReadResult result = readWholeFile(path, maxSize, bytes, error);
    if (result == ReadResult::Ok)
        out = MappedFile(std::move(bytes.data), bytes.size);
    return result;
}

bool fileStamp(const std::string& path, std::int64_t& size, std::int64_t& modified) {
#ifdef DW_HAVE_POSIX
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return false;
    size = static_cast<std::int64_t>(st.st_size);
#ifdef __APPLE__
    const struct timespec& t = st.st_mtimespec;
#else
    const struct timespec& t = st.st_mtim;
#endif
    modified = static_cast<std::int64_t>(t.tv_sec) * 1000000000 + t.tv_nsec;
    return true;
#else
    std::error_code ec;
    const auto bytes = fs::file_size(path, ec);
    if (ec)
        return false;
    const auto time = fs::last_write_time(path, ec);
    if (ec)
        return false;
    size = static_cast<std::int64_t>(bytes);
    modified = static_cast<std::int64_t>(time.time_since_epoch().count());
    return true;
#endif
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
