#pragma once
// Event codes of the framework. Mouse button events use the window message
// codes 0x201-0x209 (platform/WindowEvents.h); these are the framework's own.

namespace dz {

inline constexpr int EDX_RELAYOUT = 5;
inline constexpr int EDX_CREATE = 0x403;
inline constexpr int EDX_FIRST_UPDATE = 0x404;
inline constexpr int EDX_DETACH = 0x405;
inline constexpr int EDX_UPDATE = 0x406;
inline constexpr int EDX_DRAW = 0x407;
inline constexpr int EDX_FRAME = 0x408;
inline constexpr int EDX_UPDATED = 0x409;
inline constexpr int EDX_DRAWN = 0x40A;
inline constexpr int EDX_DESTROYED = 0x40B;
inline constexpr int EDX_SET_CURSOR = 0x40C;

}  // namespace dz
