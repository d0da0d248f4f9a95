#pragma once
// The temporary files of one archive load, in archive order. Files are created with
// mkstemp as "<temporary folder>/ztmXXXXXX" (mode 0600), so no member name ever becomes
// a path. Destroying the ZTemp deletes every file it still holds. Not shared between
// threads.

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "skin/ZTempFile.h"

namespace dz {

class ZTemp {
public:
    ZTemp() = default;
    virtual ~ZTemp() { DeleteFiles(); }
    ZTemp(const ZTemp&) = delete;
    ZTemp& operator=(const ZTemp&) = delete;

    // Writes `content` to a new temporary file and appends it under `member_name`. A file
    // that cannot be created or written whole is removed again and not appended; false.
    bool AddTempFile(std::string_view member_name, std::span<const std::uint8_t> content);
    // Deletes every file; entries whose file is gone get an empty temp_path.
    void DeleteFiles();

    const std::vector<ZTempFile>& files() const { return files_; }

private:
    std::vector<ZTempFile> files_;
};

}  // namespace dz
