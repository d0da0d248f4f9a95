#pragma once
// A temporary working directory for a test: entered on construction, left and
// removed on destruction.

#include <filesystem>
#include <string>

#include <unistd.h>

namespace dz {

class TempWorkDir {
public:
    TempWorkDir() : old_(std::filesystem::current_path()) {
        char tmpl[] = "/tmp/dz_app_XXXXXX";
        dir_ = mkdtemp(tmpl);
        std::filesystem::current_path(dir_);
    }
    ~TempWorkDir() {
        std::filesystem::current_path(old_);
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    const std::filesystem::path& path() const { return dir_; }

private:
    std::filesystem::path old_;
    std::filesystem::path dir_;
};

}  // namespace dz
