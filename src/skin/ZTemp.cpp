#include "skin/ZTemp.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "io/TempFile.h"

namespace dz {

namespace {

bool write_all(int fd, std::span<const std::uint8_t> bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes = bytes.subspan(static_cast<std::size_t>(n));
    }
    return true;
}

}  // namespace

bool ZTemp::AddTempFile(std::string_view member_name, std::span<const std::uint8_t> content) {
    std::optional<TempFile> file = create_temp_file("ztm");
    if (!file) return false;
    const bool written = write_all(file->fd, content);
    const bool closed = ::close(file->fd) == 0;
    if (!written || !closed) {
        std::remove(file->path.c_str());
        return false;
    }
    ZTempFile& entry = files_.emplace_back();
    entry.temp_path = std::move(file->path);
    entry.member_name = member_name;
    return true;
}

void ZTemp::DeleteFiles() {
    for (ZTempFile& f : files_) {
        if (!f.temp_path.empty() && (std::remove(f.temp_path.c_str()) == 0 || errno == ENOENT)) {
            f.temp_path.clear();
        }
    }
}

}  // namespace dz
