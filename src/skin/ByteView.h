#pragma once
// A read-only little-endian view of a byte buffer. Every read is bounds-checked: a
// field that lies (partly) outside the buffer reads as 0, so callers test has() where
// a missing field must be told apart from a zero one.

#include <cstddef>
#include <cstdint>
#include <span>

namespace dz {

class ByteView {
public:
    ByteView() = default;
    explicit ByteView(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::size_t size() const { return bytes_.size(); }
    const std::uint8_t* data() const { return bytes_.data(); }
    // [pos, pos + n) lies inside the buffer.
    bool has(std::size_t pos, std::size_t n) const {
        return pos <= bytes_.size() && n <= bytes_.size() - pos;
    }

    std::uint8_t u8(std::size_t pos) const { return has(pos, 1) ? bytes_[pos] : 0; }
    std::uint16_t u16(std::size_t pos) const {
        if (!has(pos, 2)) return 0;
        return static_cast<std::uint16_t>(bytes_[pos] | (bytes_[pos + 1] << 8));
    }
    std::uint32_t u32(std::size_t pos) const {
        if (!has(pos, 4)) return 0;
        return std::uint32_t{bytes_[pos]} | (std::uint32_t{bytes_[pos + 1]} << 8) |
               (std::uint32_t{bytes_[pos + 2]} << 16) | (std::uint32_t{bytes_[pos + 3]} << 24);
    }
    std::int32_t i32(std::size_t pos) const { return static_cast<std::int32_t>(u32(pos)); }

    // The part [pos, pos + n), cut at the end of the buffer.
    std::span<const std::uint8_t> sub(std::size_t pos, std::size_t n) const {
        if (pos >= bytes_.size()) return {};
        return bytes_.subspan(pos, n < bytes_.size() - pos ? n : bytes_.size() - pos);
    }

private:
    std::span<const std::uint8_t> bytes_;
};

}  // namespace dz
