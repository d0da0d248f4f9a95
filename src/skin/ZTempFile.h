#pragma once
// One temporary file and the archive member it holds. Destroying it does not delete
// the file: its ZTemp does.

#include <string>

namespace dz {

class ZTempFile {
public:
    virtual ~ZTempFile() = default;

    std::string temp_path;    // full path of the file; empty once the file is deleted
    std::string member_name;  // the member's name as stored (raw bytes, folder part kept)
};

}  // namespace dz
