#pragma once
// Temporary files in the system's temporary folder.

#include <optional>
#include <string>
#include <string_view>

namespace dz {

struct TempFile {
    std::string path;
    int fd = -1;  // open for writing; the caller closes it
};

// Creates "<temp folder>/<prefix>XXXXXX" with mkstemp (mode 0600). Nothing
// when the folder is unusable.
std::optional<TempFile> create_temp_file(std::string_view prefix);

}  // namespace dz
