#pragma once
// A ByteSource over a file opened read-only. Not shared between threads.

#include <cstdio>
#include <filesystem>
#include <memory>

#include "skin/ByteSource.h"

namespace dz {

class FileByteSource : public ByteSource {
public:
    // is_open() tells whether the file could be opened.
    explicit FileByteSource(const std::filesystem::path& path);

    bool is_open() const { return file_ != nullptr; }
    std::uint64_t size() const override { return size_; }
    bool read(std::uint64_t offset, std::span<std::uint8_t> out) const override;

private:
    struct Closer {
        void operator()(std::FILE* f) const { std::fclose(f); }
    };
    std::unique_ptr<std::FILE, Closer> file_;
    std::uint64_t size_ = 0;
};

}  // namespace dz
