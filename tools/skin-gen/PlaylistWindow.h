#pragma once
// The playlist editor (275 × (60 + 14·rows)), its shade form (275 × 14) and the pop-up
// button strips, drawn in window coordinates after the art direction and the editor's
// geometry.

#include <optional>
#include <string_view>

#include "Image.h"
#include "Painter.h"

namespace skingen {

inline constexpr int kPlW = 275;

// The whole editor of height h with every control at rest; `active` chooses the title bar.
Image playlist_scene(int h, bool active);
// The player stretches the title bar's 25-px tile between the pieces, so the band
// is uniform along x from here to the title piece: the tile is cut at this column.
inline constexpr int kTitleTileX = 25;

// The side borders at window column wx (left 0..24, right 250..274) and row `row` of the
// 29-row tile that the player stretches over the list's height: every column is one colour
// except for the body's gentle gradient, so the stretch cannot show.
std::optional<Rgb> side_column(int wx);  // nullopt where the body shows
Rgb side_tile_pixel(int wx, int row);

void paint_playlist_title_buttons(Image& img, int y, bool active, bool shade_form, Press shade,
                                  Press close);
void paint_scroll_thumb(Image& img, int x, int y, Press p);
// The shade form, 275 × 14.
Image playlist_shade_form(bool active);

// The pop-up strips of the ADD, REM, SEL, MISC and LIST buttons.
struct StripItem {
    std::string_view label;
    int bitmap_row;  // row in PLEDIT.BMP: y = 111 + 19 · bitmap_row
};
struct Strip {
    int button_x;        // x of the button and of the strip in the window
    int bitmap_x;        // x of the normal items in PLEDIT.BMP (hovered: + 23)
    int bar_x;           // x of the 3-px side bar in PLEDIT.BMP
    StripItem items[4];  // top to bottom in the window
    int count;
};
const Strip& strip(int index);  // 0..4: ADD, REM, SEL, MISC, LIST
// Draws the strip open over an editor of height h; `hovered` is the item drawn pressed.
void paint_strip(Image& img, int h, const Strip& s, int hovered);

}  // namespace skingen
