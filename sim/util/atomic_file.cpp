#include "util/atomic_file.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>

#if defined(_WIN32)
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace sim {

namespace {
constexpr size_t buffer_limit = 1 << 16;

std::string Folder(const std::string& path)
{
    const std::filesystem::path parent = std::filesystem::path(path).parent_path();
    return parent.empty() ? std::string(".") : parent.string();
}

// A name no other writer picks: the process, a counter and chance.
std::string TempName(const std::string& path)
{
    static std::atomic<unsigned> counter{0};
    static const unsigned long long seed =
        std::random_device{}() ^ static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
#if defined(_WIN32)
    const unsigned long pid = GetCurrentProcessId();
#else
    const unsigned long pid = static_cast<unsigned long>(getpid());
#endif
    std::mt19937_64 mix(seed + counter++);
    char suffix[64];
    std::snprintf(suffix, sizeof suffix, ".%lu-%016llx.tmp", pid, static_cast<unsigned long long>(mix()));
    return path + suffix;
}

#if defined(_WIN32)
std::string ErrorText(int err)
{
    char buf[256] = {};
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, static_cast<DWORD>(err), 0, buf,
                   sizeof buf, nullptr);
    std::string text = buf;
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ' || text.back() == '.'))
        text.pop_back();
    return text.empty() ? "error " + std::to_string(err) : text;
}
int LastError() { return static_cast<int>(GetLastError()); }
#else
std::string ErrorText(int err) { return std::strerror(err); }

std::string KindOf(mode_t mode)
{
    if (S_ISDIR(mode)) return "a folder";
    if (S_ISLNK(mode)) return "a symbolic link";
    if (S_ISFIFO(mode)) return "a FIFO";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
    if (S_ISSOCK(mode)) return "a socket";
    return "not a regular file";
}
#endif

[[noreturn]] void Fail(const std::string& path, const std::string& why) { throw WriteError("cannot write " + path + ": " + why); }

// Whether Windows takes a file of this name for a device: CON, PRN, AUX,
// NUL, COM0 to COM9 or LPT0 to LPT9, in any case, with any extension and
// blanks before it ("nul.scn", "Aux.tar.gz", "com1 .json").
bool DeviceName(const std::string& path)
{
    std::string stem = std::filesystem::path(path).filename().string();
    stem = stem.substr(0, stem.find('.'));
    while (!stem.empty() && stem.back() == ' ') stem.pop_back();
    for (char& c : stem) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (stem == "CON" || stem == "PRN" || stem == "AUX" || stem == "NUL") return true;
    return stem.size() == 4 && (stem.rfind("COM", 0) == 0 || stem.rfind("LPT", 0) == 0) && stem[3] >= '0' &&
           stem[3] <= '9';
}

// The temporaries that exist now, where a signal handler can read them: a
// slot is free (0), being filled (1) or names a temporary (2). A name that
// finds no slot is still removed by its AtomicFile, only not on a signal.
constexpr int live_slots = 64;
constexpr std::size_t live_name_size = 4096;
struct LiveTemporary {
    std::atomic<int> state{0};
    char name[live_name_size];
};
LiveTemporary live[live_slots];
static_assert(std::atomic<int>::is_always_lock_free, "read inside signal handlers");

int Remember(const std::string& temp)
{
    if (temp.size() >= live_name_size) return -1;
    for (int i = 0; i < live_slots; ++i) {
        int free = 0;
        if (!live[i].state.compare_exchange_strong(free, 1)) continue;
        std::memcpy(live[i].name, temp.c_str(), temp.size() + 1);
        live[i].state.store(2);
        return i;
    }
    return -1;
}
}  // namespace

void remove_temporaries_now() noexcept
{
    for (LiveTemporary& t : live) {
        if (t.state.load() != 2) continue;
#if defined(_WIN32)
        DeleteFileA(t.name);
#else
        unlink(t.name);
#endif
    }
}

void check_creatable(const std::string& path)
{
    const AtomicFile probe(path);
}

void check_replaceable(const std::string& path)
{
    // Refused everywhere, so that a timeline does what it did on any platform.
    if (DeviceName(path))
        Fail(path, std::filesystem::path(path).filename().string() +
                       " is a device's name on Windows (CON, PRN, AUX, NUL, COM0-9, LPT0-9, with any extension); "
                       "name the file otherwise");
#if defined(_WIN32)
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD folder = GetFileAttributesA(Folder(path).c_str());
        if (folder == INVALID_FILE_ATTRIBUTES || !(folder & FILE_ATTRIBUTE_DIRECTORY))
            Fail(path, "its folder " + Folder(path) + " does not exist");
        return;
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) Fail(path, "it is a folder; only a regular file is replaced");
    if (attributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE))
        Fail(path, "it is a link or a device; only a regular file is replaced");
