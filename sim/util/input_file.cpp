#include "util/input_file.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

#if !defined(_WIN32)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace sim {

namespace {
[[noreturn]] void Fail(const std::string& path, const std::string& why) { throw InputError(path + ": " + why); }

std::string TooLarge(unsigned long long size, std::size_t limit)
{
    return "the file holds " + std::to_string(size) + " bytes, more than the " + std::to_string(limit >> 20) +
           " MB an input may hold";
}

#if !defined(_WIN32)
std::string KindOf(mode_t mode)
{
    if (S_ISDIR(mode)) return "a folder";
    if (S_ISFIFO(mode)) return "a FIFO";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
    if (S_ISSOCK(mode)) return "a socket";
    return "not a regular file";
}

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor()
    {
        if (fd_ >= 0) close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};
#endif
}  // namespace

std::string read_input_file(const std::string& path, std::size_t limit)
{
    if (path.empty()) throw InputError("no file name given");
#if defined(_WIN32)
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (ec) Fail(path, "cannot open: " + ec.message());
    if (status.type() == std::filesystem::file_type::directory) Fail(path, "it is a folder, not a file");
    if (status.type() != std::filesystem::file_type::regular) Fail(path, "it is not a regular file");
    const auto size = std::filesystem::file_size(path, ec);
    if (!ec && size > limit) Fail(path, TooLarge(size, limit));
    std::ifstream in(path, std::ios::binary);
    if (!in) Fail(path, std::string("cannot open: ") + std::strerror(errno));
    std::string text;
    char chunk[1 << 16];
    while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
        text.append(chunk, static_cast<size_t>(in.gcount()));
        if (text.size() > limit) Fail(path, TooLarge(text.size(), limit));
    }
    if (in.bad()) Fail(path, "cannot read");
    return text;
#else
    // Non-blocking, so that opening a FIFO does not wait for a writer.
    const Descriptor fd(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (fd.get() < 0) Fail(path, std::string("cannot open: ") + std::strerror(errno));
    struct stat st {};
    if (fstat(fd.get(), &st) != 0) Fail(path, std::string("cannot read: ") + std::strerror(errno));
    if (!S_ISREG(st.st_mode)) Fail(path, "it is " + KindOf(st.st_mode) + ", not a regular file");
    if (static_cast<unsigned long long>(st.st_size) > limit) Fail(path, TooLarge(static_cast<unsigned long long>(st.st_size), limit));
    std::string text;
    char chunk[1 << 16];
    while (true) {
        const ssize_t n = read(fd.get(), chunk, sizeof chunk);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            Fail(path, std::string("cannot read: ") + std::strerror(errno));
        }
        text.append(chunk, static_cast<size_t>(n));
        // The file may grow while it is read.
        if (text.size() > limit) Fail(path, TooLarge(text.size(), limit));
    }
    return text;
#endif
}

}  // namespace sim
