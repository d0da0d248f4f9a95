#pragma once
// Pitch table: 3072 f32 ratios over 16 octaves in 1/16-semitone steps,
// T[j] = f32(2^((j - 1536) / 192)).

#include <cstdint>

namespace pxtone {

class FreqTable {
public:
    static constexpr int kSize = 3072;
    static const float* table();

    // Pitch offsets (keys are 256 per semitone; F1(0) = 1): index (k + 0x6000) * 16 / 256,
    // truncating, clamped to the table.
    static float f1(int32_t key_offset) {
        int64_t i = (static_cast<int64_t>(key_offset) + 0x6000) * 16 / 256;
        return table()[clamp(i)];
    }
    // Playing key (F2(0x6000) = 1): index key >> 4, clamped.
    static float f2(int32_t key) { return table()[clamp(key >> 4)]; }

private:
    static int clamp(int64_t i) { return i < 0 ? 0 : i >= kSize ? kSize - 1 : static_cast<int>(i); }
};

}  // namespace pxtone
