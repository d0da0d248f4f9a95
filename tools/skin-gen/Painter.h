#pragma once
// The building blocks of the art direction, drawn in window
// coordinates: raised and pressed controls, LCD wells, slots, LEDs, labels and icons.

#include <array>
#include <string_view>
#include <vector>

#include "Image.h"

namespace skingen {

enum class Press { Normal, Pressed };

// A raised control: an outline frame whose corner pixels are left out, a 1-px bevel
// (light top and left, dark right and bottom), a shine pixel and the face.
void raised(Image& img, int x, int y, int w, int h);
// The pressed state: the same frame, a dark top row and left column, panel_dk inside.
void pressed(Image& img, int x, int y, int w, int h);
void control(Image& img, int x, int y, int w, int h, Press p);
// A sunken LCD well: dark top and left, light bottom and right, an lcd_ink frame, lcd_bg.
void well(Image& img, int x, int y, int w, int h);
// A slot: the well's outer bevel filled with panel_dk.
void slot(Image& img, int x, int y, int w, int h);
// An LED whose 3×3 lens has its top-left pixel at (x, y), inside a 5×5 outline ring.
void led(Image& img, int x, int y, bool on);

// Bitmap text in the 5×6 font. Monospaced text (`fit` 0) advances 5 pixels a character,
// like the player's bitmap text. Otherwise the text is proportional (each glyph's ink width
// + 1) and, when wider than `fit`, pairs whose facing columns share no ink row are set
// without a gap until it fits.
struct TextLayout {
    std::vector<int> x;  // offset of each character
    int width = 0;
};
TextLayout layout_text(std::string_view s, int fit = 0);
int text_width(std::string_view s, int fit = 0);
void text(Image& img, int x, int y, std::string_view s, Rgb c, int fit = 0);
// Text or an icon on a body surface: in `c`, with a bevel_dk shadow at (+1, +1) unless
// `flat` (pressed controls lose the shadow).
void label(Image& img, int x, int y, std::string_view s, Rgb c, bool flat, int fit = 0);
void paint_icon(Image& img, const Pattern& p, int x, int y, Rgb c, bool flat);

// The six mini transport icons (previous, play, pause, stop, next, eject), each centred in
// its hit area {x, width}, on row y: play in accent, the others in label (all label_dim
// when inactive), with a shadow at (+1, +1).
void mini_transport(Image& img, const std::array<std::array<int, 2>, 6>& areas, int y, Rgb shadow,
                    bool active);

// A 9×9 title button with a 5×5 icon at (+2, +2), (+3, +3) when pressed.
void title_button(Image& img, int x, int y, const Pattern& icon, Rgb c, Press p);

}  // namespace skingen
