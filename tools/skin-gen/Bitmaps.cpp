#include "Bitmaps.h"

#include "Art.h"
#include "MainWindow.h"
#include "PlaylistWindow.h"

namespace skingen {

namespace {

constexpr Rgb kUnused = pal::kPanel;

// Copies the window rectangle (wx, wy, w, h) of `scene` to (bx, by) of `bmp`.
void cut(Image& bmp, int bx, int by, const Image& scene, int wx, int wy, int w, int h) {
    bmp.copy(scene, wx, wy, w, h, bx, by);
}

Image titlebar_bmp() {
    Image bmp(344, 87, kUnused);
    const Image active = title_bar(false, true), inactive = title_bar(false, false);
    const Image shade = title_bar(true, true), shade_in = title_bar(true, false);
    // Title buttons, normal (row 0) and pressed (row 9); shade (18) and unshade (27).
    struct Button {
        int bx, by, wx;
        const Pattern& glyph;
        bool shade_bar;
    };
    const Button buttons[5] = {{0, 0, 6, icon::kBMenu, false},
                               {9, 0, 244, icon::kBMin, false},
                               {18, 0, 264, icon::kBClose, false},
                               {0, 18, 254, icon::kBShade, false},
                               {0, 27, 254, icon::kBUnshade, true}};
    for (const Button& b : buttons) {
        Image scene = b.shade_bar ? shade : active;
        cut(bmp, b.bx, b.by, scene, b.wx, 3, 9, 9);
        const Rgb c = &b.glyph == &icon::kBMenu ? pal::kAccent : pal::kLabel;
        title_button(scene, b.wx, 3, b.glyph, c, Press::Pressed);
        // Pressed images lie below the normal ones, except those of the shade and unshade
        // buttons (rows 18 and 27), which lie beside them.
        const bool beside = b.by >= 18;
        cut(bmp, beside ? b.bx + 9 : b.bx, beside ? b.by : b.by + 9, scene, b.wx, 3, 9, 9);
    }
    // The shade bar's mini seek groove and its three (identical) 3×7 thumbs.
    cut(bmp, 0, 36, shade, 226, 4, 17, 7);
    for (int k = 0; k < 3; ++k) {
        Image scene = shade;
        paint_mini_thumb(scene, 226, 4);
        cut(bmp, 17 + 3 * k, 36, scene, 226, 4, 3, 7);
    }
    // Bars. The active shade bar's last row (42) is the inactive one's first: both are
    // outline there; the inactive bar's top corners are cut by REGION.TXT anyway.
    cut(bmp, 27, 0, active, 0, 0, 275, 14);
    cut(bmp, 27, 15, inactive, 0, 0, 275, 14);
    cut(bmp, 27, 42, shade_in, 0, 0, 275, 14);
    cut(bmp, 27, 29, shade, 0, 0, 275, 14);
    cut(bmp, 27, 57, active, 0, 0, 275, 14);
    cut(bmp, 27, 72, inactive, 0, 0, 275, 14);
    // Clutter bar: normal, dimmed, and one column per held key (the player draws the 8×8
    // key images at (304 + 8k, 46 + 8k) from these columns).
    const Image body = main_body();
    {
        Image scene = body;
        paint_clutter(scene, 10, 22, -1, false);
        cut(bmp, 304, 0, scene, 10, 22, 8, 43);
        paint_clutter(scene, 10, 22, -1, true);
        cut(bmp, 312, 0, scene, 10, 22, 8, 43);
    }
    for (int k = 0; k < 5; ++k) {
        Image scene = body;
        paint_clutter(scene, 10, 22, k, false);
        cut(bmp, 304 + 8 * k, 44, scene, 10, 22, 8, 43);
    }
    return bmp;
}

Image cbuttons_bmp() {
    Image bmp(136, 36, kUnused);
    const Image body = main_body();
    for (int i = 0; i < 5; ++i) {
        const int w = i == 4 ? 22 : 23;
        for (Press p : {Press::Normal, Press::Pressed}) {
            Image scene = body;
            paint_transport(scene, i, p);
            cut(bmp, 23 * i, p == Press::Pressed ? 18 : 0, scene, 16 + 23 * i, 88, w, 18);
        }
    }
    for (Press p : {Press::Normal, Press::Pressed}) {
        Image scene = body;
        paint_eject(scene, p);
        cut(bmp, 114, p == Press::Pressed ? 16 : 0, scene, 136, 89, 22, 16);
    }
    return bmp;
}

Image posbar_bmp() {
    Image bmp(307, 10, kUnused);
    Image scene = main_body();
    paint_seek_ruler(scene);
    cut(bmp, 0, 0, scene, 16, 72, 248, 10);
    // The thumbs over the middle of the ruler, where its top row is bevel_dk and its bottom
    // row bevel_lt: their corner pixels show exactly that wherever they stop.
    for (Press p : {Press::Normal, Press::Pressed}) {
        Image s = scene;
        paint_seek_thumb(s, 120, 72, p);
        cut(bmp, p == Press::Pressed ? 278 : 248, 0, s, 120, 72, 29, 10);
    }
    return bmp;
}

Image volume_bmp() {
    Image bmp(68, 433, kUnused);
    const Image body = main_body();
    for (int i = 0; i < 28; ++i) {
        Image scene = body;
        paint_volume(scene, i);
        cut(bmp, 0, 15 * i, scene, 107, 57, 68, 13);
    }
    for (Press p : {Press::Pressed, Press::Normal}) {
        Image scene = body;
        paint_volume_thumb(scene, 130, 58, p);
        cut(bmp, p == Press::Pressed ? 0 : 15, 422, scene, 130, 58, 14, 11);
    }
    return bmp;
}

Image shufrep_bmp() {
    Image bmp(92, 85, kUnused);
    const Image body = main_body();
    for (int s = 0; s < 4; ++s) {
        const bool on = s >= 2;
        const Press p = s % 2 ? Press::Pressed : Press::Normal;
        Image scene = body;
        paint_repeat(scene, on, p);
        cut(bmp, 0, 15 * s, scene, 210, 89, 28, 15);
        scene = body;
        paint_shuffle(scene, on, p);
        cut(bmp, 28, 15 * s, scene, 164, 89, 47, 15);
        // Playlist toggle: off (23, 61), off pressed (69, 61), on (23, 73), on pressed (69, 73).
        scene = body;
        paint_playlist_toggle(scene, on, p);
        cut(bmp, p == Press::Pressed ? 69 : 23, on ? 73 : 61, scene, 242, 58, 23, 12);
    }
    return bmp;
}

Image monoster_bmp() {
    Image bmp(56, 24, kUnused);
    Image scene = main_body();
    for (bool lit : {true, false}) {
        paint_mono(scene, lit);
        paint_stereo(scene, lit);
        cut(bmp, 0, lit ? 0 : 12, scene, 239, 41, 29, 12);
        cut(bmp, 29, lit ? 0 : 12, scene, 212, 41, 27, 12);
    }
    return bmp;
}

Image playpaus_bmp() {
    Image bmp(42, 9, pal::kLcdBg);
    bmp.draw(icon::kSPlay, 0, 0, pal::kLcdText);
    bmp.draw(icon::kSPause, 9, 0, pal::kLcdText);
    bmp.draw(icon::kSStop, 18, 0, pal::kLcdText);
    // Status lamps (36, 0) and (39, 0): two columns, top half and bottom half.
    bmp.fill(36, 1, 2, 3, pal::kLcdText);
    bmp.set(36, 1, pal::kLcdHi);
    bmp.fill(36, 5, 2, 3, pal::kLcdGhost);
    bmp.fill(39, 1, 2, 3, pal::kLcdGhost);
    bmp.fill(39, 5, 2, 3, pal::kAccent);
    return bmp;
}

// Digit cells: each lit pixel casts a lcd_ghost shadow at (+1, +1), clipped to the cell.
void digit_cell(Image& bmp, int x, const Pattern& p) {
    Image cell(9, 13, pal::kLcdBg);
    cell.draw(p, 1, 1, pal::kLcdGhost);
    cell.draw(p, 0, 0, pal::kLcdText);
    bmp.copy(cell, 0, 0, 9, 13, x, 0);
}

Image numbers_bmp(bool with_minus) {
    Image bmp(with_minus ? 108 : 99, 13, pal::kLcdBg);
    for (int d = 0; d < 10; ++d) digit_cell(bmp, 9 * d, digit(d));
    if (with_minus) digit_cell(bmp, 99, digit(10));
    return bmp;
}

Image text_bmp() {
    Image bmp(155, 18, pal::kLcdBg);
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 31; ++col)
            if (const Pattern* g = text_cell(col, row))
                bmp.draw(*g, 5 * col, 6 * row, pal::kLcdText);
    return bmp;
}

Image pledit_bmp() {
    Image bmp(280, 186, kUnused);
    constexpr int kH = 116;  // the editor with 4 rows, the smallest
    for (bool active : {true, false}) {
        const Image scene = playlist_scene(kH, active);
        const int sy = active ? 0 : 21;
        cut(bmp, 0, sy, scene, 0, 0, 25, 20);
        cut(bmp, 26, sy, scene, 87, 0, 100, 20);
        cut(bmp, 127, sy, scene, kTitleTileX, 0, 25, 20);
        cut(bmp, 153, sy, scene, 250, 0, 25, 20);
    }
    const Image scene = playlist_scene(kH, true);
    // Bottom tile and the wide "extra" piece (unused by the player): plain bottom bar.
    for (int x = 179; x < 280; ++x) cut(bmp, x, 0, scene, 126, kH - 38, 1, 38);
    // Side tiles, 25 × 29 each: left at (0, 42), right at (26, 42) (window 250..274).
    for (int row = 0; row < 29; ++row)
        for (int x = 0; x < 25; ++x) {
            bmp.set(x, 42 + row, side_tile_pixel(x, row));
            bmp.set(26 + x, 42 + row, side_tile_pixel(250 + x, row));
        }
    // Pressed title buttons: close (52, 42), shade (62, 42).
    {
        Image s = scene;
        paint_playlist_title_buttons(s, 0, true, false, Press::Pressed, Press::Pressed);
        cut(bmp, 52, 42, s, 264, 3, 9, 9);
        cut(bmp, 62, 42, s, 254, 3, 9, 9);
    }
    // Scroll thumb, normal (52, 53) and pressed (61, 53), over the groove.
    for (Press p : {Press::Normal, Press::Pressed}) {
        Image s = scene;
        paint_scroll_thumb(s, 260, 40, p);
        cut(bmp, p == Press::Pressed ? 61 : 52, 53, s, 260, 40, 8, 18);
    }
    // Shade form: left (72, 42), tile (72, 57), right active (99, 42) and inactive
    // (99, 57), from-shade pressed (150, 42).
    const Image shade = playlist_shade_form(true), shade_in = playlist_shade_form(false);
    cut(bmp, 72, 42, shade, 0, 0, 25, 14);
    cut(bmp, 72, 57, shade, 100, 0, 25, 14);
    cut(bmp, 99, 42, shade, 225, 0, 50, 14);
    cut(bmp, 99, 57, shade_in, 225, 0, 50, 14);
    {
        Image s = shade;
        paint_playlist_title_buttons(s, 0, true, true, Press::Pressed, Press::Normal);
        cut(bmp, 150, 42, s, 254, 3, 9, 9);
    }
    // Bottom bar: left corner (0, 72) 125 wide, right corner (126, 72) 150 wide.
    cut(bmp, 0, 72, scene, 0, kH - 38, 125, 38);
    cut(bmp, 126, 72, scene, 125, kH - 38, 150, 38);
    // Pop-up strips: items 22 × 18 at (x, 111 + 19·row), hovered at x + 23; side bars.
    for (int k = 0; k < 5; ++k) {
        const Strip& st = strip(k);
        const int top = kH - 12 - 18 * st.count;
        for (int i = 0; i < st.count; ++i) {
            const int by = 111 + 19 * st.items[i].bitmap_row;
            for (int hovered : {-1, i}) {
                Image s = scene;
                paint_strip(s, kH, st, hovered);
                cut(bmp, hovered == i ? st.bitmap_x + 23 : st.bitmap_x, by, s, st.button_x + 3,
                    top + 18 * i, 22, 18);
            }
        }
        Image s = scene;
        paint_strip(s, kH, st, -1);
        cut(bmp, st.bar_x, 111, s, st.button_x, top, 3, 18 * st.count);
    }
    return bmp;
}

}  // namespace

std::vector<NamedBitmap> skin_bitmaps() {
    std::vector<NamedBitmap> out;
    out.push_back({"CBUTTONS.BMP", cbuttons_bmp()});
    out.push_back({"MAIN.BMP", main_background()});
    out.push_back({"MONOSTER.BMP", monoster_bmp()});
    out.push_back({"NUMBERS.BMP", numbers_bmp(false)});
    out.push_back({"NUMS_EX.BMP", numbers_bmp(true)});
    out.push_back({"PLAYPAUS.BMP", playpaus_bmp()});
    out.push_back({"PLEDIT.BMP", pledit_bmp()});
    out.push_back({"POSBAR.BMP", posbar_bmp()});
    out.push_back({"SHUFREP.BMP", shufrep_bmp()});
    out.push_back({"TEXT.BMP", text_bmp()});
    out.push_back({"TITLEBAR.BMP", titlebar_bmp()});
    out.push_back({"VOLUME.BMP", volume_bmp()});
    return out;
}

}  // namespace skingen
