#include "io/TempFile.h"

#include <fcntl.h>
#include <stdlib.h>

#include <filesystem>
#include <system_error>
#include <vector>

namespace dz {

std::optional<TempFile> create_temp_file(std::string_view prefix) {
    std::error_code ec;
    std::filesystem::path dir = std::filesystem::temp_directory_path(ec);
    if (ec) return std::nullopt;
    std::string pattern = (dir / (std::string(prefix) + "XXXXXX")).string();
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    int fd = ::mkostemp(buffer.data(), O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    return TempFile{std::string(buffer.data()), fd};
}

}  // namespace dz
