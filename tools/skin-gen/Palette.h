#pragma once
// The palette of the default skin "pxtone" (its art direction). Every colour
// of the bitmaps is one of these or one of the derived tones below. Pure black is never
// a visible colour: it is the window's transparent key.

#include <cstdint>

namespace skingen {

using Rgb = std::uint32_t;  // 0xRRGGBB

namespace pal {
inline constexpr Rgb kKey = 0x000000;  // cut-out pixels only
inline constexpr Rgb kOutline = 0x1A1726;
inline constexpr Rgb kBevelDk = 0x2F2A45;
inline constexpr Rgb kPanelDk = 0x453F62;
inline constexpr Rgb kPanel = 0x5A5380;
inline constexpr Rgb kPanelLo = 0x524B75;
inline constexpr Rgb kFace = 0x6A6391;
inline constexpr Rgb kBevelLt = 0x8E86B8;
inline constexpr Rgb kShine = 0xBDB5E0;
inline constexpr Rgb kLabel = 0xECE8F8;
inline constexpr Rgb kLabelOff = 0xC6C0E6;
inline constexpr Rgb kLabelDim = 0xA39CC6;
inline constexpr Rgb kTitleHi = 0x4B4470;
inline constexpr Rgb kTitleLo = 0x312B4C;
inline constexpr Rgb kTitleDot = 0x48416B;
inline constexpr Rgb kTitleHiIn = 0x524C78;
inline constexpr Rgb kTitleLoIn = 0x3B3557;
inline constexpr Rgb kMarkIn = 0x7E78A0;
inline constexpr Rgb kLcdInk = 0x0D111D;
inline constexpr Rgb kLcdBg = 0x141B2D;
inline constexpr Rgb kLcdGrid = 0x1F293F;
inline constexpr Rgb kLcdGhost = 0x2F3B5A;
inline constexpr Rgb kLcdText = 0x8CF2C8;
inline constexpr Rgb kLcdHi = 0xD2FFEC;
inline constexpr Rgb kAccent = 0xFF8A6A;
inline constexpr Rgb kAccentLt = 0xFFC7A8;
inline constexpr Rgb kAccentDk = 0xA8504A;
inline constexpr Rgb kSelBg = 0x3A4A82;
// The five visualisation bands, mint to pink, and their volume caps (35 % toward white).
inline constexpr Rgb kVis[5] = {0x8CF2C8, 0x6DD5DF, 0x84A7F5, 0xB493F0, 0xF28DB2};
inline constexpr Rgb kVisCap[5] = {0xB4F7DB, 0xA0E4EA, 0xAFC6F8, 0xCEB9F5, 0xF7B5CD};
}  // namespace pal

// a·(1−t) + b·t per channel, rounded half to even.
Rgb blend(Rgb a, Rgb b, double t);

// Main window body, rows 14..115: panel → panel_lo.
Rgb main_body_row(int row);
// Playlist body of height h, rows 0..h−1: panel → panel_lo.
Rgb playlist_body_row(int row, int height);
// Title bar rows 2..2+span: title_hi → title_lo (inactive: the _in pair). span is 10 for
// the 14-row bars, 16 for the playlist's 20-row bar.
Rgb title_row(int row, int span, bool active);

}  // namespace skingen
