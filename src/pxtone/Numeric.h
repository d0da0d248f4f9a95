#pragma once
// Truncating float-to-integer conversions that saturate instead of overflowing (a C cast of
// an out-of-range value is undefined). Values in range convert exactly as a cast does.

#include <cstdint>

namespace pxtone {

inline int32_t sat_i32(double v) {
    if (!(v > -2147483648.0)) return v != v ? 0 : INT32_MIN;
    if (!(v < 2147483647.0)) return INT32_MAX;
    return static_cast<int32_t>(v);
}

inline int64_t sat_i64(double v) {
    if (!(v > -9.2e18)) return v != v ? 0 : INT64_MIN;
    if (!(v < 9.2e18)) return INT64_MAX;
    return static_cast<int64_t>(v);
}

}  // namespace pxtone
