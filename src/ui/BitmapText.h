#pragma once
// Text drawn from the skin's small glyph bitmap TEXT and the time digits of
// NUMS_EX (or NUMBERS). Worker thread, during drawing.
//
// TEXT: 5 x 6 cells, the cell of column i, row j at (5i, 6j). Rows, columns 0-30:
//   0: A-Z (0-25), '"' (26), '@' (27), space (28-30)
//   1: 0-9 (0-9), space (10), . : ( ) - ' ! _ + \ / [ ] ^ & % , = $ # (11-30)
//   2: space (0-2), '?' (3), '*' (4), space (5-30)
// A character occurring twice uses its first cell; one not in the map uses the first
// space cell, (140, 0).
// Digits: 9 x 13 cells at y 0, x = 9 * digit for 0-9, 90 for space, 99 for '-'; anything
// else is the space cell. NUMBERS has no '-' cell: its minus is the 5 x 1 middle stroke
// of the 2 at (20, 6), drawn at (x + 2, y + 6).

#include <string_view>

#include "edx/EdxBody.h"

namespace dz {

class TAG_USERDATA;

// The source cell of a character in TEXT, in pixels.
Point GlyphCell(char c);
// The source x of a character in the digit bitmaps.
int DigitCell(char c);

// printf-style text (cut at 2047 bytes) drawn with the TEXT glyphs from (x, y), each
// glyph 5 + spacing pixels right of the one before.
void DrawBitmapText(EdxBody* body, TAG_USERDATA* d, int x, int y, int spacing, const char* format,
                    ...) __attribute__((format(printf, 6, 7)));
// The same with the 9 x 13 digits, each 9 + spacing pixels right of the one before.
void DrawBitmapDigits(EdxBody* body, TAG_USERDATA* d, int x, int y, int spacing, const char* format,
                      ...) __attribute__((format(printf, 6, 7)));

}  // namespace dz
