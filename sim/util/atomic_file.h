// Files that appear whole or not at all. The text goes to a new file with a
// unique name beside the target, created exclusively (so no link or other
// file is ever written through), is flushed to the disk, and only then
// renamed over the target. A reader sees the old file or the new one, never
// a part; a failure leaves the old file as it was and no temporary behind.
#pragma once

#include <stdexcept>
#include <string>

namespace sim {

// A file that could not be written; what() names it and says why, on one line.
struct WriteError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Throws WriteError when `path` exists but is not a regular file (a folder,
// a link, a device), when its folder does not exist, or when its name is
// one Windows keeps for a device (NUL, CON, COM1, ... with any extension),
// on every platform.
void check_replaceable(const std::string& path);

// As check_replaceable, and also makes and removes the temporary the file
// would be written through, so that a name too long with the temporary's
// suffix, or a folder that cannot be written, is found before the work.
void check_creatable(const std::string& path);

// Removes every temporary of this process that is not yet in place, for a
// program about to end at once on a signal. Safe to call inside a signal
// handler; the AtomicFile objects are of no use afterwards.
void remove_temporaries_now() noexcept;

// One file being written. Owns its temporary file from construction until
// commit() renames it into place; destroying it before then removes the
// temporary and leaves the target untouched.
class AtomicFile {
public:
    // Checks the target (see check_replaceable) and creates the temporary;
    // throws WriteError.
    explicit AtomicFile(std::string path);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Buffered; a write error removes the temporary at once and is
    // reported by commit().
    void write(const std::string& text);
    // Flushes the temporary to the disk and renames it over the target,
    // which keeps its permission bits. Throws WriteError; the target is then
    // as it was.
    void commit();

    const std::string& path() const { return path_; }

private:
    void flush();
    void discard() noexcept;
    void forget_temp() noexcept;

    std::string path_;
    std::string temp_;
    int live_slot_ = -1;  // where remove_temporaries_now finds temp_; -1 for none
    std::string buffer_;
    int error_ = 0;  // the first errno of a failed write
#if defined(_WIN32)
    void* handle_ = nullptr;  // the temporary's HANDLE; null once closed
#else
    int fd_ = -1;  // the temporary's descriptor; -1 once closed
    unsigned mode_ = 0;  // permission bits to give the new file
#endif
};

// The whole of `text` as the new content of `path`; throws WriteError.
void write_file_atomically(const std::string& path, const std::string& text);

}  // namespace sim
