#pragma once
// Bounds-checked little-endian reader over a byte span. Every read either succeeds inside
// the span or fails and leaves the reader failed; nothing is ever read past the end.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

namespace pxtone {

class ByteReader {
public:
    explicit ByteReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

    size_t pos() const { return pos_; }
    size_t size() const { return bytes_.size(); }
    size_t remaining() const { return bytes_.size() - pos_; }
    bool at_end() const { return pos_ >= bytes_.size(); }

    bool read(void* out, size_t n) {
        if (n > remaining()) return false;
        if (n) std::memcpy(out, bytes_.data() + pos_, n);
        pos_ += n;
        return true;
    }
    bool skip(size_t n) {
        if (n > remaining()) return false;
        pos_ += n;
        return true;
    }
    bool u8(uint8_t& v) { return read(&v, 1); }
    bool i8(int8_t& v) { return read(&v, 1); }
    bool u16(uint16_t& v) {
        uint8_t b[2];
        if (!read(b, 2)) return false;
        v = static_cast<uint16_t>(b[0] | (b[1] << 8));
        return true;
    }
    bool i16(int16_t& v) {
        uint16_t u;
        if (!u16(u)) return false;
        v = static_cast<int16_t>(u);
        return true;
    }
    bool u32(uint32_t& v) {
        uint8_t b[4];
        if (!read(b, 4)) return false;
        v = static_cast<uint32_t>(b[0]) | (static_cast<uint32_t>(b[1]) << 8) |
            (static_cast<uint32_t>(b[2]) << 16) | (static_cast<uint32_t>(b[3]) << 24);
        return true;
    }
    bool i32(int32_t& v) {
        uint32_t u;
        if (!u32(u)) return false;
        v = static_cast<int32_t>(u);
        return true;
    }
    bool f32(float& v) {
        uint32_t u;
        if (!u32(u)) return false;
        std::memcpy(&v, &u, 4);
        return true;
    }

    enum class VarResult { Ok, Truncated, Invalid };
    // pxtone varint: base-128 little-endian, at most 5 bytes; the 5th byte gives bits
    // 28-31 from its low nibble and must not have bit 7 set.
    VarResult varint(uint32_t& v) {
        v = 0;
        for (int k = 0; k < 5; ++k) {
            uint8_t b;
            if (!u8(b)) return VarResult::Truncated;
            if (k == 4) {
                if (b & 0x80) return VarResult::Invalid;
                v |= static_cast<uint32_t>(b & 0x0F) << 28;
                return VarResult::Ok;
            }
            v |= static_cast<uint32_t>(b & 0x7F) << (7 * k);
            if (!(b & 0x80)) return VarResult::Ok;
        }
        return VarResult::Ok;
    }

    std::span<const uint8_t> bytes() const { return bytes_; }

private:
    std::span<const uint8_t> bytes_;
    size_t pos_ = 0;
};

// Appends a varint in its minimal length.
template <typename Out>
void put_varint(Out& out, uint32_t v) {
    int n = v < 0x80u ? 1 : v < 0x4000u ? 2 : v < 0x200000u ? 3 : v < 0x10000000u ? 4 : 5;
    for (int k = 0; k < n; ++k) {
        uint8_t b = static_cast<uint8_t>((v >> (7 * k)) & 0x7F);
        if (k + 1 < n) b |= 0x80;
        out.push_back(b);
    }
}

inline float bits_to_float(int32_t v) {
    float f;
    std::memcpy(&f, &v, 4);
    return f;
}
inline int32_t float_to_bits(float f) {
    int32_t v;
    std::memcpy(&v, &f, 4);
    return v;
}

}  // namespace pxtone
