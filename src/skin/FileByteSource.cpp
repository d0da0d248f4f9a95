#include "skin/FileByteSource.h"

#include <sys/stat.h>

namespace dz {

FileByteSource::FileByteSource(const std::filesystem::path& path)
    : file_(std::fopen(path.c_str(), "rb")) {
    struct stat st {};
    if (!file_ || ::fstat(::fileno(file_.get()), &st) != 0 || !S_ISREG(st.st_mode)) {
        file_.reset();
        return;
    }
    size_ = static_cast<std::uint64_t>(st.st_size);
}

bool FileByteSource::read(std::uint64_t offset, std::span<std::uint8_t> out) const {
    if (!file_ || offset > size_ || out.size() > size_ - offset) return false;
    if (out.empty()) return true;
    if (::fseeko(file_.get(), static_cast<off_t>(offset), SEEK_SET) != 0) return false;
    return std::fread(out.data(), 1, out.size(), file_.get()) == out.size();
}

}  // namespace dz
