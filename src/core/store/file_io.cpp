#include "core/store/file_io.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#if defined(__unix__) || defined(__APPLE__)
#include <unistd.h>
#define DW_HAVE_FSYNC 1
#endif

namespace dw {

namespace fs = std::filesystem;

bool readFileBytes(const std::string& path, std::string& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return false;
    std::string out;
    char buf[1 << 16];
    bool ok = true;
    for (;;) {
        const std::size_t n = std::fread(buf, 1, sizeof buf, f);
        out.append(buf, n);
        if (n < sizeof buf) {
            ok = !std::ferror(f);
            break;
        }
    }
    std::fclose(f);
    if (ok)
        bytes = std::move(out);
    return ok;
}

bool writeFileAtomic(const std::string& path, const std::string& bytes, std::string& error) {
    static std::atomic<unsigned> counter{0};
    const std::string temp = path + ".~" + std::to_string(counter++) + ".tmp";
    std::FILE* f = std::fopen(temp.c_str(), "wb");
    if (!f) {
        error = std::strerror(errno);
        return false;
    }
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = ok && std::fflush(f) == 0;
#ifdef DW_HAVE_FSYNC
    ok = ok && ::fsync(::fileno(f)) == 0;
#endif
    if (!ok)
        error = std::strerror(errno);
    if (std::fclose(f) != 0 && ok) {
        error = std::strerror(errno);
        ok = false;
    }
    if (ok) {
        std::error_code ec;
        fs::rename(temp, path, ec);
        if (ec) {
            error = ec.message();
            ok = false;
        }
    }
    if (!ok) {
        std::error_code ignored;
        fs::remove(temp, ignored);
    }
    return ok;
}

bool fileExists(const std::string& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec);
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