#else
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0) {
        if (errno != ENOENT) Fail(path, ErrorText(errno));
        struct stat folder {};
        if (stat(Folder(path).c_str(), &folder) != 0 || !S_ISDIR(folder.st_mode))
            Fail(path, "its folder " + Folder(path) + " does not exist");
        return;
    }
    if (!S_ISREG(st.st_mode)) Fail(path, "it is " + KindOf(st.st_mode) + "; only a regular file is replaced");
#endif
}

AtomicFile::AtomicFile(std::string path) : path_(std::move(path))
{
    check_replaceable(path_);
#if defined(_WIN32)
    for (int attempt = 0; !handle_; ++attempt) {
        temp_ = TempName(path_);
        HANDLE h = CreateFileA(temp_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h != INVALID_HANDLE_VALUE) handle_ = h;
        else if (GetLastError() != ERROR_FILE_EXISTS || attempt > 100)
            Fail(path_, "cannot create " + temp_ + ": " + ErrorText(LastError()));
    }
    live_slot_ = Remember(temp_);
#else
    struct stat st {};
    if (lstat(path_.c_str(), &st) == 0) mode_ = st.st_mode & 07777;
    for (int attempt = 0; fd_ < 0; ++attempt) {
        temp_ = TempName(path_);
        // A new file gets the usual bits (0666 less the umask); a replaced one keeps its own.
        fd_ = open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd_ < 0 && (errno != EEXIST || attempt > 100)) Fail(path_, "cannot create " + temp_ + ": " + ErrorText(errno));
    }
    live_slot_ = Remember(temp_);
    if (mode_ && fchmod(fd_, mode_) != 0) {
        const int err = errno;
        discard();
        Fail(path_, "cannot give " + temp_ + " the file's permissions: " + ErrorText(err));
    }
#endif
}

AtomicFile::~AtomicFile() { discard(); }

void AtomicFile::write(const std::string& text)
{
    if (error_) return;
    buffer_ += text;
    if (buffer_.size() >= buffer_limit) flush();
}

void AtomicFile::flush()
{
    size_t done = 0;
    while (!error_ && done < buffer_.size()) {
#if defined(_WIN32)
        DWORD wrote = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(buffer_.size() - done, 1 << 30));
        if (!WriteFile(static_cast<HANDLE>(handle_), buffer_.data() + done, chunk, &wrote, nullptr)) error_ = LastError();
        done += wrote;
#else
        const ssize_t n = ::write(fd_, buffer_.data() + done, buffer_.size() - done);
        if (n < 0 && errno != EINTR) error_ = errno;
        if (n > 0) done += static_cast<size_t>(n);
#endif
    }
    buffer_.clear();
    // What the temporary took is given back now, not when the run ends:
    // another output may need the room.
    if (error_) discard();
}

void AtomicFile::commit()
{
    flush();
    auto fail = [&](const std::string& step, int err) {
        discard();
        Fail(path_, step + ErrorText(err));
    };
    if (error_) fail("", error_);
#if defined(_WIN32)
    HANDLE h = static_cast<HANDLE>(handle_);
    handle_ = nullptr;
    const bool flushed = FlushFileBuffers(h);
    const int flush_err = LastError();
    if (!CloseHandle(h) || !flushed) fail("cannot flush " + temp_ + ": ", flushed ? LastError() : flush_err);
    check_replaceable(path_);
    if (!MoveFileExA(temp_.c_str(), path_.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        fail("cannot replace it with " + temp_ + ": ", LastError());
    forget_temp();
#else
    const int fd = fd_;
    fd_ = -1;
    const bool synced = fsync(fd) == 0;
    const int sync_err = errno;
    if (close(fd) != 0 || !synced) fail("cannot flush " + temp_ + ": ", synced ? errno : sync_err);
    // The target may have changed since the temporary was made; the
    // destructor removes the temporary if it did.
    check_replaceable(path_);
    if (rename(temp_.c_str(), path_.c_str()) != 0) fail("cannot replace it with " + temp_ + ": ", errno);
    forget_temp();
    // Makes the rename itself last; the file is in place whatever this answers.
    const int folder = open(Folder(path_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        fsync(folder);
        close(folder);
    }
#endif
}

void AtomicFile::discard() noexcept
{
#if defined(_WIN32)
    if (handle_) CloseHandle(static_cast<HANDLE>(handle_));
    handle_ = nullptr;
    if (!temp_.empty()) DeleteFileA(temp_.c_str());
#else
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
    if (!temp_.empty()) unlink(temp_.c_str());
#endif
    forget_temp();
}

void AtomicFile::forget_temp() noexcept
{
    if (live_slot_ >= 0) live[live_slot_].state.store(0);
    live_slot_ = -1;
    temp_.clear();
}

void write_file_atomically(const std::string& path, const std::string& text)
{
    AtomicFile file(path);
    file.write(text);
    file.commit();
}

}  // namespace sim
