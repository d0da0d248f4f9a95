#include "base/RegularFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace dz {

const char* describe(ReadFileStatus status) {
    switch (status) {
        case ReadFileStatus::Ok:
            return "ok";
        case ReadFileStatus::Missing:
            return "no such file";
        case ReadFileStatus::NotRegular:
            return "not a regular file";
        case ReadFileStatus::TooLarge:
            return "file too large";
        case ReadFileStatus::Failed:
            break;
    }
    return "cannot read file";
}

namespace {

class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

}  // namespace

ReadFileStatus read_regular_file(const std::filesystem::path& path, std::size_t max_bytes,
                                 std::string& out) {
    out.clear();
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return (errno == ENOENT || errno == ENOTDIR) ? ReadFileStatus::Missing
                                                     : ReadFileStatus::Failed;
    if (!S_ISREG(st.st_mode)) return ReadFileStatus::NotRegular;
    if (static_cast<unsigned long long>(st.st_size) > max_bytes) return ReadFileStatus::TooLarge;
    // Non-blocking: if the path was swapped for a FIFO since the stat, the open
    // returns at once and the fstat below refuses it.
    Fd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (fd.get() < 0) return ReadFileStatus::Failed;
    if (::fstat(fd.get(), &st) != 0) return ReadFileStatus::Failed;
    if (!S_ISREG(st.st_mode)) return ReadFileStatus::NotRegular;
    std::string data;
    data.reserve(static_cast<std::size_t>(st.st_size));
    char buffer[65536];
    for (;;) {
        ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            return ReadFileStatus::Failed;
        }
        if (n == 0) break;
        // A file that grows while it is read is cut off at the cap, not read on.
        if (data.size() + static_cast<std::size_t>(n) > max_bytes) return ReadFileStatus::TooLarge;
        data.append(buffer, static_cast<std::size_t>(n));
    }
    out = std::move(data);
    return ReadFileStatus::Ok;
}

}  // namespace dz
