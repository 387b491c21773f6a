#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace dw {

// A whole file in one allocation, read with as few reads as the system allows.
struct FileBytes {
    std::unique_ptr<char[]> data;
    std::size_t size = 0;
};
enum class ReadResult { Ok, Failed, TooLarge };
// Reads a whole file of at most maxSize bytes. Failed: it cannot be opened or read
// (`error` says why); TooLarge: it is longer than maxSize or there is no memory for it.
ReadResult readWholeFile(const std::string& path, std::size_t maxSize, FileBytes& out,
                         std::string& error);

// A file's size and modification time (nanoseconds), to tell whether it changed; false
// when it is not there.
bool fileStamp(const std::string& path, std::int64_t& size, std::int64_t& modified);

// Reads a whole file; false when it cannot be opened or read (`error`, when given, says
// why).
bool readFileBytes(const std::string& path, std::string& bytes, std::string* error = nullptr);

// Replaces a file without ever leaving it half written: the bytes go to a temporary file
// in the same folder, are flushed to disk, and the temporary file is renamed over the old
// one. A symbolic link stays a link: the file it names is replaced (the temporary file
// beside that one). The new file keeps the old one's permission bits, and a file without
// any write permission is not replaced ("the file is read-only"). A save refused for this
// run (save_guard.h) is not made. On failure the old file is untouched and `error` says
// why.
bool writeFileAtomic(const std::string& path, const std::string& bytes, std::string& error);

// A regular file (or a link to one) is there.
bool fileExists(const std::string& path);
// Anything is there under that name: a file, a folder, a device. A data file that is not a
// readable file must be an error, not taken for a missing one.
bool pathExists(const std::string& path);

// Copies a file that could not be read to a free name beside it ("grid.grd.damaged",
// "grid.grd.damaged-2", ...) so that the next save cannot destroy what may still be
// recovered from it. Answers the copy's path, or empty when it could not be made.
std::string keepDamagedCopy(const std::string& path);

// True when the file does not exist or is 0 bytes long.
bool fileMissingOrEmpty(const std::string& path);

} // namespace dw
