#pragma once
// The exact pixel grids of the skin's art direction: the 5×6 glyph font,
// the 9×13 time digits, the icons, the "pxtone" wordmark, the MONO/STEREO lettering and
// the playlist resize grip.

#include <string_view>

#include "Image.h"

namespace skingen {

// TEXT.BMP: 31 columns × 3 rows of 5×6 cells. The glyph drawn in a cell, or nullptr for a
// blank cell. Row 1 column 10 holds "…" and row 2 columns 0–2 hold Å Ö Ä.
const Pattern* text_cell(int column, int row);
// The glyph of an ASCII character (lower case maps to upper case), or nullptr.
const Pattern* glyph(char c);
// Ink width of a glyph (its rightmost ink column + 1; 0 for none).
int glyph_width(const Pattern& g);

// The 9×13 digits 0–9 and the minus (index 10).
const Pattern& digit(int index);

namespace icon {
// Transport icons of the main window, of the shade bar and playlist (mini), the 5×5
// title-button icons, the loop pictogram and the 9×9 play-state sprites.
extern const Pattern kTPrev, kTPlay, kTPause, kTStop, kTNext, kTEject;
extern const Pattern kMPrev, kMPlay, kMPause, kMStop, kMNext, kMEject;
extern const Pattern kBMenu, kBMin, kBShade, kBUnshade, kBClose;
extern const Pattern kILoop;
extern const Pattern kSPlay, kSPause, kSStop;
}  // namespace icon

// The wordmark "pxtone" (35×9; its shadow is drawn at (+1, +1)).
extern const Pattern kWordmark;
// MONO and STEREO lettering, five rows, in sprite coordinates (27 and 29 wide).
extern const Pattern kMonoLetters, kStereoLetters;
// The playlist resize grip, 13×12: 'l' bevel_lt ridges, 'd' bevel_dk shadows.
extern const Pattern kGrip;

}  // namespace skingen
