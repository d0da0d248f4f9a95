#include "io/AtomicFile.h"

#include "base/RegularFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <random>
#include <system_error>

namespace dz {

namespace {

bool write_all(int fd, std::string_view data) {
    while (!data.empty()) {
        ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

// Creates "<dir>/.<name>.<random>.tmp" exclusively; -1 on failure.
int create_sibling(const std::filesystem::path& target, std::string& temp_name) {
    static std::atomic<unsigned> counter{0};
    std::random_device device;
    std::mt19937_64 random(device() ^ (static_cast<uint64_t>(::getpid()) << 32) ^
                           counter.fetch_add(1));
    for (int attempt = 0; attempt < 16; ++attempt) {
        char suffix[24];
        std::snprintf(suffix, sizeof suffix, ".%012llx.tmp",
                      static_cast<unsigned long long>(random() & 0xffffffffffffULL));
        std::filesystem::path temp =
            target.parent_path() / ("." + target.filename().string() + suffix);
        int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            temp_name = temp.string();
            return fd;
        }
        if (errno != EEXIST) return -1;
    }
    return -1;
}

}  // namespace

bool file_is_read_only(const std::filesystem::path& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    return (st.st_mode & 0222) == 0 || ::access(path.c_str(), W_OK) != 0;
}

bool write_file_atomically(const std::filesystem::path& path, std::string_view data) {
    if (file_is_read_only(path)) return false;
    std::error_code ec;
    std::filesystem::path target = path;
    if (std::filesystem::is_symlink(target, ec)) {
        std::filesystem::path resolved = std::filesystem::weakly_canonical(target, ec);
        if (ec) return false;
        target = resolved;
    }
    if (target.filename().empty()) return false;

    std::string temp;
    int fd = create_sibling(target, temp);
    if (fd < 0) return false;

    struct stat old_stat {};
    if (::stat(target.c_str(), &old_stat) == 0) ::fchmod(fd, old_stat.st_mode & 07777);

    bool ok = write_all(fd, data) && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (ok) ok = ::rename(temp.c_str(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(temp.c_str());
        return false;
    }
    // Make the rename itself durable.
    std::filesystem::path dir = target.parent_path();
    int dir_fd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir_fd >= 0) {
        ::fsync(dir_fd);
        ::close(dir_fd);
    }
    return true;
}

int remove_stale_temp_files(const std::filesystem::path& path, std::chrono::seconds min_age) {
    const std::string prefix = "." + path.filename().string() + ".";
    const std::filesystem::path dir = path.parent_path().empty() ? "." : path.parent_path();
    const auto now = std::filesystem::file_time_type::clock::now();
    int removed = 0;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        // prefix, 12 hex digits, ".tmp"
        if (name.size() != prefix.size() + 16 || name.compare(0, prefix.size(), prefix) != 0 ||
            name.compare(name.size() - 4, 4, ".tmp") != 0)
            continue;
        bool hex = true;
        for (size_t i = prefix.size(); i < prefix.size() + 12; ++i)
            hex = hex && std::isxdigit(static_cast<unsigned char>(name[i]));
        std::error_code file_ec;
        if (!hex || !it->is_regular_file(file_ec)) continue;
        auto changed = it->last_write_time(file_ec);
        if (file_ec || now - changed < min_age) continue;
        if (std::filesystem::remove(it->path(), file_ec)) ++removed;
    }
    return removed;
}

std::optional<std::string> read_whole_file(const std::filesystem::path& path, bool* missing) {
    if (missing) *missing = false;
    std::string data;
    ReadFileStatus status = read_regular_file(path, kMaxReadBytes, data);
    if (status == ReadFileStatus::Ok) return data;
    if (missing) *missing = status == ReadFileStatus::Missing;
    return std::nullopt;
}

}  // namespace dz
