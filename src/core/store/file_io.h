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
// A whole file mapped into memory for reading, private to this process: its pages are
// the system's cache of the file, with no copy. Only for files that are
// replaced by rename, as every file we write is: one cut short in place under a mapping
// would fault on its lost pages.
class MappedFile {
public:
    MappedFile() = default;
    // Bytes already in memory, held the same way.
    MappedFile(std::unique_ptr<char[]> bytes, std::size_t size)
        : read_(std::move(bytes)), data_(read_.get()), size_(size) {}
    MappedFile(MappedFile&& other) noexcept;
    MappedFile& operator=(MappedFile&& other) noexcept;
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;
    ~MappedFile();

    // The bytes of a mapping may only be read.
    char* data() const { return data_; }
    std::size_t size() const { return size_; }
    bool isMapped() const { return mapped_ != 0; }

    // For a mapping made with populate false, read in one stretch at a time: the pages of
    // bytes [from, to) are read in now, or dropped from memory again (they come back from
    // the file when touched: only for pages never written). Nothing for read bytes.
    void readIn(std::size_t from, std::size_t to) const;
    void dropFromMemory(std::size_t from, std::size_t to) const;

private:
    friend ReadResult mapWholeFile(const std::string&, std::size_t, MappedFile&, std::string&,
                                   bool);
    std::unique_ptr<char[]> read_; // the bytes when they were read rather than mapped
    char* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t mapped_ = 0;
};

// Maps a whole regular file of at most maxSize bytes (with readWholeFile's answers), its
// pages read in at once unless `populate` is false. Where mapping is not available, or the
// file is no regular file, it is read instead.
ReadResult mapWholeFile(const std::string& path, std::size_t maxSize, MappedFile& out,
                        std::string& error, bool populate = true);

// Reads a whole file of at most maxSize bytes. Failed: it cannot be opened or read
// (`error` says why); TooLarge: it is longer than maxSize or there is no memory for it.
ReadResult readWholeFile(const std::string& path, std::size_t maxSize, FileBytes& out,
                         std::string& error);
// The same, held as a MappedFile that was read.
ReadResult readWholeFile(const std::string& path, std::size_t maxSize, MappedFile& out,
                         std::string& error);

// A file read from its start to its end a piece at a time, into memory of the caller's: for
// a large file whose bytes are wanted once, without holding them all.
class FileReader {
public:
    FileReader() = default;
    FileReader(const FileReader&) = delete;
    FileReader& operator=(const FileReader&) = delete;
    ~FileReader();

    // Failed (with `error`) when the file cannot be opened or is a folder.
    ReadResult open(const std::string& path, std::string& error);
    // The file's size when it was opened: a hint, since it may change while it is read.
    std::size_t sizeHint() const { return sizeHint_; }
    // Reads up to n bytes into `into`: answers how many, 0 at the end of the file, or
    // false with `error` when reading fails.
    bool read(char* into, std::size_t n, std::size_t& got, std::string& error);

private:
    int fd_ = -1;          // where there are file descriptors
    void* file_ = nullptr; // elsewhere, a C stream
    std::size_t sizeHint_ = 0;
};

// Asks the system to back a large block of fresh memory with large pages where it can:
// filling a block of many megabytes then costs a few page faults instead of thousands.
// Only advice; nothing changes for the block's contents.
void preferLargePages(void* block, std::size_t size);

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
