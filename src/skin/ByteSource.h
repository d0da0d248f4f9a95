#pragma once
// Random read access to the bytes of an archive, from memory or from a file.

#include <cstdint>
#include <cstring>
#include <span>

namespace dz {

class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual std::uint64_t size() const = 0;
    // Reads out.size() bytes at `offset`; false (contents of `out` undefined) when they do
    // not all lie inside the source or cannot be read.
    virtual bool read(std::uint64_t offset, std::span<std::uint8_t> out) const = 0;
};

// A source over bytes the caller keeps alive.
class MemoryByteSource : public ByteSource {
public:
    explicit MemoryByteSource(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    std::uint64_t size() const override { return bytes_.size(); }
    bool read(std::uint64_t offset, std::span<std::uint8_t> out) const override {
        if (offset > bytes_.size() || out.size() > bytes_.size() - offset) return false;
        if (!out.empty()) std::memcpy(out.data(), bytes_.data() + offset, out.size());
        return true;
    }

private:
    std::span<const std::uint8_t> bytes_;
};

}  // namespace dz
